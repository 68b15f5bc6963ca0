#include "ui/Controls.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "ui/KeyCodes.h"
#include "ui/QtColour.h"

namespace ui {

// ---------------------------------------------------------------------------------------------
Label::Label(QWidget* container, const QString& caption) : Control<QLabel>(container) {
    setText(caption);
}

void Label::setBackColour(core::Colour c) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(c));
    setPalette(p);
}

void TextBox::setForeColour(core::Colour c) {
    QPalette p = palette();
    p.setColor(QPalette::Text, toQColor(c));
    setPalette(p);
}

void Label::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (rect().contains(e->position().toPoint())) emit Click();
}

// ---------------------------------------------------------------------------------------------
Button::Button(QWidget* container, const QString& caption) : Control<QPushButton>(container) {
    setText(caption);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &Button::Click);
}

// ---------------------------------------------------------------------------------------------
TextBox::TextBox(QWidget* container, const QString& text) : Control<QLineEdit>(container) {
    QLineEdit::setText(text);
    connect(this, &QLineEdit::textChanged, this, &TextBox::Change);
}

void TextBox::setText(const QString& t) {
    if (t == text()) return;
    QLineEdit::setText(t);  // emits textChanged, hence Change, synchronously
}

// ---------------------------------------------------------------------------------------------
CheckBox::CheckBox(QWidget* container, const QString& caption) : Control<QCheckBox>(container) {
    setText(caption);
    connect(this, &QCheckBox::clicked, this, &CheckBox::Click);
}

void CheckBox::setValue(int v) {
    const bool checked = v != 0;
    if (checked == isChecked()) return;
    setChecked(checked);
    emit Click();
}

// ---------------------------------------------------------------------------------------------
ComboBox::ComboBox(QWidget* container, Style style) : Control<QComboBox>(container) {
    setEditable(style == Style::DropDownCombo);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, [this](int) {
        looseText_.clear();
        emit Click();
    });
    connect(this, &QComboBox::editTextChanged, this, [this](const QString&) {
        if (!signalsBlocked()) emit Change();
    });
}

QString ComboBox::Text() const {
    if (isEditable()) return currentText();
    return currentIndex() >= 0 ? currentText() : looseText_;
}

void ComboBox::setText(const QString& t) {
    const QSignalBlocker quiet(this);
    const int index = findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (isEditable()) {
        if (index >= 0) setCurrentIndex(index);
        setEditText(t);
        return;
    }
    setCurrentIndex(index);
    looseText_ = index >= 0 ? QString() : t;
    setPlaceholderText(looseText_);
}

void ComboBox::Clear() {
    const QSignalBlocker quiet(this);
    clear();
    looseText_.clear();
}

void ComboBox::setListIndex(int i) {
    if (i == currentIndex()) return;
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(i);
        looseText_.clear();
    }
    emit Click();
}

// ---------------------------------------------------------------------------------------------
Slider::Slider(QWidget* container, int min, int max) : Control<QSlider>(container) {
    setOrientation(Qt::Horizontal);
    setRange(min, max);
    setTracking(false);  // a drag reports its value once, when it ends
    setTickPosition(QSlider::TicksBelow);
    connect(this, &QSlider::valueChanged, this, &Slider::Change);
}

// ---------------------------------------------------------------------------------------------
Frame::Frame(QWidget* container, const QString& caption) : Control<QGroupBox>(container) {
    setTitle(caption);
    setUnit(this, unitOf(container));
}

// ---------------------------------------------------------------------------------------------
Grid::Grid(QWidget* container) : Control<QTableWidget>(container) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalHeader()->hide();
}

void Grid::setTable(const QStringList& header, const std::vector<QStringList>& rows) {
    clear();
    setColumnCount(static_cast<int>(header.size()));
    setRowCount(static_cast<int>(rows.size()));
    setHorizontalHeaderLabels(header);
    for (int r = 0; r < rowCount(); ++r) {
        const QStringList& cells = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < columnCount() && c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            setItem(r, c, item);
        }
    }
    resizeColumnsToContents();
}

QString Grid::Text(int row, int col) const {
    const QTableWidgetItem* cell = item(row, col);
    return cell ? cell->text() : QString();
}

QString Grid::Header(int col) const {
    const QTableWidgetItem* cell = horizontalHeaderItem(col);
    return cell ? cell->text() : QString();
}

ProgressBar::ProgressBar(QWidget* container) : Control<QProgressBar>(container) {
    setTextVisible(false);
    setRange(0, 100);
    setValue(0);
}

// ---------------------------------------------------------------------------------------------
ImageBox::ImageBox(QWidget* container) : Control<MouseArea>(container) {}

void ImageBox::setPicture(const QImage& picture) {
    picture_ = picture;
    stretched_ = QImage();
    update();
}

void ImageBox::setBlank(bool blank) {
    blank_ = blank;
    update();
}

void ImageBox::paintEvent(QPaintEvent* e) {
    if (picture_.isNull() || blank_) return;
    QPainter painter(this);
    if (!stretch) {
        painter.drawImage(0, 0, picture_);
        return;
    }
    // Far larger than any screen (a magnified whole photo): only the part to be painted is scaled.
    constexpr qint64 kLargestCachedPixels = qint64{1} << 24;
    if (qint64{width()} * height() > kLargestCachedPixels) {
        painter.setClipRect(e->rect());
        painter.drawImage(rect(), picture_);
        return;
    }
    // A radiograph may be 30000 pixels wide: scale it once per size, not at every repaint.
    if (stretched_.size() != size())
        stretched_ = picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    painter.drawImage(0, 0, stretched_);
}

QPointF ImageBox::toUnits(const QPointF& pixels) const {
    const Unit u = unit();
    return QPointF(fromPixels(pixels.x(), u), fromPixels(pixels.y(), u));
}

// ---------------------------------------------------------------------------------------------
Shape::Shape(QWidget* container, Kind kind) : Control<QWidget>(container), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setFillColour(core::Colour c) {
    fill_ = c;
    update();
}
void Shape::setFilled(bool f) {
    filled_ = f;
    update();
}
void Shape::setBorderColour(core::Colour c) {
    border_ = c;
    update();
}
void Shape::setBorderWidth(int w) {
    borderWidth_ = std::max(0, w);
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (borderWidth_ > 0) {
        painter.setPen(QPen(toQColor(border_), borderWidth_));
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(filled_ ? QBrush(toQColor(fill_)) : Qt::NoBrush);
    // The outline lies inside the control's rectangle; a square or circle is centred in it.
    QRect r = rect().adjusted(0, 0, -1, -1);
    if (kind_ == Kind::Square || kind_ == Kind::Circle) {
        const int side = std::min(r.width(), r.height());
        r = QRect((width() - 1 - side) / 2, (height() - 1 - side) / 2, side, side);
    }
    if (kind_ == Kind::Oval || kind_ == Kind::Circle) {
        painter.drawEllipse(r);
    } else {
        painter.drawRect(r);
    }
}

// ---------------------------------------------------------------------------------------------
LineShape::LineShape(QWidget* container) : QWidget(container) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineShape::setEnds(double x1, double y1, double x2, double y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    if (const ScaledContainer* s = scaledContainer(parentWidget())) {
        pa_ = s->userToPixel(QPointF(x1, y1));
        pb_ = s->userToPixel(QPointF(x2, y2));
    }
    a_ = pixelRectIn(parentWidget(), x1, y1, 0, 0).topLeft();
    b_ = pixelRectIn(parentWidget(), x2, y2, 0, 0).topLeft();
    setGeometry(QRect(QPoint(std::min(a_.x(), b_.x()), std::min(a_.y(), b_.y())),
                      QPoint(std::max(a_.x(), b_.x()), std::max(a_.y(), b_.y()))));
    update();
}

QPointF LineShape::end(int which) const {
    if (const ScaledContainer* s = scaledContainer(parentWidget()))
        return s->pixelToUser(which == 0 ? pa_ : pb_);
    return which == 0 ? QPointF(x1_, y1_) : QPointF(x2_, y2_);
}

void LineShape::setBorderColour(core::Colour c) {
    colour_ = c;
    update();
}

void LineShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(toQColor(colour_));
    painter.drawLine(a_ - pos(), b_ - pos());
}

}  // namespace ui
