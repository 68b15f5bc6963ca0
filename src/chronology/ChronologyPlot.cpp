#include "chronology/ChronologyPlot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

#include "exporting/PlotsPicture.h"

namespace chronology {

namespace {

// The layout (units of exporting::kLayoutWidth): two panels, one above the other.
constexpr double kLeftMargin = 90, kRightMargin = 24, kTitleHeight = 30;
constexpr double kPanelHeight = 240, kAxisHeight = 70;
constexpr double kTickLength = 7, kDotRadius = 4;
constexpr int kAboutTicks = 8;
constexpr double kHeadroom = 1.05;  // the thickest varve a little below the panel's top
const QColor kLineColour(20, 60, 160);
const QColor kUncertainColour(210, 30, 30);
const QColor kEnvelopeColour(160, 180, 230, 150);

struct Axis {
    double from = 0, to = 1;  // values at the panel's left (bottom) and right (top) edges
};

Axis spanOf(double lowest, double highest) {
    if (!(highest > lowest)) return {lowest - 1, highest + 1};  // one point, or none: a span around it
    return {lowest, highest};
}

double along(const Axis& a, double v, double start, double length) {
    return start + (v - a.from) / (a.to - a.from) * length;
}

QString tickText(double v) {
    return QString::number(v, 'g', 10);
}

// The panel's frame, its ticks and labels, and the names of its axes.
void drawAxes(QPainter& painter, const QRectF& panel, const Axis& x, const Axis& y, const QString& xName,
              const QString& yName, const QString& title) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setFont(exporting::layoutFont());
    painter.drawRect(panel);
    for (const double t : exporting::axisTicks(x.from, x.to, kAboutTicks)) {
        const double px = along(x, t, panel.left(), panel.width());
        painter.drawLine(QPointF(px, panel.bottom()), QPointF(px, panel.bottom() + kTickLength));
        painter.drawText(QRectF(px - 60, panel.bottom() + kTickLength, 120, 22), Qt::AlignCenter, tickText(t));
    }
    for (const double t : exporting::axisTicks(y.from, y.to, kAboutTicks / 2)) {
        const double py = along(y, t, panel.bottom(), -panel.height());
        painter.drawLine(QPointF(panel.left() - kTickLength, py), QPointF(panel.left(), py));
        painter.drawText(QRectF(0, py - 11, panel.left() - kTickLength - 4, 22), Qt::AlignRight | Qt::AlignVCenter,
                         tickText(t));
    }
    painter.drawText(QRectF(panel.left(), panel.bottom() + kTickLength + 22, panel.width(), 24), Qt::AlignCenter,
                     xName);
    painter.drawText(QRectF(panel.left(), panel.top() - kTitleHeight, panel.width(), kTitleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, title + QStringLiteral("  (") + yName + QLatin1Char(')'));
}

QString yearAxisName(bool calendar) {
    return calendar ? QStringLiteral("year CE") : QStringLiteral("varves from the top");
}

void paintThickness(QPainter& painter, const ChronologyFigure& figure, const QRectF& panel) {
    std::vector<double> xs, ys;
    double thickest = 0;
    for (const ThicknessPoint& p : figure.thickness) {
        xs.push_back(p.year);
        ys.push_back(p.thicknessMm);
        thickest = std::max(thickest, p.thicknessMm);
    }
    const Axis x = xs.empty() ? Axis{} : spanOf(*std::min_element(xs.begin(), xs.end()), *std::max_element(xs.begin(), xs.end()));
    const Axis y{0, thickest > 0 ? thickest * kHeadroom : 1};
    drawAxes(painter, panel, x, y, yearAxisName(figure.calendar), QStringLiteral("mm"),
             QStringLiteral("Varve thickness; red dots: varves with an uncertain boundary"));
    painter.save();
    painter.setClipRect(panel);
    QPainterPath line;
    for (const std::size_t i : keptForDrawing(xs, ys, x.from, x.to, static_cast<int>(panel.width()))) {
        const QPointF at(along(x, xs[i], panel.left(), panel.width()), along(y, ys[i], panel.bottom(), -panel.height()));
        line.elementCount() == 0 ? line.moveTo(at) : line.lineTo(at);
    }
    painter.setPen(QPen(kLineColour, 1.2));
    painter.drawPath(line);
    // Each uncertain varve as a dot on the line, one a layout unit at most.
    std::vector<QPointF> uncertain;
    for (const ThicknessPoint& p : figure.thickness)
        if (p.uncertain)
            uncertain.emplace_back(along(x, p.year, panel.left(), panel.width()),
                                   along(y, p.thicknessMm, panel.bottom(), -panel.height()));
    std::sort(uncertain.begin(), uncertain.end(), [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    painter.setPen(Qt::NoPen);
    painter.setBrush(kUncertainColour);
    double lastDot = -std::numeric_limits<double>::infinity();
    for (const QPointF& at : uncertain) {
        if (at.x() - lastDot < 1) continue;
        painter.drawEllipse(at, kDotRadius, kDotRadius);
        lastDot = at.x();
    }
    painter.restore();
}

void paintAgeDepth(QPainter& painter, const ChronologyFigure& figure, const QRectF& panel) {
    std::vector<double> xs, ys;
    double lowest = std::numeric_limits<double>::infinity(), highest = -lowest;
    for (const AgePoint& p : figure.ageDepth) {
        xs.push_back(p.depthMm);
        ys.push_back(p.age);
        lowest = std::min(lowest, p.age - p.error);
        highest = std::max(highest, p.age + p.error);
    }
    const Axis x = xs.empty() ? Axis{} : spanOf(xs.front(), xs.back());
    const Axis y = xs.empty() ? Axis{} : spanOf(lowest, highest);
    drawAxes(painter, panel, x, y, QStringLiteral("composite depth (mm)"), yearAxisName(figure.calendar),
             QStringLiteral("Age and depth, with the counting error"));
    painter.save();
    painter.setClipRect(panel);
    const std::vector<std::size_t> kept = keptForDrawing(xs, ys, x.from, x.to, static_cast<int>(panel.width()));
    const auto point = [&](std::size_t i, double offset) {
        return QPointF(along(x, xs[i], panel.left(), panel.width()),
                       along(y, ys[i] + offset, panel.bottom(), -panel.height()));
    };
    QPolygonF envelope;
    for (const std::size_t i : kept) envelope << point(i, figure.ageDepth[i].error);
    for (auto i = kept.rbegin(); i != kept.rend(); ++i) envelope << point(*i, -figure.ageDepth[*i].error);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kEnvelopeColour);
    painter.drawPolygon(envelope);
    QPolygonF line;
    for (const std::size_t i : kept) line << point(i, 0);
    painter.setPen(QPen(kLineColour, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
    painter.restore();
}

}  // namespace

ChronologyFigure chronologyFigure(const std::vector<files::Varve>& varves) {
    ChronologyFigure figure;
    figure.calendar = !varves.empty() && varves.front().calendarYear;
    figure.thickness.reserve(varves.size());
    figure.ageDepth.reserve(varves.size());
    for (const files::Varve& v : varves) {
        figure.thickness.push_back({static_cast<double>(v.year), v.thicknessMm(), v.uncertainBoundaries > 0});
        const double error = v.countingErrorYears();
        // A calendar year is the youngest the varve can be; a count from the top the fewest.
        figure.ageDepth.push_back({v.compositeTopMm, figure.calendar ? v.year - error : v.year + error, error});
    }
    return figure;
}

void paintChronologyFigure(QPainter& painter, const ChronologyFigure& figure) {
    const double width = exporting::kLayoutWidth - kLeftMargin - kRightMargin;
    painter.fillRect(QRectF(0, 0, exporting::kLayoutWidth, kFigureHeight), Qt::white);
    paintThickness(painter, figure, QRectF(kLeftMargin, kTitleHeight, width, kPanelHeight));
    paintAgeDepth(painter, figure,
                  QRectF(kLeftMargin, 2 * kTitleHeight + kPanelHeight + kAxisHeight, width, kPanelHeight));
}

std::vector<std::size_t> keptForDrawing(const std::vector<double>& x, const std::vector<double>& y, double xFrom,
                                        double xTo, int buckets) {
    std::vector<std::size_t> kept;
    const std::size_t n = std::min(x.size(), y.size());
    if (n <= 2 * static_cast<std::size_t>(std::max(buckets, 1)) || !(xTo != xFrom)) {
        for (std::size_t i = 0; i < n; ++i) kept.push_back(i);
        return kept;
    }
    const auto bucketOf = [&](std::size_t i) {
        return std::clamp(static_cast<long>((x[i] - xFrom) / (xTo - xFrom) * buckets), 0L, static_cast<long>(buckets));
    };
    std::size_t first = 0;
    while (first < n) {
        const long bucket = bucketOf(first);
        std::size_t last = first, low = first, high = first;
        while (last + 1 < n && bucketOf(last + 1) == bucket) {
            ++last;
            if (y[last] < y[low]) low = last;
            if (y[last] > y[high]) high = last;
        }
        std::size_t in[] = {first, low, high, last};
        std::sort(std::begin(in), std::end(in));
        for (const std::size_t i : in)
            if (kept.empty() || kept.back() != i) kept.push_back(i);
        first = last + 1;
    }
    return kept;
}

}  // namespace chronology
