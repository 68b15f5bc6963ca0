#include "ui/Surface.h"
#include "ui/QtColour.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace ui {

namespace {

// Pixel coordinates far outside any picture are clamped before converting to int.
int clampToInt(double v) {
    return static_cast<int>(std::floor(std::clamp(v, -1e8, 1e8) + 0.5));
}

QImage blankImage(QSize size, core::Colour back) {
    QImage image(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    image.fill(core::toQRgb(back));
    return image;
}

bool isNativeFormat(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_Grayscale8;
}

// The picture (its top-left `kept` at most) placed at the top-left of a new canvas of the given
// size (the rest in the back colour).
QImage placedOnCanvas(const QImage& picture, QSize size, core::Colour back, QSize kept = QSize(1 << 30, 1 << 30)) {
    QImage canvas = blankImage(size, back);
    if (picture.isNull()) return canvas;
    const QImage source =
        picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const int rows = std::min({source.height(), canvas.height(), kept.height()});
    const int bytes = std::min({source.width(), canvas.width(), kept.width()}) * 4;
    for (int y = 0; y < rows; ++y) std::memcpy(canvas.scanLine(y), source.constScanLine(y), bytes);
    return canvas;
}

// Liang-Barsky: clips the segment to [xmin, xmax] x [ymin, ymax]; false when nothing is left.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin, double xmax,
                 double ymax) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - xmin, xmax - x1, y1 - ymin, ymax - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const double nx1 = x1 + t0 * dx, ny1 = y1 + t0 * dy;
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 = nx1;
    y1 = ny1;
    return true;
}

}  // namespace

Surface::Surface(QSize pixels, core::Colour backColour)
    : size_(pixels.expandedTo(QSize(0, 0))),
      background_(blankImage(size_, backColour)),
      back_(backColour),
      runs_(static_cast<std::size_t>(size_.width())),
      committed_(static_cast<std::size_t>(size_.width()), 0),
      isTouched_(static_cast<std::size_t>(size_.width()), 0) {}

void Surface::resize(QSize pixels) {
    pixels = pixels.expandedTo(QSize(0, 0));
    if (pixels == size_) return;
    kept_ = canvasPending_ ? kept_.boundedTo(pixels) : size_.boundedTo(pixels);
    canvasPending_ = true;
    size_ = pixels;
    resizeColumns();
    allChanged_ = true;
}

const QImage& Surface::canvas() const {
    if (canvasPending_) {
        background_ = placedOnCanvas(background_, size_, back_, kept_);
        canvasPending_ = false;
    }
    return background_;
}

// The per-column drawings follow the width: columns past it go.
void Surface::resizeColumns() {
    const auto width = static_cast<std::size_t>(size_.width());
    touched_.erase(std::remove_if(touched_.begin(), touched_.end(),
                                  [&](int x) { return static_cast<std::size_t>(x) >= width; }),
                   touched_.end());
    runs_.resize(width);
    committed_.resize(width, 0);
    isTouched_.resize(width, 0);
}

void Surface::setPicture(const QImage& picture) {
    canvasPending_ = false;
    if (picture.size() == size_ && isNativeFormat(picture)) {
        background_ = picture;  // shared with the caller, not copied
    } else if (picture.size() == size_) {
        background_ = picture.convertToFormat(QImage::Format_RGB32);
    } else {
        background_ = placedOnCanvas(picture, size_, back_);
    }
    for (std::vector<Run>& column : runs_) column.clear();
    std::fill(committed_.begin(), committed_.end(), 0);
    for (int x : touched_) isTouched_[static_cast<std::size_t>(x)] = 0;
    touched_.clear();
    allChanged_ = true;
}

void Surface::setPictureResizing(const QImage& picture) {
    // No canvas is made for the new size: the picture is the whole background.
    size_ = picture.size();
    resizeColumns();
    setPicture(picture);
}

void Surface::clearPicture() {
    setPicture(QImage());
}

bool Surface::hasDrawings() const {
    if (hasTransient()) return true;
    return std::any_of(committed_.begin(), committed_.end(), [](std::size_t n) { return n > 0; });
}

void Surface::cls() {
    for (int x : touched_) {
        std::vector<Run>& column = runs_[static_cast<std::size_t>(x)];
        const std::size_t keep = committed_[static_cast<std::size_t>(x)];
        int top = size_.height(), bottom = -1;
        for (std::size_t i = keep; i < column.size(); ++i) {
            top = std::min(top, column[i].top);
            bottom = std::max(bottom, column[i].bottom);
        }
        if (bottom >= top) changed(QRect(x, top, 1, bottom - top + 1));
        column.resize(keep);
        isTouched_[static_cast<std::size_t>(x)] = 0;
    }
    touched_.clear();
    currentX = scaleLeft();
    currentY = scaleTop();
}

// The drawings become part of the picture.
void Surface::commit() {
    for (int x : touched_) {
        committed_[static_cast<std::size_t>(x)] = runs_[static_cast<std::size_t>(x)].size();
        isTouched_[static_cast<std::size_t>(x)] = 0;
    }
    touched_.clear();
}

// A few separate rectangles keep a pointer move's repaint small; a drawing of more than that
// repaints the whole surface (only its visible part is painted).
void Surface::changed(const QRect& r) {
    if (allChanged_) return;
    if (changed_.size() < 8) {
        changed_.push_back(r);
    } else {
        allChanged_ = true;
        changed_.clear();
    }
}

std::vector<QRect> Surface::takeChanged() {
    std::vector<QRect> result;
    if (allChanged_) {
        result.push_back(bounds());
        allChanged_ = false;
    } else {
        result.swap(changed_);
    }
    changed_.clear();
    return result;
}

// ---------------------------------------------------------------------------------------------
// Composing

QRgb Surface::backgroundPixel(int x, int y) const {
    canvas();
    if (background_.format() == QImage::Format_Grayscale8) {
        const int v = background_.constScanLine(y)[x];
        return qRgb(v, v, v);
    }
    return reinterpret_cast<const QRgb*>(background_.constScanLine(y))[x];
}

QImage Surface::render(const QRect& pixels, bool withTransient) const {
    const QRect r = pixels.intersected(bounds());
    QImage out(r.size(), QImage::Format_RGB32);
    if (r.isEmpty()) return out;
    const bool grey = canvas().format() == QImage::Format_Grayscale8;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y - r.top()));
        const uchar* src = background_.constScanLine(y);
        if (grey) {
            for (int x = r.left(); x <= r.right(); ++x) dst[x - r.left()] = qRgb(src[x], src[x], src[x]);
        } else {
            std::memcpy(dst, src + 4 * r.left(), 4 * static_cast<std::size_t>(r.width()));
        }
    }
    for (int x = r.left(); x <= r.right(); ++x) {
        const std::vector<Run>& column = runs_[static_cast<std::size_t>(x)];
        const std::size_t count = withTransient ? column.size() : committed_[static_cast<std::size_t>(x)];
        for (std::size_t i = 0; i < count; ++i) {
            const Run& run = column[i];
            const int top = std::max(run.top, r.top()), bottom = std::min(run.bottom, r.bottom());
            for (int y = top; y <= bottom; ++y)
                reinterpret_cast<QRgb*>(out.scanLine(y - r.top()))[x - r.left()] = run.colour;
        }
    }
    return out;
}

core::Colour Surface::point(double x, double y) const {
    const QPoint p = toPixel(x, y);
    if (!bounds().contains(p)) return core::kNoColour;
    const std::vector<Run>& column = runs_[static_cast<std::size_t>(p.x())];
    for (auto it = column.rbegin(); it != column.rend(); ++it) {
        if (it->top <= p.y() && p.y() <= it->bottom) return core::fromQRgb(it->colour);
    }
    return core::fromQRgb(backgroundPixel(p.x(), p.y()));
}

// ---------------------------------------------------------------------------------------------
// Coordinates

void Surface::setScale(double left, double top, double width, double height) {
    pixelMode_ = false;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void Surface::setPixelScale() {
    pixelMode_ = true;
}

double Surface::toPixelX(double x) const {
    const double sw = scaleWidth();
    return sw == 0.0 ? 0.0 : (x - scaleLeft()) * widthPixels() / sw;
}
double Surface::toPixelY(double y) const {
    const double sh = scaleHeight();
    return sh == 0.0 ? 0.0 : (y - scaleTop()) * heightPixels() / sh;
}
double Surface::toUserX(double px) const {
    return widthPixels() == 0 ? scaleLeft() : scaleLeft() + px * scaleWidth() / widthPixels();
}
double Surface::toUserY(double py) const {
    return heightPixels() == 0 ? scaleTop() : scaleTop() + py * scaleHeight() / heightPixels();
}
QPoint Surface::toPixel(double x, double y) const {
    return QPoint(clampToInt(toPixelX(x)), clampToInt(toPixelY(y)));
}

// ---------------------------------------------------------------------------------------------
// Drawing

void Surface::addRun(int x, int top, int bottom, QRgb colour) {
    if (x < 0 || x >= size_.width()) return;
    if (top > bottom) std::swap(top, bottom);
    top = std::max(top, 0);
    bottom = std::min(bottom, size_.height() - 1);
    if (top > bottom) return;
    const auto column = static_cast<std::size_t>(x);
    runs_[column].push_back(Run{top, bottom, colour});
    if (!isTouched_[column]) {
        isTouched_[column] = 1;
        touched_.push_back(x);
    }
    changed(QRect(x, top, 1, bottom - top + 1));
}

// One run for every column the line crosses (a line's pixels in one column are contiguous).
// Shallow lines step pixel by pixel (Bresenham); steep lines, such as a curve's jump between two
// neighbouring columns, go column by column: each row belongs to the column nearest the line
// there, so a jump of 1000 rows costs one run, not a thousand steps.
void Surface::lineRuns(QPoint a, QPoint b, QRgb colour) {
    if (a.x() == b.x()) {
        addRun(a.x(), a.y(), b.y(), colour);
        return;
    }
    if (std::abs(b.y() - a.y()) > std::abs(b.x() - a.x())) {
        // Row t (counted from a) lies in column offset u = round(t * adx / ady), halves away from a;
        // column offset u starts at row ceil(ady * (2u - 1) / (2 adx)).
        const long long adx = std::abs(b.x() - a.x()), ady = std::abs(b.y() - a.y());
        const int sx = b.x() > a.x() ? 1 : -1, sy = b.y() > a.y() ? 1 : -1;
        auto firstRow = [&](long long u) {
            return u == 0 ? 0 : (ady * (2 * u - 1) + 2 * adx - 1) / (2 * adx);
        };
        for (long long u = 0; u <= adx; ++u) {
            const long long from = firstRow(u), to = u == adx ? ady : firstRow(u + 1) - 1;
            addRun(a.x() + static_cast<int>(sx * u), a.y() + static_cast<int>(sy * from),
                   a.y() + static_cast<int>(sy * to), colour);
        }
        return;
    }
    int x0 = a.x(), y0 = a.y();
    const int x1 = b.x(), y1 = b.y();
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int runX = x0, runTop = y0, runBottom = y0;
    for (;;) {
        if (x0 != runX) {
            addRun(runX, runTop, runBottom, colour);
            runX = x0;
            runTop = runBottom = y0;
        } else {
            runTop = std::min(runTop, y0);
            runBottom = std::max(runBottom, y0);
        }
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    addRun(runX, runTop, runBottom, colour);
}

namespace {
// Each column's painted pixels of a transparent canvas, as runs of one (opaque) colour.
template <typename Visit>
void forEachPaintedRun(const QImage& canvas, const Visit& visit) {
    for (int x = 0; x < canvas.width(); ++x) {
        int y = 0;
        while (y < canvas.height()) {
            const QRgb p = reinterpret_cast<const QRgb*>(canvas.constScanLine(y))[x];
            if (qAlpha(p) == 0) {
                ++y;
                continue;
            }
            int end = y;
            while (end + 1 < canvas.height() && reinterpret_cast<const QRgb*>(canvas.constScanLine(end + 1))[x] == p)
                ++end;
            visit(x, y, end, p | 0xFF000000u);
            y = end + 1;
        }
    }
}
}  // namespace

void Surface::stamp(const QRect& area, const std::function<void(QPainter&)>& draw) {
    const QRect r = area.intersected(bounds());
    if (r.isEmpty()) return;
    QImage canvas(r.size(), QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.translate(-r.topLeft());
        draw(painter);
    }
    forEachPaintedRun(canvas, [&](int x, int top, int bottom, QRgb colour) {
        addRun(r.left() + x, r.top() + top, r.top() + bottom, colour);
    });
}

void Surface::pset(double x, double y, core::Colour c) {
    const QPoint p = toPixel(x, y);
    if (drawWidth > 1) {
        const int half = drawWidth / 2;
        box(toUserX(p.x() - half), toUserY(p.y() - half), toUserX(p.x() - half + drawWidth - 1),
            toUserY(p.y() - half + drawWidth - 1), c, true);
        return;
    }
    addRun(p.x(), p.y(), p.y(), core::toQRgb(c));
}

void Surface::line(double x1, double y1, double x2, double y2, core::Colour c) {
    if (size_.isEmpty()) return;
    double px1 = toPixelX(x1), py1 = toPixelY(y1), px2 = toPixelX(x2), py2 = toPixelY(y2);
    if (!std::isfinite(px1) || !std::isfinite(py1) || !std::isfinite(px2) || !std::isfinite(py2)) return;
    if (drawWidth > 1) {
        const int m = drawWidth;
        const QRect area(QPoint(clampToInt(std::min(px1, px2)) - m, clampToInt(std::min(py1, py2)) - m),
                         QPoint(clampToInt(std::max(px1, px2)) + m, clampToInt(std::max(py1, py2)) + m));
        stamp(area, [&](QPainter& painter) {
            painter.setPen(QPen(toQColor(c), drawWidth, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(px1, py1), QPointF(px2, py2));
        });
        return;
    }
    // Clip first, so a segment that reaches far outside (a value far off the range) costs only
    // the pixels that are visible.
    const double xmax = size_.width() - 1.0, ymax = size_.height() - 1.0;
    const bool inside = px1 >= 0 && px2 >= 0 && py1 >= 0 && py2 >= 0 && px1 <= xmax && px2 <= xmax &&
                        py1 <= ymax && py2 <= ymax;
    if (!inside && !clipSegment(px1, py1, px2, py2, 0.0, 0.0, xmax, ymax)) return;
    lineRuns(QPoint(clampToInt(px1), clampToInt(py1)), QPoint(clampToInt(px2), clampToInt(py2)),
             core::toQRgb(c));
}

void Surface::polyline(std::span<const QPointF> points, core::Colour c) {
    if (points.size() < 2 || size_.isEmpty()) return;
    if (drawWidth > 1) {
        for (std::size_t i = 1; i < points.size(); ++i)
            line(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y(), c);
        return;
    }
    const QRgb colour = core::toQRgb(c);
    const double xmax = size_.width() - 1.0, ymax = size_.height() - 1.0;
    const auto inside = [&](double px, double py) { return px >= 0 && py >= 0 && px <= xmax && py <= ymax; };
    // Segments that start and end in one pixel column, one after the other, share their ends, so
    // together they fill one run of it: from the highest to the lowest of their ends.
    bool pending = false;
    int runX = 0, runTop = 0, runBottom = 0;
    const auto flush = [&] {
        if (pending) addRun(runX, runTop, runBottom, colour);
        pending = false;
    };
    // (toPixelX and toPixelY, worked out the same way, with the scale read once)
    const double left = scaleLeft(), top = scaleTop(), sw = scaleWidth(), sh = scaleHeight();
    const double w = widthPixels(), h = heightPixels();
    const auto pixelX = [&](double x) { return sw == 0.0 ? 0.0 : (x - left) * w / sw; };
    const auto pixelY = [&](double y) { return sh == 0.0 ? 0.0 : (y - top) * h / sh; };
    double px1 = pixelX(points[0].x()), py1 = pixelY(points[0].y());
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double px2 = pixelX(points[i].x()), py2 = pixelY(points[i].y());
        if (inside(px1, py1) && inside(px2, py2)) {  // (false for a coordinate that is not finite)
            const int x1 = clampToInt(px1), y1 = clampToInt(py1), x2 = clampToInt(px2), y2 = clampToInt(py2);
            if (std::abs(x2 - x1) == 1 && std::abs(y2 - y1) >= 2) {
                // A steep step to the next column, as lineRuns draws it: the upper half of its
                // rows in the first column (joining the run there), the rest in the second.
                const int sy = y2 > y1 ? 1 : -1, half = (std::abs(y2 - y1) + 1) / 2;
                const int end = y1 + sy * (half - 1);
                if (pending && runX == x1) {
                    runTop = std::min({runTop, y1, end});
                    runBottom = std::max({runBottom, y1, end});
                } else {
                    flush();
                    addRun(x1, y1, end, colour);
                }
                flush();
                pending = true;
                runX = x2;
                runTop = std::min(y1 + sy * half, y2);
                runBottom = std::max(y1 + sy * half, y2);
            } else if (x1 != x2) {
                flush();
                lineRuns(QPoint(x1, y1), QPoint(x2, y2), colour);
            } else if (pending && runX == x1) {
                runTop = std::min({runTop, y1, y2});
                runBottom = std::max({runBottom, y1, y2});
            } else {
                flush();
                pending = true;
                runX = x1;
                runTop = std::min(y1, y2);
                runBottom = std::max(y1, y2);
            }
        } else {
            flush();
            line(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y(), c);
        }
        px1 = px2;
        py1 = py2;
    }
    flush();
}

void Surface::box(double x1, double y1, double x2, double y2, core::Colour c, bool filled) {
    if (!filled) {
        line(x1, y1, x2, y1, c);
        line(x2, y1, x2, y2, c);
        line(x2, y2, x1, y2, c);
        line(x1, y2, x1, y1, c);
        return;
    }
    const QPoint a = toPixel(x1, y1), b = toPixel(x2, y2);
    const QRect r = QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                          QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())))
                        .intersected(bounds());
    if (r.isEmpty()) return;
    const QRgb colour = core::toQRgb(c);
    for (int x = r.left(); x <= r.right(); ++x) addRun(x, r.top(), r.bottom(), colour);
}

const std::vector<Surface::CircleRun>& Surface::circleRuns(int radius, QRgb outline, std::optional<QRgb> fill) {
    for (const CircleStamp& s : circleStamps_) {
        if (s.radius == radius && s.pen == drawWidth && s.outline == outline && s.filled == fill.has_value() &&
            (!fill || s.fill == *fill))
            return s.runs;
    }
    const int half = radius + drawWidth;
    QImage canvas(2 * half + 1, 2 * half + 1, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setPen(QPen(QColor::fromRgb(outline), drawWidth));
        painter.setBrush(fill ? QBrush(QColor::fromRgb(*fill)) : QBrush(Qt::NoBrush));
        painter.drawEllipse(QPoint(half, half), radius, radius);
    }
    CircleStamp stamp{radius, drawWidth, outline, fill.value_or(0), fill.has_value(), {}};
    forEachPaintedRun(canvas, [&](int x, int top, int bottom, QRgb colour) {
        stamp.runs.push_back({x - half, top - half, bottom - half, colour});
    });
    circleStamps_.push_back(std::move(stamp));
    return circleStamps_.back().runs;
}

void Surface::circle(double x, double y, double radius, core::Colour outline,
                     std::optional<core::Colour> fill) {
    if (size_.isEmpty()) return;
    const double sw = scaleWidth();
    const double rp = sw == 0.0 ? 0.0 : std::fabs(radius * widthPixels() / sw);
    const QPoint centre = toPixel(x, y);
    if (!std::isfinite(rp) || rp > 1e6) return;
    const int r = clampToInt(rp);
    const QRect area(centre.x() - r - drawWidth, centre.y() - r - drawWidth, 2 * (r + drawWidth) + 1,
                     2 * (r + drawWidth) + 1);
    if (!area.intersects(bounds())) return;
    if (r > 16) {  // a large circle: painted where it is
        stamp(area, [&](QPainter& painter) {
            painter.setPen(QPen(toQColor(outline), drawWidth));
            painter.setBrush(fill ? QBrush(toQColor(*fill)) : QBrush(Qt::NoBrush));
            painter.drawEllipse(centre, r, r);
        });
        return;
    }
    const std::optional<QRgb> fillRgb = fill ? std::optional<QRgb>(toQColor(*fill).rgb()) : std::nullopt;
    for (const CircleRun& run : circleRuns(r, toQColor(outline).rgb(), fillRgb)) {
        const int column = centre.x() + run.dx;
        if (column < 0 || column >= size_.width()) continue;
        const int top = std::max(0, centre.y() + run.top);
        const int bottom = std::min(size_.height() - 1, centre.y() + run.bottom);
        if (top <= bottom) addRun(column, top, bottom, run.colour);
    }
}

void Surface::print(const QString& text, core::Colour c) {
    if (size_.isEmpty()) return;
    const QFontMetrics metrics{QFont()};
    const QPoint topLeft = toPixel(currentX, currentY);
    const QRect area(topLeft, QSize(metrics.horizontalAdvance(text) + 1, metrics.height()));
    stamp(area, [&](QPainter& painter) {
        painter.setPen(toQColor(c));
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    });
    currentX = scaleLeft();
    currentY = toUserY(topLeft.y() + metrics.height());
}

}  // namespace ui
