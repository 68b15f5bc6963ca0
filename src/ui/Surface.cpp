#include "ui/Surface.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace ui {

namespace {

constexpr std::size_t kMaxRects = 32;  // beyond this, drawn rectangles merge into their bounding box

// Pixel coordinates far outside any picture are clamped before converting to int.
int clampToInt(double v) {
    return static_cast<int>(std::floor(std::clamp(v, -1e8, 1e8) + 0.5));
}

void addRect(std::vector<QRect>& rects, const QRect& r) {
    for (const QRect& existing : rects) {
        if (existing.contains(r)) return;
    }
    if (rects.size() >= kMaxRects) {
        QRect all = r;
        for (const QRect& existing : rects) all = all.united(existing);
        rects.assign(1, all);
        return;
    }
    rects.push_back(r);
}

QImage blankImage(QSize size, core::Colour back) {
    QImage image(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    image.fill(core::toQRgb(back));
    return image;
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
    : size_(pixels.expandedTo(QSize(0, 0))), picture_(blankImage(size_, backColour)), back_(backColour) {}

namespace {
bool isNativeFormat(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_Grayscale8;
}
// The picture placed at the top-left of a new canvas of the given size (the rest in the back colour).
QImage placedOnCanvas(const QImage& picture, QSize size, core::Colour back) {
    QImage canvas = blankImage(size, back);
    if (picture.isNull()) return canvas;
    const QImage source =
        picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const int rows = std::min(source.height(), canvas.height());
    const int bytes = std::min(source.width(), canvas.width()) * 4;
    for (int y = 0; y < rows; ++y) std::memcpy(canvas.scanLine(y), source.constScanLine(y), bytes);
    return canvas;
}
}  // namespace

void Surface::resize(QSize pixels) {
    pixels = pixels.expandedTo(QSize(0, 0));
    if (pixels == size_) return;
    size_ = pixels;
    picture_ = placedOnCanvas(picture_, size_, back_);
    if (hasLayer()) image_ = placedOnCanvas(image_, size_, back_);
    drawn_.clear();
    if (hasLayer() && !image_.isNull()) drawn_.push_back(bounds());  // the drawing layer may differ anywhere
    allChanged_ = true;
}

void Surface::setPicture(const QImage& picture) {
    if (picture.size() == size_ && isNativeFormat(picture)) {
        picture_ = picture;  // shared with the caller, not copied
    } else if (picture.size() == size_) {
        picture_ = picture.convertToFormat(QImage::Format_RGB32);
    } else {
        picture_ = placedOnCanvas(picture, size_, back_);
    }
    image_ = QImage();
    drawn_.clear();
    allChanged_ = true;
}

void Surface::setPictureResizing(const QImage& picture) {
    size_ = picture.size();
    picture_ = isNativeFormat(picture) ? picture : picture.convertToFormat(QImage::Format_RGB32);
    image_ = QImage();
    drawn_.clear();
    allChanged_ = true;
}

void Surface::clearPicture() {
    setPicture(QImage());
}

void Surface::ensureLayer() {
    if (hasLayer()) return;
    if (picture_.format() != QImage::Format_RGB32) picture_ = picture_.convertToFormat(QImage::Format_RGB32);
    image_ = picture_.copy();
}

QImage& Surface::drawingImage() {
    ensureLayer();
    return image_;
}

void Surface::cls() {
    if (hasLayer()) {
        for (const QRect& r : drawn_) {
            const int bytes = r.width() * 4;
            for (int y = r.top(); y <= r.bottom(); ++y) {
                std::memcpy(image_.scanLine(y) + r.left() * 4, picture_.constScanLine(y) + r.left() * 4,
                            bytes);
            }
            addRect(changed_, r);
        }
    }
    drawn_.clear();
    currentX = scaleLeft();
    currentY = scaleTop();
}

// The drawing becomes the picture; the next drawing makes a fresh layer.
void Surface::commit() {
    if (!hasLayer()) return;
    picture_ = std::move(image_);
    image_ = QImage();
    drawn_.clear();
}

void Surface::markDrawn(const QRect& pixels) {
    noteDrawn(pixels);
}

void Surface::noteDrawn(const QRect& pixels) {
    const QRect r = pixels.intersected(bounds());
    if (r.isEmpty()) return;
    addRect(drawn_, r);
    if (!allChanged_) addRect(changed_, r);
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

void Surface::pset(double x, double y, core::Colour c) {
    const QPoint p = toPixel(x, y);
    if (drawWidth > 1) {
        const int half = drawWidth / 2;
        box(toUserX(p.x() - half), toUserY(p.y() - half), toUserX(p.x() - half + drawWidth - 1),
            toUserY(p.y() - half + drawWidth - 1), c, true);
        return;
    }
    if (!bounds().contains(p)) return;
    ensureLayer();
    reinterpret_cast<std::uint32_t*>(image_.scanLine(p.y()))[p.x()] = core::toQRgb(c);
    noteDrawn(QRect(p, QSize(1, 1)));
}

core::Colour Surface::point(double x, double y) const {
    const QPoint p = toPixel(x, y);
    if (!bounds().contains(p)) return core::kNoColour;
    const QImage& shown = image();
    if (shown.format() == QImage::Format_Grayscale8) {
        const int v = shown.constScanLine(p.y())[p.x()];
        return core::rgb(v, v, v);
    }
    return core::fromQRgb(reinterpret_cast<const std::uint32_t*>(shown.constScanLine(p.y()))[p.x()]);
}

void Surface::hline(int x1, int x2, int y, std::uint32_t argb) {
    if (y < 0 || y >= image_.height()) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, image_.width() - 1);
    if (x1 > x2) return;
    std::uint32_t* row = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    std::fill(row + x1, row + x2 + 1, argb);
}

void Surface::bresenham(QPoint a, QPoint b, std::uint32_t argb) {
    const int w = image_.width(), h = image_.height();
    if (a.x() == b.x()) {  // vertical lines (pointer and marker lines) straight down the rows
        const int x = a.x();
        if (x < 0 || x >= w) return;
        const int y1 = std::max(std::min(a.y(), b.y()), 0), y2 = std::min(std::max(a.y(), b.y()), h - 1);
        for (int y = y1; y <= y2; ++y) reinterpret_cast<std::uint32_t*>(image_.scanLine(y))[x] = argb;
        return;
    }
    int x0 = a.x(), y0 = a.y();
    const int x1 = b.x(), y1 = b.y();
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (x0 >= 0 && x0 < w && y0 >= 0 && y0 < h)
            reinterpret_cast<std::uint32_t*>(image_.scanLine(y0))[x0] = argb;
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
}

void Surface::line(double x1, double y1, double x2, double y2, core::Colour c) {
    if (size_.isEmpty()) return;
    double px1 = toPixelX(x1), py1 = toPixelY(y1), px2 = toPixelX(x2), py2 = toPixelY(y2);
    if (!std::isfinite(px1) || !std::isfinite(py1) || !std::isfinite(px2) || !std::isfinite(py2)) return;
    if (drawWidth > 1) {
        ensureLayer();
        QPainter painter(&image_);
        painter.setPen(QPen(core::toQColor(c), drawWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(px1, py1), QPointF(px2, py2));
        const int m = drawWidth;
        noteDrawn(QRect(QPoint(clampToInt(std::min(px1, px2)) - m, clampToInt(std::min(py1, py2)) - m),
                        QPoint(clampToInt(std::max(px1, px2)) + m, clampToInt(std::max(py1, py2)) + m)));
        return;
    }
    // Clip first, so a segment that reaches far outside (a value far off the range) costs only
    // the pixels that are visible.
    if (!clipSegment(px1, py1, px2, py2, 0.0, 0.0, size_.width() - 1.0, size_.height() - 1.0)) return;
    ensureLayer();
    const QPoint a(clampToInt(px1), clampToInt(py1)), b(clampToInt(px2), clampToInt(py2));
    bresenham(a, b, core::toQRgb(c));
    noteDrawn(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                    QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))));
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
    ensureLayer();
    const std::uint32_t argb = core::toQRgb(c);
    for (int y = r.top(); y <= r.bottom(); ++y) hline(r.left(), r.right(), y, argb);
    noteDrawn(r);
}

void Surface::circle(double x, double y, double radius, core::Colour outline,
                     std::optional<core::Colour> fill) {
    if (size_.isEmpty()) return;
    const double sw = scaleWidth();
    const double rp = sw == 0.0 ? 0.0 : std::fabs(radius * widthPixels() / sw);
    const QPoint centre = toPixel(x, y);
    if (!std::isfinite(rp) || rp > 1e6) return;
    const int r = clampToInt(rp);
    const QRect bounds(centre.x() - r - drawWidth, centre.y() - r - drawWidth, 2 * (r + drawWidth) + 1,
                       2 * (r + drawWidth) + 1);
    if (!bounds.intersects(this->bounds())) return;
    ensureLayer();
    QPainter painter(&image_);
    painter.setPen(QPen(core::toQColor(outline), drawWidth));
    if (fill) {
        painter.setBrush(core::toQColor(*fill));
    } else {
        painter.setBrush(Qt::NoBrush);
    }
    painter.drawEllipse(centre, r, r);
    noteDrawn(bounds);
}

void Surface::print(const QString& text, core::Colour c) {
    if (size_.isEmpty()) return;
    ensureLayer();
    QPainter painter(&image_);
    painter.setPen(core::toQColor(c));
    const QFontMetrics metrics = painter.fontMetrics();
    const QPoint topLeft = toPixel(currentX, currentY);
    const QRect bounds(topLeft, QSize(metrics.horizontalAdvance(text) + 1, metrics.height()));
    painter.drawText(bounds, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    noteDrawn(bounds);
    currentX = scaleLeft();
    currentY = toUserY(topLeft.y() + metrics.height());
}

}  // namespace ui
