#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "ui/ScriptedDialogs.h"

namespace testsupport {

// Installs scripted dialogs for the lifetime of the object and puts the previous ones back.
class ScriptedDialogsScope {
  public:
    ScriptedDialogsScope();
    ~ScriptedDialogsScope();
    ui::ScriptedDialogs& operator*() { return *dialogs_; }
    ui::ScriptedDialogs* operator->() { return dialogs_; }

  private:
    ui::ScriptedDialogs* dialogs_;
    std::unique_ptr<ui::Dialogs> previous_;
};

QString realData(const QString& name);    // a file of the real scanner data set
QString testData(const QString& name);    // a file kept with the tests
QString sourceFile(const QString& name);  // a file of the source tree

}  // namespace testsupport
