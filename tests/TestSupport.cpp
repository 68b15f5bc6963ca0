#include "TestSupport.h"

namespace testsupport {

ScriptedDialogsScope::ScriptedDialogsScope() {
    auto dialogs = std::make_unique<ui::ScriptedDialogs>();
    dialogs_ = dialogs.get();
    previous_ = ui::installDialogs(std::move(dialogs));
}

ScriptedDialogsScope::~ScriptedDialogsScope() {
    ui::installDialogs(std::move(previous_));
}

QString realData(const QString& name) {
    return QStringLiteral(STRATALYSER_TEST_DATA_DIR "/YAN8A1_200um/") + name;
}

QString testData(const QString& name) {
    return QStringLiteral(STRATALYSER_TEST_DATA_DIR "/") + name;
}

QString sourceFile(const QString& name) {
    return QStringLiteral(STRATALYSER_SOURCE_DIR "/") + name;
}

}  // namespace testsupport
