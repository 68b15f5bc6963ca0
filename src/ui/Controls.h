#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Colour.h"
#include "ui/Cursor.h"
#include "ui/MouseArea.h"
#include "ui/Twips.h"

namespace ui {

// A container with a user coordinate system of its own (a picture box): controls inside it are
// placed in its user units. A control stays where it was put when the container's scale changes;
// its position then reads back in the new units.
class ScaledContainer {
  public:
    virtual ~ScaledContainer() = default;
    virtual QPointF userToPixel(QPointF user) const = 0;
    virtual QPointF pixelToUser(QPointF pixel) const = 0;
};
inline const ScaledContainer* scaledContainer(const QWidget* container) {
    return dynamic_cast<const ScaledContainer*>(container);
}

// The pixel rectangle of a control placed at (left, top, width, height) in its container's units.
inline QRect pixelRectIn(const QWidget* container, double left, double top, double width, double height) {
    if (const auto* scaled = dynamic_cast<const ScaledContainer*>(container)) {
        const QPointF a = scaled->userToPixel(QPointF(left, top));
        const QPointF b = scaled->userToPixel(QPointF(left + width, top + height));
        const QRectF r = QRectF(a, b).normalized();
        return QRect(static_cast<int>(std::lround(r.left())), static_cast<int>(std::lround(r.top())),
                     static_cast<int>(std::lround(r.width())), static_cast<int>(std::lround(r.height())));
    }
    const Unit u = unitOf(container);
    return QRect(toPixels(left, u), toPixels(top, u), std::max(0, toPixels(width, u)),
                 std::max(0, toPixels(height, u)));
}

// Anything placed in its container's units. When a twip's size in pixels changes, whatever is
// placed in twips is put again at the same twips; things in pixels or in a picture box's user
// units stay where they are.
class Placed {
  public:
    virtual ~Placed() = default;
    virtual void placeAgain() = 0;

  protected:
    static bool inTwips(const QWidget* container) {
        return !scaledContainer(container) && unitOf(container) == Unit::Twips;
    }
};

// What every control shares: Left/Top/Width/Height in its container's unit (twips or pixels),
// read back exactly as they were set; visibility; tool tip; mouse pointer.
template <class QtBase>
class Control : public QtBase, public Placed {
  public:
    explicit Control(QWidget* container) : QtBase(container) {}

    double Left() const { return user().left(); }
    double Top() const { return user().top(); }
    double Width() const { return user().width(); }
    double Height() const { return user().height(); }
    void setLeft(double v) { place(v, Top(), Width(), Height()); }
    void setTop(double v) { place(Left(), v, Width(), Height()); }
    void setWidth(double v) { place(Left(), Top(), v, Height()); }
    void setHeight(double v) { place(Left(), Top(), Width(), v); }
    void place(double left, double top, double width, double height) {
        user_ = QRectF(left, top, width, height);
        if (const ScaledContainer* s = scaledContainer(this->parentWidget())) {
            pixels_ = QRectF(s->userToPixel(QPointF(left, top)),
                             s->userToPixel(QPointF(left + width, top + height)));
        }
        this->setGeometry(pixelRectIn(this->parentWidget(), left, top, width, height));
        placed();
    }

    void placeAgain() override {
        if (inTwips(this->parentWidget())) place(user_.left(), user_.top(), user_.width(), user_.height());
    }

    // The control's own visibility flag (true even while its window is hidden).
    bool Visible() const { return !this->isHidden(); }
    void setToolTipText(const QString& text) { this->setToolTip(text); }
    QString ToolTipText() const { return this->toolTip(); }
    void setMousePointer(MousePointer p) {
        pointer_ = p;
        this->setCursor(cursorShape(p));
    }
    MousePointer mousePointer() const { return pointer_; }

  protected:
    Unit unit() const { return unitOf(this->parentWidget()); }
    // Runs after every placement, also while the control is hidden (when Qt delays its resize event).
    virtual void placed() {}

  private:
    // In a picture box the place is kept in (unrounded) pixels and read in its current units;
    // elsewhere the values set are kept and read back exactly.
    QRectF user() const {
        if (const ScaledContainer* s = scaledContainer(this->parentWidget())) {
            const QPointF a = s->pixelToUser(pixels_.topLeft()), b = s->pixelToUser(pixels_.bottomRight());
            return QRectF(a, b);
        }
        return user_;
    }
    QRectF user_;
    QRectF pixels_;
    MousePointer pointer_ = MousePointer::Default;
};

class Label : public Control<QLabel> {
    Q_OBJECT
  public:
    explicit Label(QWidget* container, const QString& caption = {});
    QString Caption() const { return text(); }
    void setCaption(const QString& c) { setText(c); }
    void setBackColour(core::Colour c);
  signals:
    void Click();

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

class Button : public Control<QPushButton> {
    Q_OBJECT
  public:
    explicit Button(QWidget* container, const QString& caption = {});
    QString Caption() const { return text(); }
    void setCaption(const QString& c) { setText(c); }
    // A button whose command is not built yet stays disabled, whatever the program enables.
    void setEnabled(bool e) { QPushButton::setEnabled(e && built_); }
    void setNotBuiltYet() {
        built_ = false;
        QPushButton::setEnabled(false);
    }
  signals:
    void Click();

  private:
    bool built_ = true;
};

// A text box. Change fires at once whenever the text changes, by typing or by code, and not when
// code sets the text it already holds.
class TextBox : public Control<QLineEdit> {
    Q_OBJECT
  public:
    explicit TextBox(QWidget* container, const QString& text = {});
    QString Text() const { return text(); }
    void setText(const QString& t);
    void setForeColour(core::Colour c);
  signals:
    void Change();
};

class CheckBox : public Control<QCheckBox> {
    Q_OBJECT
  public:
    explicit CheckBox(QWidget* container, const QString& caption = {});
    int Value() const { return isChecked() ? 1 : 0; }
    // Setting a different value from code fires Click, as a user's click does.
    void setValue(int v);
    QString Caption() const { return text(); }
  signals:
    void Click();
};

// A combo box. Click fires when the user picks an item and when code changes ListIndex; Change
// fires when the user types into an editable box.
class ComboBox : public Control<QComboBox> {
    Q_OBJECT
  public:
    enum class Style { DropDownCombo, DropDownList };
    explicit ComboBox(QWidget* container, Style style = Style::DropDownCombo);
    QString Text() const;
    // Selects the item with this text if there is one; otherwise shows the text with no item
    // selected. Fires no Click.
    void setText(const QString& t);
    void AddItem(const QString& item) { addItem(item); }
    void Clear();
    int ListCount() const { return count(); }
    int ListIndex() const { return currentIndex(); }
    void setListIndex(int i);
    QString List(int i) const { return itemText(i); }
  signals:
    void Click();
    void Change();

  private:
    QString looseText_;  // a text set by code that is not an item of a list-only box
};

// A slider; Change fires when the value has changed: at the end of a drag, on a key or page step,
// or when code sets a different value.
class Slider : public Control<QSlider> {
    Q_OBJECT
  public:
    explicit Slider(QWidget* container, int min = 0, int max = 10);
    int Value() const { return value(); }
    void setValue(int v) { QSlider::setValue(v); }
  signals:
    void Change();
};

// A group box; controls created inside it use its unit, and disabling it disables them.
class Frame : public Control<QGroupBox> {
    Q_OBJECT
  public:
    explicit Frame(QWidget* container, const QString& caption = {});
    QString Caption() const { return title(); }
    void setCaption(const QString& c) { setTitle(c); }
};

// A read-only table of texts with a header row: numbers right-aligned, the first column left.
class Grid : public Control<QTableWidget> {
    Q_OBJECT
  public:
    explicit Grid(QWidget* container);
    void setTable(const QStringList& header, const std::vector<QStringList>& rows);
    int Rows() const { return rowCount(); }
    int Cols() const { return columnCount(); }
    QString Text(int row, int col) const;
    QString Header(int col) const;
};

class ProgressBar : public Control<QProgressBar> {
    Q_OBJECT
  public:
    explicit ProgressBar(QWidget* container);
    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Value() const { return value(); }
    void setMin(int v) { setMinimum(v); }
    void setMax(int v) { setMaximum(std::max(v, minimum())); }
    // Values outside Min..Max are clamped rather than refused.
    void setValue(int v) { QProgressBar::setValue(std::clamp(v, minimum(), maximum())); }
};

// An image control: shows its picture stretched to its size (or at its own size when Stretch is
// off). Mouse coordinates are in the container's unit, relative to the control.
class ImageBox : public Control<MouseArea> {
    Q_OBJECT
  public:
    explicit ImageBox(QWidget* container);
    void setPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }
    bool stretch = true;
    // A blank image box paints nothing but keeps its place and its mouse (a drag it started goes
    // on while a proxy is shown in its stead).
    void setBlank(bool blank);
    bool blank() const { return blank_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    QPointF toUnits(const QPointF& pixels) const override;

  private:
    QImage picture_;
    mutable QImage stretched_;  // the picture at the control's size, made once per size
    bool blank_ = false;
};

// A rectangle, square or oval drawn on its container; it takes no mouse events.
class Shape : public Control<QWidget> {
    Q_OBJECT
  public:
    enum class Kind { Rectangle, Square, Oval, Circle };
    explicit Shape(QWidget* container, Kind kind = Kind::Rectangle);
    core::Colour FillColour() const { return fill_; }
    void setFillColour(core::Colour c);
    bool filled() const { return filled_; }
    void setFilled(bool f);
    core::Colour BorderColour() const { return border_; }
    void setBorderColour(core::Colour c);
    void setBorderWidth(int w);

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    Kind kind_;
    core::Colour fill_ = core::rgb(255, 255, 255);
    core::Colour border_ = core::rgb(0, 0, 0);
    bool filled_ = false;
    int borderWidth_ = 1;
};

// A line drawn on its container from (X1, Y1) to (X2, Y2), in the container's unit; it takes no
// mouse events.
class LineShape : public QWidget, public Placed {
    Q_OBJECT
  public:
    explicit LineShape(QWidget* container);
    void placeAgain() override {
        if (inTwips(parentWidget())) setEnds(x1_, y1_, x2_, y2_);
    }
    double X1() const { return end(0).x(); }
    double Y1() const { return end(0).y(); }
    double X2() const { return end(1).x(); }
    double Y2() const { return end(1).y(); }
    void setX1(double v) { setEnds(v, Y1(), X2(), Y2()); }
    void setY1(double v) { setEnds(X1(), v, X2(), Y2()); }
    void setX2(double v) { setEnds(X1(), Y1(), v, Y2()); }
    void setY2(double v) { setEnds(X1(), Y1(), X2(), v); }
    void setEnds(double x1, double y1, double x2, double y2);
    void setBorderColour(core::Colour c);
    core::Colour BorderColour() const { return colour_; }
    bool Visible() const { return !isHidden(); }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QPointF end(int which) const;  // an end in the container's current units
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    QPointF pa_, pb_;  // the ends in the container's pixels, unrounded
    QPoint a_, b_;     // the ends in the container's pixels
    core::Colour colour_ = core::rgb(0, 0, 0);
};

}  // namespace ui
