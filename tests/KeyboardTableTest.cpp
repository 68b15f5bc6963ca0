// The manual's keyboard table against the program: every key a user can press over a curve window
// and over the preview is pressed, and the keys that change the count, the proposals, the marking,
// the section or open a dialog must be exactly the keys the manual lists for that window.
#include <QRegularExpression>
#include <set>

#include "AppFixture.h"
#include "compare/windows/CompareForm.h"
#include "proposals/windows/ProposeForm.h"

namespace {

using Keys = std::set<QString>;

// The keys listed in backquotes for `window` in the manual's table ("`1`–`9`" is a range).
Keys manualKeys(const QString& window) {
    QFile file(testsupport::sourceFile("docs/manual.md"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    Keys keys;
    static const QRegularExpression quoted(QStringLiteral("`([^`]+)`(?:–`([^`]+)`)?"));
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QStringList cells = line.split(QLatin1Char('|'));
        if (cells.size() < 4 || cells[1].trimmed() != window) continue;
        for (auto m = quoted.globalMatch(cells[2]); m.hasNext();) {
            const auto match = m.next();
            const QString first = match.captured(1), last = match.captured(2);
            if (last.isEmpty()) {
                keys.insert(first);
                continue;
            }
            const QString prefix = first.chopped(1);  // "Num1"–"Num9": the digits after "Num"
            for (QChar d = first.back(); d <= last.back(); d = QChar(d.unicode() + 1)) keys.insert(prefix + d);
        }
    }
    return keys;
}

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString name;
};

// Every key a user might try: digits, the keypad, letters (alone and with Ctrl), editing and
// moving keys, punctuation and the function keys.
std::vector<Key> everyKey() {
    std::vector<Key> keys;
    for (int d = 0; d <= 9; ++d) {
        keys.push_back({Qt::Key(Qt::Key_0 + d), Qt::NoModifier, QString::number(d)});
        keys.push_back({Qt::Key(Qt::Key_0 + d), Qt::KeypadModifier, QStringLiteral("Num%1").arg(d)});
    }
    for (int c = 0; c < 26; ++c) {
        const QString letter(QChar('A' + c));
        keys.push_back({Qt::Key(Qt::Key_A + c), Qt::NoModifier, letter});
        keys.push_back({Qt::Key(Qt::Key_A + c), Qt::ControlModifier, QStringLiteral("Ctrl+") + letter});
    }
    for (int f = 0; f < 12; ++f)
        keys.push_back({Qt::Key(Qt::Key_F1 + f), Qt::NoModifier, QStringLiteral("F%1").arg(f + 1)});
    const std::pair<Qt::Key, const char*> others[] = {
        {Qt::Key_Return, "Enter"}, {Qt::Key_Backspace, "Backspace"}, {Qt::Key_Tab, "Tab"}, {Qt::Key_Escape, "Esc"},
        {Qt::Key_Delete, "Del"},   {Qt::Key_Insert, "Ins"},          {Qt::Key_Home, "Home"}, {Qt::Key_End, "End"},
        {Qt::Key_PageUp, "PgUp"},  {Qt::Key_PageDown, "PgDn"},       {Qt::Key_Left, "Left"}, {Qt::Key_Right, "Right"},
        {Qt::Key_Up, "Up"},        {Qt::Key_Down, "Down"},           {Qt::Key_Space, "Space"}, {Qt::Key_Comma, ","},
        {Qt::Key_Period, "."},     {Qt::Key_Minus, "-"},             {Qt::Key_Plus, "+"}};
    for (const auto& [key, name] : others) keys.push_back({key, Qt::NoModifier, QString::fromLatin1(name)});
    keys.push_back({Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("Enter")});
    keys.push_back({Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, QStringLiteral("Ctrl+Shift+Z")});
    return keys;
}

// What a key can change that the user sees.
struct Seen {
    std::vector<QString> marks;
    bool active;
    std::vector<long> proposed;
    long viewLeft;
    bool dialogOpen;
    bool operator==(const Seen&) const = default;
};

Seen seen() {
    const bool dialogOpen = app::frmNote->isVisible() || app::frmLaminaName->isVisible();
    Seen s{{}, app::PointerActive, app::ProposedPositions, app::ViewLeft, dialogOpen};
    for (long p = 1; p <= app::DataLength; ++p)
        s.marks.push_back(app::YearMark(p).toString() + '|' + app::MarkerLabel(p) + '|' + app::MarkerNote(p));
    return s;
}

}  // namespace

class KeyboardTableTest : public AppTest {
  protected:
    static constexpr long kLength = 400;
    long pointerAt = 0;

    void SetUp() override {
        AppTest::SetUp();
        openSyntheticCore(static_cast<int>(kLength));
        importXrf(dir.filePath("Results.txt"));
        ASSERT_TRUE(app::XrfLoaded);
        // Columns 100..140: "." and "," centre the section on a boundary off its middle.
        placeSection(app::frmPreview->previewImage->Width() * 100 / kLength,
                     app::frmPreview->previewImage->Width() * 40 / kLength);
        pointerAt = kLength - app::ViewLeft - 25;
        keyAt(4, pointerAt + 10, Qt::Key_1);  // something to undo, and something to redo
        keyAt(4, pointerAt + 12, Qt::Key_2);
        app::UndoMarker();
        // Proposals, one under the pointer, compared with the count: every key has something to act on.
        app::ProposedPositions = {pointerAt - 200, pointerAt - 100, pointerAt};  // in position order
        app::CompareWithProposals();
    }

    // The keys that act over a window: each pressed with the pointer over `under` (curve window 4's
    // plot, at the position of SetUp, or the preview), then everything it changed put back.
    Keys keysThatAct(const std::function<void(const Key&)>& press, QWidget* under = plot(4)) {
        const Seen before = seen();
        const auto count = std::tuple{app::YearMark, app::MarkerLabel, app::MarkerNote, app::UndoPosition, app::UndoValue,
                                      app::RedoEntries};
        const Keys everywhere = manualKeys(QStringLiteral("All windows"));  // they quit, save, open: tried apart
        const double sectionLeft = app::frmPreview->sectionFrame->Left(),
                     sectionWidth = app::frmPreview->sectionFrame->Width();
        Keys acting;
        for (const Key& key : everyKey()) {
            if (everywhere.count(key.name)) continue;
            hover(under, under == plot(4) ? QPoint(columnOf(pointerAt), 30) : QPoint(30, 30));
            press(key);
            const Seen after = seen();
            if (after == before) continue;
            acting.insert(key.name);
            if (after.dialogOpen) {
                app::frmNote->close();
                app::frmLaminaName->close();
            }
            if (after.active != before.active) app::ToggleActivation();
            if (after.viewLeft != before.viewLeft) placeSection(sectionLeft, sectionWidth);
            std::tie(app::YearMark, app::MarkerLabel, app::MarkerNote, app::UndoPosition, app::UndoValue,
                     app::RedoEntries) = count;
            app::ProposedPositions = before.proposed;
            EXPECT_TRUE(seen() == before) << "could not undo " << qPrintable(key.name);
        }
        // Ctrl with a key that acts alone is that key.
        for (auto k = acting.begin(); k != acting.end();)
            k = k->startsWith(QStringLiteral("Ctrl+")) && acting.count(k->mid(5)) ? acting.erase(k) : std::next(k);
        return acting;
    }

    // As the user types: through the window system, Ctrl pressed first when the key needs it.
    static void type(QWindow* window, const Key& key) {
        const bool ctrl = key.modifiers & Qt::ControlModifier;
        if (ctrl) QTest::keyPress(window, Qt::Key_Control);
        QTest::keyClick(window, key.key, key.modifiers);
        if (ctrl) QTest::keyRelease(window, Qt::Key_Control, Qt::ControlModifier);
    }
};

TEST_F(KeyboardTableTest, TheManualListsEveryKeyOfTheCurveWindows) {
    const Keys acting = keysThatAct([](const Key& key) {
        app::curveWindow(4).activateWindow();
        plot(4)->setFocus();
        type(app::curveWindow(4).windowHandle(), key);
    });
    EXPECT_EQ(acting, manualKeys(QStringLiteral("Curve windows")));
    EXPECT_TRUE(acting.count(QStringLiteral("5")) &&
                acting.count(QStringLiteral("Ctrl+Z")));  // the test reaches the keys
}

TEST_F(KeyboardTableTest, TheManualListsEveryKeyOfThePreview) {
    hover(plot(4), QPoint(columnOf(pointerAt), 30));  // the curve windows' pointer, where the keys mark
    const Keys acting = keysThatAct(
        [](const Key& key) {
            app::frmPreview->Show();
            type(app::frmPreview->windowHandle(), key);
        },
        app::frmPreview->previewImage);
    EXPECT_EQ(acting, manualKeys(QStringLiteral("Preview")));
    EXPECT_TRUE(acting.count(QStringLiteral("Num7")));
}

// The keys of every window: each from a curve window, as the manual lists them.
TEST_F(KeyboardTableTest, TheKeysOfEveryWindowWorkFromACurveWindow) {
    EXPECT_EQ(manualKeys(QStringLiteral("All windows")), (Keys{"Ctrl+O", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+Q"}));
    const auto press = [](QKeySequence keys) {
        app::curveWindow(4).activateWindow();
        hover(plot(4), QPoint(30, 30));
        const QKeyCombination combination = keys[0];
        QTest::keyClick(app::curveWindow(4).windowHandle(), combination.key(), combination.keyboardModifiers());
    };
    const QString work = dir.filePath("work.csv");
    dialogs->answerSave(work);
    press(QKeySequence(Qt::CTRL | Qt::Key_S));  // not saved before: Save as asks for a name
    ASSERT_TRUE(app::Saved && QFile::exists(work));
    keyAt(4, pointerAt, Qt::Key_3);
    press(QKeySequence(Qt::CTRL | Qt::Key_S));  // then straight to the file: the level-3 row, no dialog
    EXPECT_TRUE(app::Saved && files::readFileBytes(work).contains(",3,\"---\",\"---\"\r\n") &&
                dialogs->shownOf(ui::ScriptedDialogs::Kind::SaveFile).size() == 1);
    dialogs->answerSave(dir.filePath("other.csv"));
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_EQ(app::WorkingFileName, dir.filePath("other.csv"));
    press(QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(app::programEnded());
}

// Alt+F opens the File menu (its caption reads as before); Ctrl+O before anything is open asks for
// the radiograph, then for the XRF table.
TEST_F(AppTest, AltFOpensTheFileMenuAndCtrlOOpensWhatComesNext) {
    app::MainForm& main = start();
    main.activateWindow();
    QTest::keyClick(main.windowHandle(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), main.mnuFile->menu());
    EXPECT_EQ(main.mnuFile->Caption(), "File");
    main.mnuFile->menu()->hide();
    dialogs->answerOpen(testsupport::realData("radiograph.bmp")).answerOpen(testsupport::realData("Results.txt"));
    QTest::keyClick(main.windowHandle(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(app::RadiographImported && !app::XrfLoaded);
    QTest::keyClick(app::frmMain->windowHandle(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(app::XrfLoaded);
}
