#include "AppFixture.h"

using app::curveWindow;

// The main window starts with only the radiograph import and quitting offered, at a size the user
// cannot change.
TEST_F(AppTest, MainWindowStartsWithOnlyTheRadiographImportAndQuitting) {
    app::MainForm& f = start();
    EXPECT_TRUE(f.importRadiographButton->isEnabled() && f.quitButton->isEnabled() && f.mnuOpenRadio->Enabled());
    for (QWidget* w : std::initializer_list<QWidget*>{
             f.importXrfButton, f.importPhotoButton, f.saveAsButton, f.showToolsButton, f.photoFrame, f.windowFrame,
             f.sectionEndCaptions(0), f.sectionEndCaptions(1), f.pointerCaption, f.pointerReadout, f.sectionEndPositions(0),
             f.sectionEndPositions(1), f.radiographSliders(0), f.radiographSliders(1)})
        EXPECT_FALSE(w->isEnabled()) << w->metaObject()->className();
    for (ui::MenuItem* m : {f.mnuOpenXRF, f.mnuOpenPhoto, f.mnuSave, f.mnuSaveAs, f.mnuSummary, f.mnuScale,
                            f.mnuElastic, f.mnuShowAll, f.mnuAlign, f.mnuActive})
        EXPECT_FALSE(m->Enabled()) << m->Caption().toStdString();
    EXPECT_FALSE(f.progressBar->isVisible());
    const QSize size = f.size();
    f.resize(size + QSize(100, 100));
    EXPECT_EQ(f.size(), size);
}

TEST_F(AppTest, PointerReadOutOverTheRadiographShowsPositionAndColour) {
    app::MainForm& main = start();
    QImage radiograph(40, 10, QImage::Format_RGB32);
    radiograph.fill(QColor(10, 20, 30));
    main.radiographPicture->setPicture(radiograph);
    QTest::mouseMove(main.radiographPicture, QPoint(5, 7));
    EXPECT_TRUE(main.pixelReadout(0)->Caption() == "5" && main.pixelReadout(1)->Caption() == "7");
    EXPECT_EQ(main.pixelColourSwatch->FillColour(), core::rgb(10, 20, 30));
    main.radiographPicture_MouseMove(0, 0, 12.345, 99.0);  // below the picture: black
    EXPECT_EQ(main.pixelReadout(0)->Caption(), "12.34");   // rounded to 2 decimals, halves to even
    EXPECT_EQ(main.pixelColourSwatch->FillColour(), core::rgb(0, 0, 0));
}

// "Align forms" stacks both columns of curve windows under their top windows (1 and 4) at the top
// window's height, sizes unchanged. Arranging them takes stored positions where the settings hold
// them, else two columns beside window 1 (150 twips inside the screen when window 1 reaches past it).
TEST_F(AppTest, CurveWindowsAlignInTwoColumns) {
    auto table = shippedSettings();
    table(3, 20) = core::Variant(7777.0f);  // frmCurve5.Top stored
    writeSettings(table);
    app::MainForm& main = start();
    const auto place = [](int k) { return QRectF(curveWindow(k).Left(), curveWindow(k).Top(), curveWindow(k).Width(), curveWindow(k).Height()); };
    curveWindow(1).Move(1000, 2000, 6000, 1500);
    curveWindow(4).Move(8000, 2500, 5000, 1200);
    curveWindow(2).Move(50, 60, 6000, 900);
    curveWindow(6).Move(70, 80, 5000, 999);
    main.mnuAlign_Click();
    EXPECT_EQ(place(2), QRectF(1000, 3500, 6000, 900));
    EXPECT_EQ(place(3).top(), 5000);
    EXPECT_EQ(place(6), QRectF(8000, 2500 + 2 * 1200, 5000, 999));

    curveWindow(1).Move(2000, 1000, 6000, 1500);
    app::ArrangeCurveWindows();
    EXPECT_EQ(place(2).topLeft(), QPointF(2000, 2500));
    EXPECT_EQ(place(3), QRectF(2000, 4000, 6000, 1500));  // every window takes window 1's size first
    EXPECT_EQ(place(4).topLeft(), QPointF(8000, 1000));
    EXPECT_EQ(place(5).top(), 7777);
    curveWindow(1).Move(15000, 1000, 6000, 1500);
    app::ArrangeCurveWindows();
    EXPECT_EQ(curveWindow(4).Left(), 1280 * 15 - 150);
}

// Before the XRF import only window 1 is in use, so only the others offer "Show all". About names
// the settings file in use.
TEST_F(AppTest, ShowAllAboutAndStaffWindows) {
    app::MainForm& main = start();
    EXPECT_FALSE(app::frmCurve1->mnuShowAll->Enabled());
    EXPECT_TRUE(app::frmCurve2->mnuShowAll->Enabled());
    main.mnuShowAll_Click();
    for (int k = 1; k <= 6; ++k) EXPECT_TRUE(curveWindow(k).isVisible()) << k;
    main.mnuAbout->trigger();
    EXPECT_TRUE(app::frmAbout->isVisible());
    EXPECT_EQ(app::frmAbout->versionLabel->Caption(), "Stratalyser " STRATALYSER_VERSION);
    EXPECT_EQ(app::frmAbout->settingsFileLabel->Caption(), "Settings: " + QDir::toNativeSeparators(settingsPath));
    // "?" > Manual shows the manual (in the program's own window): from the source tree, for a build.
    main.mnuManual->trigger();
    const auto shownDocuments = dialogs->shownOf(ui::ScriptedDialogs::Kind::Document);
    ASSERT_EQ(shownDocuments.size(), 1u);
    EXPECT_EQ(shownDocuments[0].text, testsupport::sourceFile("docs/manual.md"));
    doubleClick(main.logo, main.logo->rect().center());
    EXPECT_TRUE(app::frmTest->isVisible() && app::frmTest->closeUpButton->isEnabled());
    app::frmTest->closeUpButton->click();  // redraws the close-up, which without a photo is nothing
}

// On a small screen every window shows inside it, wherever the settings or a command place it;
// its place in twips (what the settings file keeps) stays as set.
TEST_F(AppTest, WindowsShowInsideASmallScreen) {
    ui::screen::overrideSizePixels(1000, 700);
    importRealCore();
    curveWindow(4).setLeft(27450);  // 1830 pixels
    curveWindow(5).setTop(-315);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const bool fits = w->isVisible() && dynamic_cast<ui::Form*>(w) && w->width() <= 1000;
        EXPECT_TRUE(!fits || QRect(0, 0, 1000, 700).contains(w->frameGeometry())) << qPrintable(w->windowTitle());
    }
    EXPECT_TRUE(curveWindow(4).Left() == 27450 && curveWindow(5).Top() == -315);
}

// A first look on the screens most labs and laptops have: the demonstration core, and a real core
// with a tall camera photo and its close-up, the tools shown; with fresh settings and with the places
// a session on another screen saved. No window lies over another and every one is on the screen; the
// two columns of curve plots take two thirds of the screen's width or show the whole core.
TEST_F(AppTest, TheFirstLookLaysTheWindowsOutOnEveryScreen) {
    const QSize screens[] = {{1366, 768}, {1600, 900}, {1920, 1080}};
    QImage tallPhoto(939, 540, QImage::Format_RGB32);
    tallPhoto.fill(qRgb(120, 90, 60));
    ASSERT_TRUE(tallPhoto.save(dir.filePath("tall.png")));
    const auto openCore = [&](bool demo, QSize screen) {
        restart();
        ui::screen::overrideSizePixels(screen.width(), screen.height());
        if (demo) {
            start();
            app::openFromCommandLine(app::makeDemoCore(dir.filePath("demo")));
        } else {
            importRealCore();
            dialogs->answerOpen(dir.filePath("tall.png"));
            app::frmMain->importPhotoButton->click();
            app::frmPhoto->mnuCrop->trigger();
        }
        app::frmMain->showToolsButton->click();  // the tools: metre, 10 mm and elastic scales
    };
    for (std::size_t s = 0; s < std::size(screens); ++s) {
        for (const bool demo : {true, false}) {
            for (const bool savedElsewhere : {false, true}) {
                const QSize screen = screens[s], other = screens[(s + 1) % std::size(screens)];
                writeSettings(shippedSettings());
                if (savedElsewhere) {
                    openCore(demo, other);
                    app::SaveReferences();
                }
                openCore(demo, screen);
                SCOPED_TRACE(QStringLiteral("%1 x %2, %3, %4").arg(screen.width()).arg(screen.height())
                                 .arg(demo ? "demo" : "real core").arg(savedElsewhere ? "places saved at another size" : "fresh")
                                 .toStdString());
                ASSERT_TRUE(dialogs->shownOf(ui::ScriptedDialogs::Kind::Message).empty()) << qPrintable(onlyMessage());
                ASSERT_TRUE(demo || app::CropOpen);
                const QRectF area(0, 0, screen.width() * 15.0, screen.height() * 15.0);
                std::vector<const ui::Form*> shown;
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    if (const auto* form = dynamic_cast<const ui::Form*>(w); form && form->isVisible())
                        shown.push_back(form);
                }
                EXPECT_GE(shown.size(), demo ? 13u : 14u);
                const auto place = [](const ui::Form* f) { return QRectF(f->Left(), f->Top(), f->Width(), f->Height()); };
                for (const ui::Form* a : shown) {
                    EXPECT_TRUE(area.contains(place(a))) << qPrintable(a->Caption());
                    for (const ui::Form* b : shown)
                        EXPECT_TRUE(a == b || !place(a).intersects(place(b)))
                            << qPrintable(a->Caption()) << " over " << qPrintable(b->Caption());
                }
                const int plots = plot(1)->surface().widthPixels() + plot(4)->surface().widthPixels();
                EXPECT_TRUE(3 * plots >= 2 * screen.width() || app::ViewRight - app::ViewLeft >= app::DataLength - 1)
                    << plots;
            }
        }
    }
}

// Three curve windows that are too high for the screen overlap only their plots' lower parts: the top row of
// controls of each stays in view.
TEST(WindowLayoutTest, CurveWindowsTooHighForTheScreenOverlapOnlyTheirPlots) {
    const app::layout::Rect area{0, 0, 1600 * 15, 900 * 15};
    const app::layout::Rect main{0, 0, 9720, 6960};
    struct Row {
        double windowHeight, pitch;
    };
    // 1620: the real core's windows, with the elastic scale's room above them.
    for (const Row row : {Row{1620, 1620}, Row{2160, 1830}, Row{2400, 1710}, Row{3600, 1110}, Row{9000, 720}}) {
        const app::layout::Point first = app::layout::firstCurveWindow(area, main, row.windowHeight);
        const double pitch = app::layout::curveRowPitch(area, first.top, row.windowHeight);
        EXPECT_DOUBLE_EQ(pitch, row.pitch) << row.windowHeight;
        EXPECT_GE(first.top, main.bottom());
        EXPECT_TRUE(pitch <= 720 || first.top + 2 * pitch + row.windowHeight + 720 <= area.bottom()) << row.windowHeight;
    }
    // The first section fills a column's plot, the whole core when it is shorter.
    EXPECT_EQ(app::layout::sectionColumns(area, 15, 2, 30000), 800 - 8 - 2);
    EXPECT_EQ(app::layout::sectionColumns(area, 15, 2, 500), 500);
}
