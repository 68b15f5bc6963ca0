// Two countings of one core: the matcher, the tally per labelled interval, and the reference read
// from a working file.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "compare/ComparisonFile.h"
#include "compare/Matching.h"
#include "files/XrfFile.h"

using compare::Boundary;

namespace {

struct MatchCase {
    const char* name;
    std::vector<Boundary> own, reference;
    long tolerance;
    std::vector<compare::Pair> pairs;
    std::vector<std::size_t> onlyOwn, onlyReference;
};

}  // namespace

TEST(Matching, PairsTheNearestFirstEachBoundaryOnce) {
    const MatchCase cases[] = {
        {"both empty", {}, {}, 3, {}, {}, {}},
        {"no reference", {{5, 1}, {9, 2}}, {}, 3, {}, {0, 1}, {}},
        {"equal positions, tolerance 0", {{5, 1}}, {{5, 3}}, 0, {{0, 0}}, {}, {}},
        {"one apart, tolerance 0", {{5, 1}}, {{6, 1}}, 0, {}, {0}, {0}},
        {"negative tolerance as 0", {{5, 1}, {8, 1}}, {{5, 1}, {9, 1}}, -2, {{0, 0}}, {1}, {1}},
        {"just within, just beyond", {{10, 1}, {30, 1}}, {{13, 1}, {34, 1}}, 3, {{0, 0}}, {1}, {1}},
        {"equally near: the higher up", {{10, 1}}, {{7, 1}, {13, 1}}, 3, {{0, 0}}, {}, {1}},
        {"equally near: the same level first", {{10, 1}}, {{7, 3}, {13, 1}}, 3, {{0, 1}}, {}, {0}},
        {"the nearer, whatever its level", {{10, 1}}, {{11, 2}, {13, 1}}, 3, {{0, 0}}, {}, {1}},
        {"the nearer pair wins", {{5, 1}, {8, 1}}, {{7, 1}}, 3, {{1, 0}}, {0}, {}},
        {"two at one", {{10, 1}, {11, 1}}, {{10, 1}}, 3, {{0, 0}}, {1}, {}},
        {"nearest first, not most pairs", {{1, 1}, {4, 1}}, {{3, 1}, {6, 1}}, 2, {{1, 0}}, {0}, {1}},
    };
    for (const MatchCase& c : cases) {
        const compare::Matching m = compare::matchBoundaries(c.own, c.reference, c.tolerance);
        EXPECT_EQ(m.pairs, c.pairs) << c.name;
        EXPECT_EQ(m.onlyOwn, c.onlyOwn) << c.name;
        EXPECT_EQ(m.onlyReference, c.onlyReference) << c.name;
    }
    const std::vector<Boundary> unsorted{{9, 1}, {5, 1}}, twice{{5, 1}, {5, 2}};
    EXPECT_THROW(compare::matchBoundaries(unsorted, {}, 3), std::invalid_argument);
    EXPECT_THROW(compare::matchBoundaries({}, twice, 3), std::invalid_argument);
    // Random counts against every pair within the tolerance taken nearest first (as in the table).
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<Boundary> lists[2];
        for (auto& list : lists)
            for (long p = 1; p < 60; ++p)
                if (random() % 4 == 0) list.push_back({p, static_cast<int>(1 + random() % 2)});
        const long tolerance = static_cast<long>(random() % 8);
        std::vector<std::tuple<long, bool, core::Position, core::Position, std::size_t, std::size_t>> all;
        for (std::size_t i = 0; i < lists[0].size(); ++i)
            for (std::size_t k = 0; k < lists[1].size(); ++k)
                if (const long d = std::abs(lists[0][i].position - lists[1][k].position); d <= tolerance)
                    all.emplace_back(d, lists[0][i].level != lists[1][k].level, lists[0][i].position,
                                     lists[1][k].position, i, k);
        std::sort(all.begin(), all.end());
        std::vector<compare::Pair> expected;
        std::vector<bool> ownUsed(lists[0].size()), referenceUsed(lists[1].size());
        for (const auto& [d, other, p, q, i, k] : all)
            if (!ownUsed[i] && !referenceUsed[k]) ownUsed[i] = referenceUsed[k] = true, expected.push_back({i, k});
        std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) { return a.own < b.own; });
        EXPECT_EQ(compare::matchBoundaries(lists[0], lists[1], tolerance).pairs, expected) << round;
    }
}

// Core of 100 rows, labels at 30 and 70: the boundaries fall in [1, 30], [31, 70], [71, 100]; a
// pair counts where the user's boundary lies; years are the varves between level-1 boundaries (as
// the chronology has them), each in its top boundary's interval: the lowest starts none.
TEST(Matching, TalliesEachLabelledIntervalAndTheYears) {
    const std::vector<Boundary> own{{10, 1}, {30, 1}, {50, 3}, {90, 1}};
    const std::vector<Boundary> reference{{11, 1}, {50, 1}, {60, 1}, {95, 2}};
    const std::vector<std::pair<long, QString>> labels{{30, "#A"}, {70, "#B"}};
    const compare::Matching m = compare::matchBoundaries(own, reference, 2);
    const compare::Comparison c =
        compare::tallyComparison(own, reference, m, 100, labels, [](int level) { return level == 1; });
    ASSERT_EQ(c.intervals.size(), 3u);
    EXPECT_TRUE(c.intervals[1].first == 31 && c.intervals[1].last == 70 && c.intervals[1].label == "#B");
    struct Expected {
        int matched, onlyOwn, onlyReference, ownYears, referenceYears, difference;
    };
    const Expected expected[] = {{1, 1, 0, 2, 1, 1}, {1, 0, 1, 0, 1, -1}, {0, 1, 1, 0, 0, 0}};
    for (std::size_t i = 0; i < 3; ++i) {
        const compare::Tally& t = c.intervals[i].tally;
        const Expected& e = expected[i];
        EXPECT_EQ(
            std::vector<int>({t.matched, t.onlyOwn, t.onlyReference, t.ownYears, t.referenceYears, t.yearDifference()}),
            std::vector<int>({e.matched, e.onlyOwn, e.onlyReference, e.ownYears, e.referenceYears, e.difference}))
            << "interval " << i;
    }
    EXPECT_TRUE(c.whole.own[1] == 3 && c.whole.own[3] == 1 && c.whole.reference[2] == 1 && c.whole.matched == 2);
    EXPECT_TRUE(c.whole.ownYears == 2 && c.whole.yearDifference() == 0);
    const auto d = [](long p, int ownLevel, int referenceLevel) {
        return compare::Disagreement{core::Position(p), ownLevel, referenceLevel};
    };
    const std::vector<compare::Disagreement> all{d(30, 1, 0), d(50, 3, 1), d(60, 0, 1), d(90, 1, 0), d(95, 0, 2)};
    EXPECT_EQ(compare::disagreements(own, reference, m, true), all);
    EXPECT_EQ(compare::disagreements(own, reference, m, false).size(), 4u);
}

// A reference must be a working file of a core as long as this one, with its own columns intact.
TEST(Matching, AReferenceThatIsNoCountOfThisCoreIsRefusedWithTheReason) {
    const QByteArray working =
        "\"D:\\core\"\r\n\"varvecounting\"\r\n\"peakarea\"\r\n"
        "\"filename\",\"position\",\"greyscale\",\"year\",\"marker\",\"note\"\r\n"
        "\"a.spe\",0.2,100,1,\"#T1\",\"---\"\r\n\"b.spe\",0.4,90,\"---\",\"---\",\"---\"\r\n";
    const compare::ReferenceCount count = compare::readReferenceCount(working, 2);
    EXPECT_EQ(count.boundaries, std::vector<Boundary>({{1, 1}}));
    EXPECT_EQ(count.labels.size(), 1u);
    const auto reason = [](const QByteArray& bytes, int length) {
        try {
            compare::readReferenceCount(bytes, length);
        } catch (const files::XrfReadError& e) {
            return e.reason;
        }
        return QStringLiteral("accepted");
    };
    QByteArray damaged = working;
    damaged.replace("\"#T1\"", "7");
    EXPECT_TRUE(reason(working, 3).contains("has 2 positions, but this core has 3"));
    EXPECT_TRUE(reason("D:\\core\tx\r\nfilename\tposition\tFe\t\r\na.spe\t0.2\t5\t\r\n", 1).contains("XRF data table"));
    EXPECT_TRUE(reason(QByteArray("\x89PNG\r\n\x1a\n\0\0", 10), 2).contains("not a working file"));
    EXPECT_TRUE(reason(damaged, 2).contains("Row 1 of the working file holds \"7\" as its lamina label"));
}
