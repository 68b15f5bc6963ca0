#include "AppFixture.h"

using app::CurveForm;
using app::curveWindow;

namespace {
constexpr QRgb kCyan = 0xFF00FFFF;
constexpr QRgb kWhite = 0xFFFFFFFF;
bool isSet(const core::Variant& flag) {
    return flag.toDouble() != 0;
}
}  // namespace

// The synthetic core of 400 columns with its XRF table beside it; the section is all of it.
class LabelsAndViewTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        openSyntheticCore(400);
        placeSection();
    }
    void hoverAt(int k, long p, int y = 30) { hover(plot(k), QPoint(columnOf(p), y)); }
};

// Labels and notes placed through their dialogs (keys L and N): the position carries them, a cyan
// line (label) stands in every plot and the preview, a white tick (note) over the lowest 30 %
// stays after a redraw; the windows are locked while a dialog is open. The label dialog opens with
// the position's own texts (the last label one key away), the note dialog with the keyboard in its
// text; the note library fills the note, Escape changes nothing, the close box takes the note out.
TEST_F(LabelsAndViewTest, KeysLAndNLabelAndNoteThroughTheirDialogs) {
    importXrf(dir.filePath("Results.txt"));
    const auto allEnabled = [] { return curveWindowsWhere([](int k) { return curveWindow(k).isEnabled(); }); };
    const std::vector<int> locked, unlocked{1, 2, 3, 4, 5, 6};
    const long p = 150;
    keyAt(2, p, Qt::Key_L);
    app::LaminaNameForm& label = app::frmLaminaName.get();
    ASSERT_TRUE(label.isVisible() && allEnabled() == locked);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(shown(k, columnOf(p), 5), kCyan) << k;
    EXPECT_FALSE(app::Saved);
    QTest::keyClicks(label.labelBox, "T1");
    QTest::keyClick(label.labelBox, Qt::Key_Return);  // Return confirms, as in a dialog
    EXPECT_TRUE(!label.isVisible() && allEnabled() == unlocked);
    EXPECT_TRUE(app::MarkerLabel(p) == "#T1" && app::MarkerNote(p) == "#---");
    ASSERT_TRUE(app::LabelCount == 1 && app::LabelPositions(1) == p);
    const int x = qRound((app::DataLength - p) * app::frmPreview->renderSurface->ScaleWidth() / app::DataLength);
    EXPECT_EQ(app::frmPreview->renderSurface->Image().pixel(x, 3), kCyan);
    keyAt(3, p + 20, Qt::Key_L);
    EXPECT_TRUE(label.labelBox->Text().isEmpty() && label.focusWidget() == label.labelBox);
    QTest::keyClick(label.labelBox, Qt::Key_Up);
    label.okButton->click();
    EXPECT_EQ(app::MarkerLabel(p + 20), "#T1");
    keyAt(3, p, Qt::Key_L);
    EXPECT_EQ(label.labelBox->Text(), "T1");  // the position's own label
    label.okButton->click();

    const long q = 220;
    keyAt(4, q, Qt::Key_N);
    app::NoteForm& note = app::frmNote.get();
    ASSERT_TRUE(note.isVisible() && note.focusWidget() == note.noteBox);
    note.libraryList->setListIndex(6);  // "Tephra top"
    EXPECT_EQ(note.noteBox->Text(), "Tephra top");
    note.libraryList->setListIndex(0);  // "--- Select ---" replaces nothing
    EXPECT_EQ(note.noteBox->Text(), "Tephra top");
    note.okButton->click();
    EXPECT_TRUE(app::MarkerNote(q) == "#Tephra top" && app::NoteCount == 1);
    app::RedrawCurves();  // the note's tick stays in every plot
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(shown(k, redrawnColumnOf(q), plot(k)->surface().heightPixels() - 2), kWhite) << k;
    keyAt(4, q, Qt::Key_N);
    QTest::keyClick(note.noteBox, Qt::Key_Escape);  // Escape changes nothing
    EXPECT_TRUE(!note.isVisible() && app::MarkerNote(q) == "#Tephra top" && allEnabled() == unlocked);
    keyAt(4, q, Qt::Key_N);
    note.close();  // the close box takes the note out
    EXPECT_TRUE(app::MarkerNote(q) == "---" && allEnabled() == unlocked);
    keyAt(4, q, Qt::Key_N);
    EXPECT_EQ(note.noteBox->Text(), QString());  // after a cancel the dialog starts fresh
    QTest::keyClick(note.noteBox, Qt::Key_Return);
    EXPECT_EQ(app::MarkerNote(q), "#---");
}

// The label and note of a nearby position as the plot's tool tip: notes over the lowest 30 %,
// less than three columns away.
TEST_F(LabelsAndViewTest, NearbyLabelsAndNotesShowAsToolTips) {
    importXrf(dir.filePath("Results.txt"));
    const long p = 200;
    app::MarkerLabel(p) = "#A1";
    app::MarkerNote(p) = "#thin";
    app::MarkerNote(300) = "#low note";
    app::DrawMarkerLabels();
    ASSERT_TRUE(app::LabelCount == 1 && app::NoteCount == 2);
    const int low = plot(2)->surface().heightPixels() - 3, high = 5;  // notes show low down only
    const std::tuple<long, int, QString> tips[] = {
        {p + 2, low, "A1 (thin)"}, {298, low, "low note"}, {297, low, ""}, {p - 1, high, "A1 (thin)"}, {299, high, ""}};
    for (const auto& [at, y, tip] : tips) {
        hoverAt(2, at, y);
        EXPECT_EQ(plot(2)->ToolTipText(), tip) << at;
    }
    // ... shown while another window is the active one (Qt asks the window, not the widget).
    for (const QWidget* w : {static_cast<QWidget*>(&curveWindow(2)), static_cast<QWidget*>(&app::frmPreview.get())})
        EXPECT_TRUE(w->testAttribute(Qt::WA_AlwaysShowToolTips));
    // The depth under the pointer on the main window.
    hoverAt(2, 101, 5);
    EXPECT_EQ(app::frmMain->pointerReadout->Caption(), "20.01 mm");  // 0.01 + 0.2 * (101 - 1)
    // With a calendar year for the chronology's top, the year of the varve under the pointer too.
    for (const long p : {50, 100, 150}) keyAt(2, p, Qt::Key_1);
    app::KeepChronologyPlacement(2013, 0);  // as File > Save chronology keeps the year typed there
    for (const auto& [p, readout] : {std::pair{101L, "20.01 mm, 2012"}, {100L, "19.81 mm, 2012"}, {99L, "19.61 mm, 2013"},
                                     {30L, "5.81 mm"}, {160L, "31.81 mm"}}) {
        hoverAt(2, p, 40);
        EXPECT_EQ(app::frmMain->pointerReadout->Caption(), readout) << p;
    }

    // Hidden marker labels: no label list, notes still listed.
    app::frmPreview->mnuLamina->trigger();
    EXPECT_EQ(app::frmPreview->mnuLamina->Caption(), "Show marker labels");
    EXPECT_TRUE(app::LabelCount == 0 && app::NoteCount == 2);
    app::frmPreview->mnuLamina->trigger();
    EXPECT_EQ(app::LabelCount, 1);
}

TEST_F(LabelsAndViewTest, ViewCommandsShowHideAndAlignTheColumns) {
    importXrf(dir.filePath("Results.txt"));
    const auto visible = [] { return curveWindowsWhere([](int k) { return curveWindow(k).isVisible(); }); };
    curveWindow(1).mnuShow456->trigger();
    EXPECT_EQ(visible(), (std::vector<int>{1, 4, 5, 6}));
    curveWindow(5).mnuHideOthers->trigger();
    EXPECT_EQ(visible(), std::vector<int>{5});
    curveWindow(5).mnuShowAll->trigger();
    EXPECT_EQ(visible(), (std::vector<int>{1, 2, 3, 4, 5, 6}));

    const auto at = [](int k) { return QPointF(curveWindow(k).Left(), curveWindow(k).Top()); };
    curveWindow(2).Move(3000, 6000, curveWindow(2).Width(), curveWindow(2).Height());
    curveWindow(2).mnuAlign->trigger();
    const double h = curveWindow(1).Height();
    EXPECT_EQ(at(2), QPointF(3000, 6000));
    EXPECT_EQ(at(1), QPointF(3000, 6000 - h));
    EXPECT_EQ(at(3), QPointF(3000, 6000 + h));
    EXPECT_EQ(app::frmElastic->Top(), curveWindow(1).Top() - app::frmElastic->Height());
    EXPECT_EQ(app::frmScale->Top(), curveWindow(3).Top() + curveWindow(3).Height());

    // A double click restacks the column only while marking is off.
    curveWindow(5).Move(4000, 7000, curveWindow(5).Width(), curveWindow(5).Height());
    doubleClick(plot(5), QPoint(30, 30));
    EXPECT_NE(curveWindow(4).Left(), 4000);
    app::frmMain->mnuActive->trigger();
    ASSERT_FALSE(app::PointerActive);
    doubleClick(plot(5), QPoint(30, 30));
    EXPECT_EQ(at(4), QPointF(4000, 7000 - curveWindow(4).Height()));
    EXPECT_EQ(curveWindow(6).Top(), curveWindow(4).Top() + 2 * curveWindow(4).Height());
}

// Dragging the lower band line in the preview: the band of curve window 1 follows in whole rows
// at the release and the grey profile is taken from the new band. A release far outside the
// window clamps the line to the image.
TEST_F(LabelsAndViewTest, BandDragsInThePreviewAndInCurveWindowOne) {
    const auto before = app::GreyProfile(100);
    app::PreviewForm& preview = placeSection(6000, 3000);  // left of the section the lines can be grabbed
    CurveForm& c1 = curveWindow(1);
    const double lower = preview.bandLines(1)->Y1();
    QTest::mousePress(preview.previewImage, Qt::LeftButton, Qt::NoModifier, pixels(1500, lower));
    ASSERT_TRUE(isSet(app::DragLowerLine));
    QTest::mouseMove(preview.previewImage, pixels(1500, 5000));  // far below the image
    QTest::mouseRelease(preview.previewImage, Qt::LeftButton, Qt::NoModifier, pixels(1500, 5000));
    EXPECT_FALSE(isSet(app::DragLowerLine));
    EXPECT_TRUE(preview.bandLines(1)->Y1() == preview.previewImage->Height() &&
                c1.bandLines(1)->Y1() == c1.plot->ScaleHeight());
    EXPECT_EQ(app::BandRows, c1.bandLines(1)->Y1() - c1.bandLines(0)->Y1());
    EXPECT_NE(app::GreyProfile(100), before);  // the darker edge rows are in the band now

    // In curve window 1: the upper line dragged below the lower one stays a row above it.
    const double top = c1.bandLines(0)->Y1();
    const double pixelsPerRow = c1.plot->height() / c1.plot->ScaleHeight();
    QTest::mousePress(c1.plot, Qt::LeftButton, Qt::NoModifier, QPoint(20, qRound(top * pixelsPerRow)));
    ASSERT_TRUE(isSet(app::DragUpperLine));
    QTest::mouseMove(c1.plot, QPoint(20, c1.plot->height()));
    QTest::mouseRelease(c1.plot, Qt::LeftButton, Qt::NoModifier, QPoint(20, c1.plot->height()));
    EXPECT_TRUE(c1.bandLines(0)->Y1() == c1.bandLines(1)->Y1() - 1 && app::BandRows == 1);
    EXPECT_NEAR(preview.bandLines(0)->Y1(), preview.previewImage->Height() * c1.bandLines(0)->Y1() / c1.plot->ScaleHeight(),
                1e-9);
    EXPECT_TRUE(c1.bandLabel->Caption().startsWith(" Width: "));
    EXPECT_FALSE(isSet(app::DragUpperLine));
}

// Moving the section in the preview moves the raw image window's rectangle with it; the release
// renders the new section in all six windows.
TEST_F(LabelsAndViewTest, SectionDragsInThePreviewAndTheRawImageWindow) {
    importXrf(dir.filePath("Results.txt"));
    app::PreviewForm& preview = placeSection(3000, 3000);
    const long leftBefore = app::ViewLeft;
    QTest::mousePress(preview.previewImage, Qt::LeftButton, Qt::NoModifier, pixels(4500, 300));
    ASSERT_TRUE(app::DragSection);
    QTest::mouseMove(preview.previewImage, pixels(3000, 300));
    EXPECT_EQ(app::frmRawImage->sectionFrame->Left(), preview.sectionFrame->Left());
    EXPECT_LT(app::ViewLeft, leftBefore);
    QTest::mouseMove(preview.previewImage, pixels(-3000, 300));  // past the left end: stops at 1 twip
    EXPECT_EQ(preview.sectionFrame->Left(), 1);
    QTest::mouseRelease(preview.previewImage, Qt::LeftButton, Qt::NoModifier, pixels(-3000, 300));
    EXPECT_FALSE(app::DragSection);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(plot(k)->ScaleLeft(), app::ViewLeft) << k;
    EXPECT_EQ(app::frmMain->sectionColumnsReadout(0)->Caption(), QString::number(app::ViewLeft));

    // The raw image window: its right edge dragged past the image's end stops there.
    app::RawImageForm& raw = app::frmRawImage.get();
    raw.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&raw));
    const double right = raw.sectionFrame->Left() + raw.sectionFrame->Width();
    drag(raw.rawImage, pixels(right, 300), pixels(right + 100000, 300));
    EXPECT_EQ(raw.sectionFrame->Left() + raw.sectionFrame->Width(), raw.rawImage->Left() + raw.rawImage->Width());
    EXPECT_TRUE(preview.sectionFrame->Width() == raw.sectionFrame->Width() && app::ViewRight == app::DataLength);
}

// A drag whose release never arrives (another window took the mouse) ends at the next move
// without a button: applied once, every flag cleared, nothing left half-moved.
TEST_F(LabelsAndViewTest, ADragWithoutItsReleaseEndsAtTheNextMove) {
    app::PreviewForm& preview = placeSection(6000, 3000);
    const double upper = preview.bandLines(0)->Y1();
    QTest::mousePress(preview.previewImage, Qt::LeftButton, Qt::NoModifier, pixels(1500, upper));
    ASSERT_TRUE(isSet(app::DragUpperLine));
    preview.previewImage_MouseMove(ui::kLeftButton, 0, 1500, upper - 150);  // still held
    EXPECT_EQ(preview.bandLines(0)->Y1(), upper - 150);
    preview.previewImage_MouseMove(0, 0, 1500, upper - 150);  // no button: the release was lost
    EXPECT_FALSE(isSet(app::DragUpperLine));
    const CurveForm& c1 = curveWindow(1);
    EXPECT_EQ(c1.bandLines(0)->Y1(), qRound((upper - 150) * c1.plot->ScaleHeight() / preview.previewImage->Height()));
    preview.previewImage_MouseMove(0, 0, 1500, upper);  // an ordinary move afterwards moves nothing
    EXPECT_EQ(preview.bandLines(0)->Y1(), upper - 150);
    QTest::mouseRelease(preview.previewImage, Qt::LeftButton, Qt::NoModifier, pixels(1500, upper));
}

// The raw image window: the colour under the pointer on the main window's swatch; a resize that
// the preview follows (and renders at its new size); a preview waiting for a click redraws on one.
TEST_F(LabelsAndViewTest, TheRawImageWindowReadsColoursAndThePreviewFollowsItsSize) {
    app::RawImageForm& raw = app::frmRawImage.get();
    raw.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&raw));
    // Column 100 of the synthetic core, in its uniform middle rows.
    const double x = (100 + 0.25) * raw.rawImage->Width() / app::DataLength;
    const double y = raw.rawImage->Height() / 2;
    hover(raw.rawImage, pixels(x, y));
    const int grey = core.columnGrey[100];
    EXPECT_EQ(app::frmMain->pixelColourSwatch->FillColour(), core::rgb(grey, grey, grey));

    app::PreviewForm& preview = app::frmPreview.get();
    raw.setWidth(raw.Width() - 1500);
    EXPECT_TRUE(preview.Width() == raw.Width() && preview.previewImage->Width() == raw.rawImage->Width());
    app::PreviewRedrawn = false;  // as after a resize that left " Click to redraw"
    QTest::mouseClick(preview.previewImage, Qt::LeftButton, Qt::NoModifier, pixels(300, 100));
    EXPECT_TRUE(app::PreviewRedrawn);
}
