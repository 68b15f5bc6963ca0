#include "ui/Menu.h"

#include <QWidget>

namespace ui {

MenuItem::MenuItem(QWidget* owner, const QString& caption)
    : QObject(owner), owner_(owner), action_(new QAction(caption, this)) {
    connect(action_, &QAction::triggered, this, [this] {
        // Qt flips a checkable action's tick before its handlers run; here the tick is the
        // program's to set, so the click handler sees the state the user clicked on.
        if (action_->isCheckable() && action_->isChecked() != checked_) action_->setChecked(checked_);
        emit Click();
    });
}

MenuItem::~MenuItem() = default;

QMenu* MenuItem::menu() {
    if (!menu_) {
        menu_ = std::make_unique<QMenu>(action_->text());
        action_->setMenu(menu_.get());
    }
    return menu_.get();
}

MenuItem* MenuItem::add(const QString& caption) {
    auto* item = new MenuItem(owner_, caption);  // owned by the form, like every item
    menu()->addAction(item->action());
    items_.append(item);
    return item;
}

void MenuItem::addSeparator() {
    menu()->addSeparator();
}

QString MenuItem::Caption() const {
    QString text = action_->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) text.remove(i, 1);  // "&&" stands for one "&"
    }
    return text;
}

void MenuItem::setCaption(const QString& c) {
    action_->setText(c);
    if (menu_) menu_->setTitle(c);
}

void MenuItem::setChecked(bool c) {
    checked_ = c;
    action_->setCheckable(true);
    action_->setChecked(c);
}

void MenuItem::setShortcut(const QKeySequence& keys, Qt::ShortcutContext context) {
    setShortcuts({keys});
    action_->setShortcutContext(context);
}

void MenuItem::setShortcuts(const QList<QKeySequence>& keys) {
    action_->setShortcuts(keys);
    action_->setShortcutContext(Qt::WindowShortcut);
    // An item of a pop-up menu is in no menu bar; adding it to the form makes its keys work.
    if (owner_ && !owner_->actions().contains(action_)) owner_->addAction(action_);
}

}  // namespace ui
