#include "ui/MouseArea.h"

#include <QMouseEvent>

#include "ui/KeyCodes.h"

namespace ui {

MouseArea::MouseArea(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void MouseArea::mousePressEvent(QMouseEvent* e) {
    pressed_ = true;
    const QPointF p = toUnits(e->position());
    emit MouseDown(buttonFromQt(e->button()), shiftFromQt(e->modifiers()), p.x(), p.y());
}

void MouseArea::mouseMoveEvent(QMouseEvent* e) {
    const QPointF p = toUnits(e->position());
    emit MouseMove(buttonsFromQt(e->buttons()), shiftFromQt(e->modifiers()), p.x(), p.y());
}

void MouseArea::mouseReleaseEvent(QMouseEvent* e) {
    const QPointF p = toUnits(e->position());
    emit MouseUp(buttonFromQt(e->button()), shiftFromQt(e->modifiers()), p.x(), p.y());
    if (pressed_ && rect().contains(e->position().toPoint())) emit Click();
    pressed_ = false;
}

void MouseArea::mouseDoubleClickEvent(QMouseEvent*) {
    emit DblClick();
}

}  // namespace ui
