#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <memory>

namespace ui {

// A menu item: a command, or a menu holding further items. Items with children show them as a
// submenu (or as the menu of a menu-bar title, or as a pop-up menu). Its tick changes only when
// the program sets it: choosing a ticked item runs its command with the tick as it was.
class MenuItem : public QObject {
    Q_OBJECT
  public:
    // The form (owner) keeps the item alive; shortcuts act while that form is active.
    MenuItem(QWidget* owner, const QString& caption);
    ~MenuItem() override;

    MenuItem* add(const QString& caption);
    void addSeparator();

    // The caption as it reads, without the mark of its Alt key ("&File" reads "File").
    QString Caption() const;
    void setCaption(const QString& c);
    bool Checked() const { return checked_; }
    void setChecked(bool c);
    bool Enabled() const { return action_->isEnabled(); }
    // An item whose command is not built yet stays disabled, whatever the program enables.
    void setEnabled(bool e) { action_->setEnabled(e && built_); }
    void setNotBuiltYet() {
        built_ = false;
        action_->setEnabled(false);
    }
    bool Visible() const { return action_->isVisible(); }
    void setVisible(bool v) { action_->setVisible(v); }
    // Keys that run the item while its form is the active window (the program's wide shortcuts: while
    // any of its windows is).
    void setShortcut(const QKeySequence& keys, Qt::ShortcutContext context = Qt::WindowShortcut);
    void setShortcuts(const QList<QKeySequence>& keys);
    QKeySequence shortcut() const { return action_->shortcut(); }

    QAction* action() const { return action_; }
    QMenu* menu();  // the submenu, created when the first child is added
    const QList<MenuItem*>& children() const { return items_; }

    // Runs the command as a click of the item would (when enabled).
    void trigger() { action_->trigger(); }

  signals:
    void Click();

  private:
    QWidget* owner_;
    QAction* action_;
    std::unique_ptr<QMenu> menu_;
    QList<MenuItem*> items_;
    bool checked_ = false;
    bool built_ = true;
};

}  // namespace ui
