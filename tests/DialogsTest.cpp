#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Errors.h"
#include "ui/Dialogs.h"

using ui::MessageButtons;
using ui::MessageIcon;
using ui::MessageResult;
using ui::ScriptedDialogs;

TEST(Dialogs, BarFiltersBecomeQtFilters) {
    EXPECT_EQ(ui::qtFilter("DataFile(*.csv)|*.csv"), "DataFile(*.csv)");
    EXPECT_EQ(ui::qtFilter("All (*.*)|*.*|Bitmap (*.bmp)|*.bmp|Jpeg (*.jpg)|*.jpg"),
              "All (*.*);;Bitmap (*.bmp);;Jpeg (*.jpg)");
    EXPECT_EQ(ui::qtFilter("Images|*.bmp;*.jpg"), "Images (*.bmp *.jpg)");
    EXPECT_EQ(ui::qtFilter(""), "");
}

TEST(Dialogs, CancelIsAnErrorAndUnscriptedDialogsNeverWait) {
    testsupport::ScriptedDialogsScope scripted;
    scripted->cancelFile();
    EXPECT_THROW(ui::dialogs().openFile({}), core::CancelledError);
    EXPECT_EQ(scripted->unexpected(), 0);
    // Nothing queued: answered at once, and flagged.
    EXPECT_THROW(ui::dialogs().saveFile({}), core::CancelledError);
    EXPECT_FALSE(ui::dialogs().chooseColour(255).has_value());
    EXPECT_EQ(ui::dialogs().messageBox("Save?", MessageButtons::YesNo, MessageIcon::None, "t"),
              MessageResult::No);
    EXPECT_EQ(scripted->unexpected(), 3);
    // An OK box needs no answer; its text, title and icon are recorded.
    ui::dialogs().messageBox("Format error.", MessageButtons::Ok, MessageIcon::Exclamation, "Error");
    const auto messages = scripted->shownOf(ScriptedDialogs::Kind::Message);
    EXPECT_EQ(messages.back().text, "Format error.");
    EXPECT_EQ(messages.back().icon, MessageIcon::Exclamation);
    EXPECT_EQ(scripted->unexpected(), 3);
    // A queued answer of another kind is not consumed by the wrong dialog.
    scripted->answerColour(65535);
    EXPECT_THROW(ui::dialogs().openFile({}), core::CancelledError);
    EXPECT_EQ(ui::dialogs().chooseColour(0), std::optional<core::Colour>(65535));
    ui::dialogs().beep();
    EXPECT_EQ(scripted->shownOf(ScriptedDialogs::Kind::Beep).size(), 1u);
}
