// Runs inside the program's own application object, which keeps the program alive when an event
// handler fails.
#include <gtest/gtest.h>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "TestSupport.h"
#include "core/Errors.h"
#include "ui/Application.h"
#include "ui/Form.h"

TEST(Application, AnErrorInAnEventHandlerIsReportedAndTheProgramGoesOn) {
    testsupport::ScriptedDialogsScope dialogs;
    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        ++clicks;
        throw core::SubscriptError("Subscript out of range: 26001");
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);  // still answering after the first failure
    const auto messages = dialogs->shownOf(ui::ScriptedDialogs::Kind::Message);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].text.contains("Subscript out of range: 26001"));
    EXPECT_EQ(messages[0].icon, ui::MessageIcon::Critical);
}

namespace {
// A window whose close-box handler fails, as quitting did when the settings could not be written.
class FailingToClose : public ui::Form {
  protected:
    void Form_Unload(bool&) override { throw core::TypeMismatchError(); }
};
}  // namespace

TEST(Application, AWindowWhoseCloseFailsStaysOpenAndTheUserIsTold) {
    testsupport::ScriptedDialogsScope dialogs;
    FailingToClose window;
    window.Show();
    EXPECT_FALSE(window.close());  // the close box, through the application as the window system sends it
    EXPECT_TRUE(window.isVisible());
    const auto messages = dialogs->shownOf(ui::ScriptedDialogs::Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains("Type mismatch"));
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::Application application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
