#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "core/Colour.h"

namespace ui {

// A picture surface without a widget: a persistent picture plus a drawing layer, and a user
// coordinate system.
//
//   picture()  what Cls returns to;        image()  picture + everything drawn since
//   cls()      drawing layer := picture    commit() picture := drawing layer
//
// The drawing layer is made (a 32-bit copy of the picture) only when something is drawn, so a
// picture that is only read (the radiograph) is held once, in its own format: 8-bit grey stays
// 8-bit. Cls restores only the rectangles drawn since the last Cls or commit, so transient drawings
// (a pointer line, a few circles) cost what they cover, not the area of the plot.
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
    // New size: both layers keep their content at the top-left corner; new area gets the back colour.
    void resize(QSize pixels);

    core::Colour backColour() const { return back_; }
    void setBackColour(core::Colour c) { back_ = c; }

    // --- persistent picture and drawing layer
    // The picture becomes the persistent picture; drawings are dropped. A picture of the surface's
    // size in 32-bit or 8-bit grey format is shared, not copied.
    void setPicture(const QImage& picture);
    // The surface takes the picture's size and the picture, with nothing copied.
    void setPictureResizing(const QImage& picture);
    void clearPicture();  // picture := back colour
    const QImage& picture() const { return picture_; }
    // What the surface shows: the drawing layer if there is one, else the picture.
    const QImage& image() const { return hasLayer() ? image_ : picture_; }
    bool hasLayer() const { return !image_.isNull(); }
    void cls();
    void commit();
    // Direct access for renderers that write whole rows (scanLine): the caller marks what it wrote.
    QImage& drawingImage();
    void markDrawn(const QRect& pixels);

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
    void box(double x1, double y1, double x2, double y2, core::Colour c, bool filled);
    // Radius in horizontal user units. The outline in `outline`, the inside in `fill` if given.
    void circle(double x, double y, double radius, core::Colour outline, std::optional<core::Colour> fill);
    // Text at CurrentX/CurrentY (its top-left corner); afterwards CurrentY is one line lower and
    // CurrentX is back at ScaleLeft.
    void print(const QString& text, core::Colour c);
    double currentX = 0.0;
    double currentY = 0.0;
    int drawWidth = 1;
    // The packed colour of the drawing layer at (x, y), or -1 outside the picture.
    core::Colour point(double x, double y) const;

    // Rectangles changed on screen since the last call (for the widget's repaint).
    std::vector<QRect> takeChanged();

  private:
    QPoint toPixel(double x, double y) const;
    void noteDrawn(const QRect& pixels);
    void ensureLayer();
    QRect bounds() const { return QRect(QPoint(0, 0), size_); }
    void hline(int x1, int x2, int y, std::uint32_t argb);
    void bresenham(QPoint a, QPoint b, std::uint32_t argb);

    QSize size_;
    QImage picture_;  // Format_RGB32 or Format_Grayscale8, always of size_
    QImage image_;    // the drawing layer, Format_RGB32, or null while nothing is drawn
    core::Colour back_;
    bool pixelMode_ = true;
    double left_ = 0.0, top_ = 0.0, width_ = 1.0, height_ = 1.0;
    std::vector<QRect> drawn_;    // drawn since the last cls/commit, to be restored by cls
    std::vector<QRect> changed_;  // to be repainted
    bool allChanged_ = true;
};

}  // namespace ui
