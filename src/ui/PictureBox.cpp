#include "ui/PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/KeyCodes.h"

namespace ui {

PictureBox::PictureBox(QWidget* container) : Control<MouseArea>(container) {
    setFocusPolicy(Qt::StrongFocus);
    // Not marked as painting opaquely, though it does: under X11, Qt then left the controls lying
    // over a picture with child controls (curve window 1's band lines) unpainted until they
    // were repainted one by one.
}

void PictureBox::setPicture(const QImage& picture) {
    if (autoSize && !picture.isNull()) {
        // The surface takes the picture as it is (no canvas is made for the new size first).
        surface_.setPictureResizing(picture);
        const Unit u = unit();
        place(Left(), Top(), fromPixels(picture.width(), u), fromPixels(picture.height(), u));
    } else {
        surface_.setPicture(picture);
    }
    repaintChanged();
}

void PictureBox::placeAgain() {
    const QImage& picture = surface_.background();
    if (!autoSize || picture.isNull() || !inTwips(parentWidget())) {
        Control<MouseArea>::placeAgain();
        return;
    }
    const Unit u = unit();
    place(Left(), Top(), fromPixels(picture.width(), u), fromPixels(picture.height(), u));
}

void PictureBox::repaintChanged() {
    for (const QRect& r : surface_.takeChanged()) update(r);
}

void PictureBox::Cls() {
    surface_.cls();
    repaintChanged();
}

void PictureBox::commit() {
    surface_.commit();
}

void PictureBox::PSet(double x, double y, core::Colour c) {
    surface_.pset(x, y, c);
    repaintChanged();
}

void PictureBox::Line(double x1, double y1, double x2, double y2, core::Colour c) {
    surface_.line(x1, y1, x2, y2, c);
    repaintChanged();
}

void PictureBox::Box(double x1, double y1, double x2, double y2, core::Colour c, bool filled) {
    surface_.box(x1, y1, x2, y2, c, filled);
    repaintChanged();
}

void PictureBox::Circle(double x, double y, double radius, core::Colour outline,
                        std::optional<core::Colour> fill) {
    surface_.circle(x, y, radius, outline, fill);
    repaintChanged();
}

void PictureBox::Print(const QString& text, core::Colour c) {
    surface_.print(text, c);
    repaintChanged();
}

void PictureBox::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    const QRect r = e->rect();
    painter.drawImage(r.topLeft(), surface_.render(r));
}

// The pointer coming onto a picture that takes keys gives it the keys, even from a box being typed
// in (which keeps its text): a marker key pressed over a plot never lands in a value box. Only its
// arrival does: a box the user tabs into while the pointer rests here keeps the keys.
void PictureBox::mouseMoveEvent(QMouseEvent* e) {
    const bool arriving = !pointerInside_;
    if (arriving && focusPolicy() != Qt::NoFocus && window()->isActiveWindow()) setFocus(Qt::MouseFocusReason);
    pointerInside_ = true;
    MouseArea::mouseMoveEvent(e);
}

void PictureBox::leaveEvent(QEvent* e) {
    pointerInside_ = false;
    MouseArea::leaveEvent(e);
}

void PictureBox::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    surface_.resize(size());
}

QPointF PictureBox::toUnits(const QPointF& pixels) const {
    return QPointF(surface_.toUserX(pixels.x()), surface_.toUserY(pixels.y()));
}

bool PictureBox::relayKey(const QKeyEvent* e, void (PictureBox::*event)(int, int)) {
    const int code = keyCodeFromQt(e->key(), e->modifiers());
    if (code == 0) return false;
    (this->*event)(code, shiftFromQt(e->modifiers()));
    return true;
}

void PictureBox::keyPressEvent(QKeyEvent* e) {
    if (!relayKey(e, &PictureBox::KeyDown)) QWidget::keyPressEvent(e);
}

void PictureBox::keyReleaseEvent(QKeyEvent* e) {
    if (!relayKey(e, &PictureBox::KeyUp)) QWidget::keyReleaseEvent(e);
}

}  // namespace ui
