#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "core/Colour.h"

class QPainter;

namespace ui {

// A picture surface without a widget: a persistent picture plus a drawing layer, and a user
// coordinate system.
//
//   picture()  what Cls returns to;        image()  picture + everything drawn since
//   cls()      drawing layer := picture    commit() picture := drawing layer
//
// The picture is a background image (shared, never copied, 8-bit grey kept 8-bit) plus the
// drawings made over it. Drawings are held per pixel column as vertical runs of one colour, in
// the order they were drawn: a line, a curve segment or a marker adds one run per column it
// crosses. So drawing, Cls and commit cost what was drawn, never the area of the plot, however
// large the plot is; the pixels are composed only where they are shown or asked for.
//
// User coordinates: x_user = ScaleLeft + x_pixel * ScaleWidth / width_pixels (likewise y).
// A negative ScaleHeight flips the axis (ScaleTop at the top edge, larger values drawn higher).
// In pixel mode the scale follows the surface size: (0, 0, width, height).
class Surface {
  public:
    explicit Surface(QSize pixels = QSize(0, 0), core::Colour backColour = core::rgb(255, 255, 255));

    QSize size() const { return size_; }
    int widthPixels() const { return size_.width(); }
    int heightPixels() const { return size_.height(); }
    // New size: the background and the drawings keep their place at the top-left corner.
    void resize(QSize pixels);

    core::Colour backColour() const { return back_; }
    void setBackColour(core::Colour c) {
        canvas();  // a canvas still to be made is filled with the colour of its resize
        back_ = c;
    }

    // --- persistent picture and drawing layer
    // The image becomes the background and every drawing is dropped. An image of the surface's
    // size in 32-bit or 8-bit grey format is shared, not copied.
    void setPicture(const QImage& picture);
    // The surface takes the image's size and the image, with nothing copied.
    void setPictureResizing(const QImage& picture);
    void clearPicture();  // background := back colour
    const QImage& background() const { return canvas(); }
    QImage picture() const { return render(bounds(), false); }
    QImage image() const { return render(bounds(), true); }
    // The composed pixels of a rectangle, with or without the drawings not yet committed.
    QImage render(const QRect& pixels, bool withTransient = true) const;
    bool hasTransient() const { return !touched_.empty(); }
    bool hasDrawings() const;
    void cls();
    void commit();

    // --- coordinates
    void setScale(double left, double top, double width, double height);
    void setPixelScale();  // back to pixel mode
    bool pixelScale() const { return pixelMode_; }
    double scaleLeft() const { return pixelMode_ ? 0.0 : left_; }
    double scaleTop() const { return pixelMode_ ? 0.0 : top_; }
    double scaleWidth() const { return pixelMode_ ? widthPixels() : width_; }
    double scaleHeight() const { return pixelMode_ ? heightPixels() : height_; }
    double toPixelX(double x) const;
    double toPixelY(double y) const;
    double toUserX(double px) const;
    double toUserY(double py) const;

    // --- drawing, in user coordinates
    void pset(double x, double y, core::Colour c);
    void line(double x1, double y1, double x2, double y2, core::Colour c);
    // The lines from each point to the next, drawn as those line calls would draw them. A curve of
    // many more points than the plot has pixel columns costs one run per column it fills.
    void polyline(std::span<const QPointF> points, core::Colour c);
    void box(double x1, double y1, double x2, double y2, core::Colour c, bool filled);
    // Radius in horizontal user units. The outline in `outline`, the inside in `fill` if given.
    void circle(double x, double y, double radius, core::Colour outline, std::optional<core::Colour> fill);
    // Text at CurrentX/CurrentY (its top-left corner); afterwards CurrentY is one line lower and
    // CurrentX is back at ScaleLeft.
    void print(const QString& text, core::Colour c);
    double currentX = 0.0;
    double currentY = 0.0;
    int drawWidth = 1;
    // The packed colour at (x, y), or -1 outside the picture.
    core::Colour point(double x, double y) const;

    // Rectangles changed on screen since the last call (for the widget's repaint).
    std::vector<QRect> takeChanged();

  private:
    struct Run {
        int top;
        int bottom;  // inclusive
        QRgb colour;
    };

    QRect bounds() const { return QRect(QPoint(0, 0), size_); }
    QPoint toPixel(double x, double y) const;
    QRgb backgroundPixel(int x, int y) const;
    void addRun(int x, int top, int bottom, QRgb colour);
    void lineRuns(QPoint a, QPoint b, QRgb colour);
    // Draws with QPainter into a small transparent image over `area` and keeps what it painted.
    void stamp(const QRect& area, const std::function<void(QPainter&)>& draw);
    void changed(const QRect& r);
    void resizeColumns();

    // A small circle's runs around its centre pixel, rasterised once per radius, pen and colours:
    // the pointer overlay draws hundreds of the same circles at every mouse move.
    struct CircleRun {
        int dx, top, bottom;  // relative to the centre
        QRgb colour;
    };
    struct CircleStamp {
        int radius, pen;
        QRgb outline, fill;
        bool filled;
        std::vector<CircleRun> runs;
    };
    const std::vector<CircleRun>& circleRuns(int radius, QRgb outline, std::optional<QRgb> fill);
    std::vector<CircleStamp> circleStamps_;

    // The background of size_, made now if a resize left it to be made.
    const QImage& canvas() const;

    QSize size_;
    // Format_RGB32 or Format_Grayscale8, of size_. After a resize, until the background is needed
    // or replaced, it is still the old picture, of which the top-left `kept_` is the canvas's top-left
    // (the rest in the back colour): a resize followed by a new picture, as every section change
    // does, makes no canvas at all.
    mutable QImage background_;
    mutable bool canvasPending_ = false;
    QSize kept_;
    core::Colour back_;
    std::vector<std::vector<Run>> runs_;  // per pixel column, oldest first
    std::vector<std::size_t> committed_;  // per column: how many runs belong to the picture
    std::vector<int> touched_;            // columns holding runs not yet committed
    std::vector<char> isTouched_;
    bool pixelMode_ = true;
    double left_ = 0.0, top_ = 0.0, width_ = 1.0, height_ = 1.0;
    std::vector<QRect> changed_;  // to be repainted
    bool allChanged_ = true;
};

}  // namespace ui
