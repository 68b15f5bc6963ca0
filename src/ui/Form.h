#pragma once

#include <functional>

#include <QMenuBar>
#include <QWidget>

#include "ui/Cursor.h"
#include "ui/Menu.h"
#include "ui/Twips.h"

namespace ui {

class ClientArea;

// A top-level window. Left/Top/Width/Height are the outer window in twips (15 per pixel),
// read back exactly as code set them; the client area (below the menu bar) is ScaleWidth x
// ScaleHeight in the form's own unit, twips or pixels. The outer size includes a fixed allowance
// for the border and caption, so layouts computed in twips come out the same on every desktop.
//
// Events arrive as virtual handlers named after the events; Form_Load runs once, on first use.
class Form : public QWidget {
    Q_OBJECT
  public:
    // At 15 twips per pixel; a denser display has them larger in proportion (frameAllowance).
    static constexpr int kBorderPixels = 8;    // left + right border
    static constexpr int kCaptionPixels = 24;  // caption + top and bottom border

    explicit Form(Unit unit = Unit::Twips, QWidget* parent = nullptr);
    ~Form() override;

    // Runs Form_Load the first time; later calls do nothing.
    void load();
    bool isLoaded() const { return loaded_; }

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void setLeft(double v) { Move(v, top_, width_, height_); }
    void setTop(double v) { Move(left_, v, width_, height_); }
    void setWidth(double v) { Move(left_, top_, v, height_); }
    void setHeight(double v) { Move(left_, top_, width_, v); }
    void Move(double left, double top, double width, double height);
    // The border and caption allowance of this window in pixels (a tool window has a smaller caption).
    void setFrameAllowance(int borderPixels, int captionPixels);
    // The border (width) and caption (height) allowance in pixels at the present density.
    QSize frameAllowance() const;
    // A window that is not resizable keeps the size code gives it; the user cannot drag its border.
    void setResizable(bool resizable);

    Unit unit() const { return unit_; }
    double ScaleWidth() const;
    double ScaleHeight() const;

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& c) { setWindowTitle(c); }

    // Show loads the form if needed, shows it and brings it to the front.
    void Show();
    void Hide() { hide(); }
    bool Visible() const { return isVisible(); }

    QWidget* client() const;

    // A title in the menu bar, and a menu that only pops up (never in the bar).
    MenuItem* addMenu(const QString& caption);
    MenuItem* addPopupMenu(const QString& caption);
    // Pops the menu up at the mouse pointer; it does not wait for the choice.
    void PopupMenu(MenuItem* menu);
    MenuItem* lastPopup() const { return lastPopup_; }
    QMenuBar* menuBar() const { return menuBar_; }

    void setMousePointer(MousePointer p);

    // Files dropped on any window (from a file manager) go to this handler, local paths in the
    // order dropped; without one, no window takes a drop.
    static void setFileDropHandler(std::function<void(const QStringList& paths)> handler);

  protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    // The close box. Set cancel to keep the window open. By default the window is hidden; it keeps
    // its state (nothing is freed before the program ends). A handler that throws keeps it open.
    virtual void Form_Unload(bool& cancel) { (void)cancel; }
    virtual void Form_MouseDown(int button, int shift, double x, double y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    virtual void Form_MouseMove(int button, int shift, double x, double y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    virtual void Form_MouseUp(int button, int shift, double x, double y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    virtual void Form_DblClick() {}
    virtual void Form_KeyDown(int keyCode, int shift) { (void)keyCode, (void)shift; }
    virtual void Form_KeyUp(int keyCode, int shift) { (void)keyCode, (void)shift; }

    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    friend void setTwipsPerPixel(int twips);
    void placeControlsAgain();
    void applyGeometry();
    QPoint shownPlace() const;
    QSize clientSizeFor(double widthTwips, double heightTwips) const;
    void layoutClient();
    int menuHeight() const;

    Unit unit_;
    ClientArea* client_;
    QMenuBar* menuBar_ = nullptr;
    MenuItem* lastPopup_ = nullptr;
    int borderPixels_ = kBorderPixels;
    int captionPixels_ = kCaptionPixels;
    bool loaded_ = false;
    bool applying_ = false;
    bool resizable_ = true;
    QSize handledSize_;  // the client size Form_Resize last ran for
    double left_ = 0.0, top_ = 0.0, width_ = 4800.0, height_ = 3600.0;
};

// True while the user types into a text box or an editable combo box of any window.
bool textEntryHasFocus();
// Hides every window of the program (as it ends).
void hideAllWindows();

// Sets the twips per screen pixel (15 "Low", 12 "High") and lays every window and everything placed
// in twips out again at the new size; windows whose size changes get their Form_Resize.
void setTwipsPerPixel(int twips);

}  // namespace ui
