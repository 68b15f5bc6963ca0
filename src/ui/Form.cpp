#include "ui/Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>

#include "ui/Controls.h"
#include "ui/KeyCodes.h"
#include "ui/Screen.h"

namespace ui {

// The client area: mouse events on a form's background, in the form's units.
class ClientArea : public MouseArea {
  public:
    ClientArea(QWidget* form, Unit unit) : MouseArea(form) { setUnit(this, unit); }

  protected:
    QPointF toUnits(const QPointF& pixels) const override {
        const Unit u = unitOf(this);
        return QPointF(fromPixels(pixels.x(), u), fromPixels(pixels.y(), u));
    }
};

namespace {
int px(double twips) {
    return toPixels(twips, Unit::Twips);
}
}  // namespace

Form::Form(Unit unit, QWidget* parent)
    : QWidget(parent, Qt::Window), unit_(unit), client_(new ClientArea(this, unit)) {
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends through its own quit path
    // The pointer moves over several windows at once (preview, curves, photo): a tip shows in
    // whichever it is over, without a click to make that window active first.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setAcceptDrops(true);
    connect(client_, &MouseArea::MouseDown, this,
            [this](int button, int shift, double x, double y) { Form_MouseDown(button, shift, x, y); });
    connect(client_, &MouseArea::MouseMove, this,
            [this](int button, int shift, double x, double y) { Form_MouseMove(button, shift, x, y); });
    connect(client_, &MouseArea::MouseUp, this,
            [this](int button, int shift, double x, double y) { Form_MouseUp(button, shift, x, y); });
    connect(client_, &MouseArea::DblClick, this, [this] { Form_DblClick(); });
    applyGeometry();
}

Form::~Form() = default;

void Form::load() {
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
    if (size() != handledSize_) {  // the first Resize follows the Load
        handledSize_ = size();
        Form_Resize();
    }
}

QWidget* Form::client() const {
    return client_;
}

void Form::Move(double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    applyGeometry();
}

void Form::setFrameAllowance(int borderPixels, int captionPixels) {
    borderPixels_ = borderPixels;
    captionPixels_ = captionPixels;
    applyGeometry();
}

// Borders and captions grow with the display's density, as the window system draws them.
QSize Form::frameAllowance() const {
    const double scale = static_cast<double>(kLowTwipsPerPixel) / twipsPerPixel();
    return QSize(static_cast<int>(std::lround(borderPixels_ * scale)),
                 static_cast<int>(std::lround(captionPixels_ * scale)));
}

QSize Form::clientSizeFor(double widthTwips, double heightTwips) const {
    const QSize frame = frameAllowance();
    return QSize(std::max(1, px(widthTwips) - frame.width()), std::max(1, px(heightTwips) - frame.height()));
}

void Form::setResizable(bool resizable) {
    resizable_ = resizable;
    if (resizable) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    applyGeometry();
}

// Where the window shows: at its place, or moved inside the screen's available area when it would
// lie outside. The place itself (as code and the settings file set it) stays.
QPoint Form::shownPlace() const {
    const QRect area = screen::availablePixels();
    const QSize outer = frameGeometry().size();
    return QPoint(std::max(area.left(), std::min(px(left_), area.right() + 1 - outer.width())),
                  std::max(area.top(), std::min(px(top_), area.bottom() + 1 - outer.height())));
}

void Form::applyGeometry() {
    applying_ = true;
    const QSize outer = clientSizeFor(width_, height_);
    if (resizable_) {
        resize(outer);
    } else {
        setFixedSize(outer);
    }
    move(shownPlace());
    applying_ = false;
    layoutClient();
    // A size set by code takes effect at once, shown or not, as the handlers expect.
    if (loaded_ && size() != handledSize_) {
        handledSize_ = size();
        Form_Resize();
    }
}

void Form::placeControlsAgain() {
    // Containers come before what they hold, so each control is placed in its container's new size.
    for (QWidget* w : findChildren<QWidget*>()) {
        if (auto* placed = dynamic_cast<Placed*>(w)) placed->placeAgain();
    }
}

void setTwipsPerPixel(int twips) {
    if (twips == twipsPerPixel()) return;
    detail::twipsPerPixelSetting() = twips;
    std::vector<Form*> forms;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* form = dynamic_cast<Form*>(w)) forms.push_back(form);
    }
    // Every control first, then the windows: a window's Resize handler sees its controls laid out.
    for (Form* form : forms) form->placeControlsAgain();
    for (Form* form : forms) form->applyGeometry();
}

namespace {
std::function<void(const QStringList&)>& fileDropHandler() {
    static std::function<void(const QStringList&)> handler;
    return handler;
}

QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    if (!data) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths;
}
}  // namespace

void Form::setFileDropHandler(std::function<void(const QStringList& paths)> handler) {
    fileDropHandler() = std::move(handler);
}

void Form::dragEnterEvent(QDragEnterEvent* e) {
    if (fileDropHandler() && !localFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void Form::dropEvent(QDropEvent* e) {
    const QStringList paths = localFiles(e->mimeData());
    if (!fileDropHandler() || paths.isEmpty()) return;
    e->acceptProposedAction();
    fileDropHandler()(paths);
}

bool textEntryHasFocus() {
    const QWidget* focus = QApplication::focusWidget();
    return qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QComboBox*>(focus);
}

void hideAllWindows() {
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
}

int Form::menuHeight() const {
    return menuBar_ ? menuBar_->sizeHint().height() : 0;
}

void Form::layoutClient() {
    const int bar = menuHeight();
    if (menuBar_) menuBar_->setGeometry(0, 0, width(), bar);
    client_->setGeometry(0, bar, width(), std::max(0, height() - bar));
}

double Form::ScaleWidth() const {
    return fromPixels(client_->width(), unit_);
}
double Form::ScaleHeight() const {
    return fromPixels(client_->height(), unit_);
}

void Form::Show() {
    load();
    show();
    raise();
    activateWindow();
}

MenuItem* Form::addMenu(const QString& caption) {
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);  // owned by this form
        menuBar_->setNativeMenuBar(false);
        layoutClient();
    }
    auto* item = new MenuItem(this, caption);  // owned by this form
    item->menu();
    menuBar_->addAction(item->action());
    layoutClient();
    return item;
}

MenuItem* Form::addPopupMenu(const QString& caption) {
    auto* item = new MenuItem(this, caption);  // owned by this form
    item->menu();
    return item;
}

void Form::PopupMenu(MenuItem* menu) {
    lastPopup_ = menu;
    if (menu) menu->menu()->popup(QCursor::pos());
}

void Form::setMousePointer(MousePointer p) {
    setCursor(cursorShape(p));
}

void Form::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    // A move by the user (or the window system) updates the twips; our own placement keeps the
    // exact values code set.
    if (!applying_ && pos() != shownPlace()) {
        left_ = fromPixels(pos().x(), Unit::Twips);
        top_ = fromPixels(pos().y(), Unit::Twips);
    }
}

void Form::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutClient();
    if (!applying_ && size() != clientSizeFor(width_, height_)) {
        width_ = fromPixels(width() + frameAllowance().width(), Unit::Twips);
        height_ = fromPixels(height() + frameAllowance().height(), Unit::Twips);
    }
    if (loaded_ && size() != handledSize_) {
        handledSize_ = size();
        Form_Resize();
    }
}

// Shown with its frame, the window is placed again: a frame too may not leave the screen.
void Form::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    applying_ = true;
    move(shownPlace());
    applying_ = false;
}

void Form::closeEvent(QCloseEvent* e) {
    // The window stays unless the handler finishes and lets it go: an error inside Form_Unload
    // (reported by the application) must not leave a hidden window behind a running program.
    e->ignore();
    bool cancel = false;
    Form_Unload(cancel);
    e->setAccepted(!cancel);
}

void Form::keyPressEvent(QKeyEvent* e) {
    const int code = keyCodeFromQt(e->key(), e->modifiers());
    if (code != 0) Form_KeyDown(code, shiftFromQt(e->modifiers()));
    QWidget::keyPressEvent(e);
}

void Form::keyReleaseEvent(QKeyEvent* e) {
    const int code = keyCodeFromQt(e->key(), e->modifiers());
    if (code != 0) Form_KeyUp(code, shiftFromQt(e->modifiers()));
    QWidget::keyReleaseEvent(e);
}

}  // namespace ui
