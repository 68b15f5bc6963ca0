#include "ui/PictureBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <functional>

#include "ui/Form.h"
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
namespace {
QPointer<PictureBox> boxUnderPointer;  // the last box the pointer moved over, until it leaves

// Sends a key to the picture under the pointer, wherever the keyboard is: the user need not click
// a plot (which would mark it) to give it the keys. Not while a text is typed, a menu or a dialog
// is open, nor with Ctrl or Alt (the active window's own shortcuts).
class KeysUnderPointer : public QObject {
  public:
    using QObject::QObject;
    std::function<bool(PictureBox*, int keyCode)> takes;

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        PictureBox* box = boxUnderPointer.data();
        if (!box || box == receiver || !receiver->isWidgetType() || textEntryHasFocus()) return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
        if (!box->isVisible() || !box->isEnabled() || !box->window()->isEnabled()) return false;
        if (!takes(box, keyCodeFromQt(key->key(), key->modifiers()))) return false;
        QCoreApplication::sendEvent(box, event);
        return true;
    }
};
}  // namespace

void PictureBox::takeKeysUnderPointer(std::vector<int> keyCodes) {
    keysUnderPointer_ = std::move(keyCodes);
    static KeysUnderPointer* const filter = [] {
        auto* f = new KeysUnderPointer(QCoreApplication::instance());
        f->takes = [](PictureBox* box, int code) {
            return std::find(box->keysUnderPointer_.begin(), box->keysUnderPointer_.end(), code) !=
                   box->keysUnderPointer_.end();
        };
        QCoreApplication::instance()->installEventFilter(f);
        return f;
    }();
    (void)filter;
}

void PictureBox::mouseMoveEvent(QMouseEvent* e) {
    boxUnderPointer = this;
    const bool arriving = !pointerInside_;
    if (arriving && focusPolicy() != Qt::NoFocus && window()->isActiveWindow()) setFocus(Qt::MouseFocusReason);
    pointerInside_ = true;
    MouseArea::mouseMoveEvent(e);
}

void PictureBox::leaveEvent(QEvent* e) {
    pointerInside_ = false;
    if (boxUnderPointer == this) boxUnderPointer = nullptr;
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
