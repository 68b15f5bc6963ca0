#pragma once

#include <QWidget>
#include <vector>

#include "ui/Controls.h"
#include "ui/Surface.h"

namespace ui {

// A picture box: a Surface on screen. Mouse events come in the surface's user coordinates, key
// events with the program's key codes. With AutoSize the box takes the size of a picture set on it.
class PictureBox : public Control<MouseArea>, public ScaledContainer {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* container);

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }

    bool autoSize = false;
    // With AutoSize and a picture the box keeps the picture's size in pixels, whatever a twip is.
    void placeAgain() override;
    // The picture becomes the persistent picture (and, with AutoSize, the box's size in pixels).
    void setPicture(const QImage& picture);
    // The background as set (no drawings): the radiograph of the main window, a rendered section.
    const QImage& Background() const { return surface_.background(); }
    QImage Picture() const { return surface_.picture(); }  // background + committed drawings
    QImage Image() const { return surface_.image(); }      // background + every drawing

    // Scale: the surface's user coordinates.
    void setScale(double left, double top, double width, double height) {
        surface_.setScale(left, top, width, height);
    }
    double ScaleLeft() const { return surface_.scaleLeft(); }
    double ScaleTop() const { return surface_.scaleTop(); }
    double ScaleWidth() const { return surface_.scaleWidth(); }
    double ScaleHeight() const { return surface_.scaleHeight(); }
    QPointF userToPixel(QPointF user) const override {
        return QPointF(surface_.toPixelX(user.x()), surface_.toPixelY(user.y()));
    }
    QPointF pixelToUser(QPointF pixel) const override {
        return QPointF(surface_.toUserX(pixel.x()), surface_.toUserY(pixel.y()));
    }

    // Drawing: each call schedules a repaint of what it changed.
    void Cls();
    void commit();  // Picture = Image
    void PSet(double x, double y, core::Colour c);
    void Line(double x1, double y1, double x2, double y2, core::Colour c);
    void Box(double x1, double y1, double x2, double y2, core::Colour c, bool filled);
    void Circle(double x, double y, double radius, core::Colour outline,
                std::optional<core::Colour> fill = {});
    void Print(const QString& text, core::Colour c = core::rgb(0, 0, 0));
    core::Colour Point(double x, double y) const { return surface_.point(x, y); }
    void Refresh() { repaintChanged(); }
    void repaintChanged();

    // Keys (the program's codes) the box takes while the pointer is over it, whichever window has
    // the keyboard, unless a text is being typed; without any, only as the focus widget.
    void takeKeysUnderPointer(std::vector<int> keyCodes);

  signals:
    void KeyDown(int keyCode, int shift);
    void KeyUp(int keyCode, int shift);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void placed() override { surface_.resize(size()); }
    QPointF toUnits(const QPointF& pixels) const override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

  private:
    // Sends a key the program has a code for as the given event; false for any other key.
    bool relayKey(const QKeyEvent* e, void (PictureBox::*event)(int keyCode, int shift));

    Surface surface_;
    bool pointerInside_ = false;  // between the pointer's arrival and its leaving
    std::vector<int> keysUnderPointer_;
};

}  // namespace ui
