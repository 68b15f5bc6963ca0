#include "proposals/Proposals.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace proposals {

namespace {

constexpr float kMissing = -9999.0f;
// The thresholds at sensitivity 0, 50 and 100: the t value and the part of the neighbours' step a
// split needs. The middle ones were chosen on synthetic cores of known laminae 6..60 columns thick
// (see the tests): they keep nearly every boundary up to noise of a quarter of the contrast.
constexpr double kThresholdAtLeast = 8, kThresholdAtMiddle = 3, kThresholdAtMost = 1.5;
constexpr double kRelativeAtLeast = 0.7, kRelativeAtMiddle = 0.4, kRelativeAtMost = 0.15;
constexpr int kMostSensitivity = 100;
constexpr int kRounds = 2;  // of moving and merging after the first merging

bool usable(float v) {
    return v != kMissing && std::isfinite(v);
}

// Sums over the usable values of any stretch, from running sums.
class Stretches {
  public:
    explicit Stretches(std::span<const float> values)
        : sum_(values.size() + 1), squares_(sum_.size()), count_(sum_.size()) {
        // Values are taken relative to the first usable one: squares of large values lose no digits.
        const auto first = std::find_if(values.begin(), values.end(), usable);
        offset_ = first == values.end() ? 0 : *first;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const bool ok = usable(values[i]);
            const double v = ok ? values[i] - offset_ : 0;
            sum_[i + 1] = sum_[i] + v;
            squares_[i + 1] = squares_[i] + v * v;
            count_[i + 1] = count_[i] + (ok ? 1 : 0);
        }
    }
    long count(long from, long to) const { return count_[at(to)] - count_[at(from)]; }
    double mean(long from, long to) const { return (sum_[at(to)] - sum_[at(from)]) / count(from, to); }
    // The sum of squared differences from the stretch's mean.
    double spread(long from, long to) const {
        const double s = sum_[at(to)] - sum_[at(from)];
        return std::max(0.0, squares_[at(to)] - squares_[at(from)] - s * s / count(from, to));
    }
    long size() const { return static_cast<long>(sum_.size()) - 1; }

  private:
    static std::size_t at(long i) { return static_cast<std::size_t>(i); }
    std::vector<double> sum_, squares_;
    std::vector<long> count_;
    double offset_ = 0;
};

// The step filter at column i: the mean of [i, i + w) minus that of [i - w, i); 0 without values
// on either side.
double step(const Stretches& s, long i, long w) {
    const long from = std::max(0L, i - w), to = std::min(s.size(), i + w);
    if (s.count(from, i) == 0 || s.count(i, to) == 0) return 0;
    return s.mean(i, to) - s.mean(from, i);
}

// The two-sample t value of a split at b between the stretches [a, b) and [b, c); +inf for a clean
// step without noise, 0 without a difference.
double tValue(const Stretches& s, long a, long b, long c) {
    const long nl = s.count(a, b), nr = s.count(b, c);
    if (nl == 0 || nr == 0) return 0;
    const double difference = std::abs(s.mean(b, c) - s.mean(a, b));
    if (!(difference > 0)) return 0;
    const long freedom = nl + nr - 2;
    if (freedom < 1) return std::numeric_limits<double>::infinity();
    const double variance = (s.spread(a, b) + s.spread(b, c)) / static_cast<double>(freedom);
    const double error = std::sqrt(variance * (1.0 / static_cast<double>(nl) + 1.0 / static_cast<double>(nr)));
    return error > 0 ? difference / error : std::numeric_limits<double>::infinity();
}

// The steepest transitions: local maxima of the step filter's size within `reach`, strongest first,
// each at least `thinnest` columns from every stronger one.
std::vector<long> steepestTransitions(const Stretches& s, long w, long thinnest) {
    const long n = s.size();
    std::vector<double> size(static_cast<std::size_t>(n), 0.0);
    for (long i = 1; i < n; ++i) size[static_cast<std::size_t>(i)] = std::abs(step(s, i, w));
    std::vector<long> peaks;
    for (long i = 1; i < n; ++i) {
        const double here = size[static_cast<std::size_t>(i)];
        if (!(here > 0)) continue;
        bool highest = true;
        for (long j = std::max(1L, i - w); j <= std::min(n - 1, i + w) && highest; ++j) {
            const double there = size[static_cast<std::size_t>(j)];
            highest = there < here || (there == here && j >= i);
        }
        if (highest) peaks.push_back(i);
    }
    std::stable_sort(peaks.begin(), peaks.end(), [&size](long a, long b) {
        return size[static_cast<std::size_t>(a)] > size[static_cast<std::size_t>(b)];
    });
    std::vector<char> taken(static_cast<std::size_t>(n + 1), 0);
    std::vector<long> kept;
    for (long p : peaks) {
        if (taken[static_cast<std::size_t>(p)]) continue;
        kept.push_back(p);
        for (long j = std::max(0L, p - thinnest + 1); j <= std::min(n, p + thinnest - 1); ++j)
            taken[static_cast<std::size_t>(j)] = 1;
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

// Merges away the weakest split while it stands below the thresholds: its t value below
// `threshold`, or its step below `relative` times the larger step of its two neighbours (the local
// contrast: a split inside a lamina steps far less than the lamina's own edges). The splits left,
// by column.
std::vector<long> mergeWeakSplits(const Stretches& s, std::vector<long> splits, double threshold, double relative) {
    // Splits as a list with both ends: 0 and n are the curve's ends.
    std::vector<long> at{0};
    at.insert(at.end(), splits.begin(), splits.end());
    at.push_back(s.size());
    const std::size_t count = at.size(), last = count - 1;
    std::vector<std::size_t> previous(count, 0), next(count, last);
    std::vector<double> t(count, 0), jump(count, 0), score(count, 0);
    std::vector<char> gone(count, 0);
    for (std::size_t k = 1; k < last; ++k) previous[k] = k - 1, next[k] = k + 1;
    const auto judge = [&](std::size_t k) {
        const long a = at[previous[k]], b = at[k], c = at[next[k]];
        t[k] = tValue(s, a, b, c);
        jump[k] = s.count(a, b) && s.count(b, c) ? std::abs(s.mean(b, c) - s.mean(a, b)) : 0;
    };
    const auto rate = [&](std::size_t k) {
        const double contrast = std::max(previous[k] == 0 ? 0 : jump[previous[k]], next[k] == last ? 0 : jump[next[k]]);
        const double byContrast =
            contrast > 0 ? jump[k] / contrast / relative : std::numeric_limits<double>::infinity();
        score[k] = std::min(t[k] / threshold, byContrast);
    };
    using Entry = std::pair<double, std::size_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> weakest;
    for (std::size_t k = 1; k < last; ++k) judge(k);
    for (std::size_t k = 1; k < last; ++k) {
        rate(k);
        weakest.emplace(score[k], k);
    }
    while (!weakest.empty()) {
        const auto [value, k] = weakest.top();
        weakest.pop();
        if (gone[k] || value != score[k]) continue;  // merged away, or judged afresh since
        if (value >= 1) break;
        gone[k] = 1;
        const std::size_t p = previous[k], q = next[k];
        next[p] = q;
        previous[q] = p;
        for (const std::size_t j : {p, q}) {
            if (j != 0 && j != last) judge(j);
        }
        // The two judged afresh, and their outer neighbours, whose local contrast they are.
        for (const std::size_t j : {previous[p], p, q, next[q]}) {
            if (j == 0 || j == last || gone[j]) continue;
            rate(j);
            weakest.emplace(score[j], j);
        }
    }
    std::vector<long> kept;
    for (std::size_t k = 1; k < last; ++k) {
        if (!gone[k]) kept.push_back(at[k]);
    }
    return kept;
}

// Each split moved, by up to `reach` columns within its two stretches, to where the two means
// leave the least spread (the best single split of the pair), left to right.
void moveToBestDivisions(const Stretches& s, std::vector<long>& splits, long reach) {
    const long n = s.size();
    for (std::size_t k = 0; k < splits.size(); ++k) {
        const long a = k == 0 ? 0 : splits[k - 1], c = k + 1 == splits.size() ? n : splits[k + 1];
        long best = splits[k];
        double least = std::numeric_limits<double>::infinity();
        for (long b = std::max(a + 1, best - reach), last = std::min(c - 1, best + reach); b <= last; ++b) {
            if (s.count(a, b) == 0 || s.count(b, c) == 0) continue;
            const double spread = s.spread(a, b) + s.spread(b, c);
            if (spread < least) least = spread, best = b;
        }
        splits[k] = best;
    }
}

}  // namespace

namespace {
// Between the ends and the middle of the slider, straight lines.
double alongSlider(int sensitivity, double atLeast, double atMiddle, double atMost) {
    const int v = std::clamp(sensitivity, 0, kMostSensitivity), middle = kMostSensitivity / 2;
    return v <= middle ? atLeast + (atMiddle - atLeast) * v / middle
                       : atMiddle + (atMost - atMiddle) * (v - middle) / middle;
}
}  // namespace

double thresholdFor(int sensitivity) {
    return alongSlider(sensitivity, kThresholdAtLeast, kThresholdAtMiddle, kThresholdAtMost);
}

double relativeFor(int sensitivity) {
    return alongSlider(sensitivity, kRelativeAtLeast, kRelativeAtMiddle, kRelativeAtMost);
}

std::vector<Proposal> proposeBoundaries(std::span<const float> values, const ProposalSettings& settings) {
    const long n = static_cast<long>(values.size());
    const double asked = std::isfinite(settings.thinnestColumns) ? settings.thinnestColumns : 2;
    if (n < 4) return {};  // not two laminae of two columns
    const long thinnest = static_cast<long>(std::clamp(std::round(asked), 2.0, static_cast<double>(n)));
    const Stretches s(values);
    if (s.count(0, n) < 2 * thinnest) return {};
    const long w = std::max(1L, thinnest / 2);
    std::vector<long> splits = mergeWeakSplits(s, steepestTransitions(s, w, thinnest),
                                               thresholdFor(settings.sensitivity), relativeFor(settings.sensitivity));

    // Each split moved to where it best divides its two stretches, the merging and the moving done
    // once more with the stretches so found.
    for (int round = 0; round < kRounds; ++round) {
        moveToBestDivisions(s, splits, thinnest);
        splits = mergeWeakSplits(s, std::move(splits), thresholdFor(settings.sensitivity),
                                 relativeFor(settings.sensitivity));
    }
    std::vector<Proposal> proposals;
    for (std::size_t k = 0; k < splits.size(); ++k) {
        const long a = k == 0 ? 0 : splits[k - 1], b = splits[k], c = k + 1 == splits.size() ? n : splits[k + 1];
        const double rise = s.mean(b, c) - s.mean(a, b);
        const bool wanted =
            settings.transition == Transition::Either || (settings.transition == Transition::Rising) == (rise > 0);
        if (wanted) proposals.push_back({b, tValue(s, a, b, c)});
    }
    return proposals;
}

}  // namespace proposals
