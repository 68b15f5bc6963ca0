#include <gtest/gtest.h>
#include <QTest>

#include "ui/Form.h"
#include "ui/PictureBox.h"

namespace {
class ProbeForm : public ui::Form {
  public:
    using ui::Form::Form;
    int loads = 0, resizes = 0, unloads = 0;
    bool refuseClose = false;
    double lastMoveX = -1;

  protected:
    void Form_Load() override { ++loads; }
    void Form_Resize() override { ++resizes; }
    void Form_Unload(bool& cancel) override {
        ++unloads;
        cancel = refuseClose;
    }
    void Form_MouseMove(int, int, double x, double) override { lastMoveX = x; }
};
}  // namespace

// Twips set by code read back exactly, whatever pixels they round to; a user's resize and the mouse
// over the background arrive in the form's units; the close box runs Unload, which may refuse it.
TEST(Form, TwipsReadBackExactlyAndTheUserArrivesInFormUnits) {
    ProbeForm form;
    form.Move(1234, 567, 4807, 3613);  // not multiples of 15
    form.Show();
    form.Show();
    EXPECT_EQ(form.loads, 1);  // Form_Load runs once
    EXPECT_EQ(QRectF(form.Left(), form.Top(), form.Width(), form.Height()), QRectF(1234, 567, 4807, 3613));
    // Outer 4807 x 3613 twips = 320 x 241 pixels; minus border and caption.
    EXPECT_EQ(form.size(), QSize(320 - ui::Form::kBorderPixels, 241 - ui::Form::kCaptionPixels));
    QTest::mouseMove(form.client(), QPoint(10, 5));
    EXPECT_EQ(form.lastMoveX, 150.0);
    const int before = form.resizes;
    form.resize(400, 300);  // as a window manager would
    EXPECT_GT(form.resizes, before);
    EXPECT_EQ(form.Width(), (400 + ui::Form::kBorderPixels) * 15.0);
    form.refuseClose = true;
    form.close();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_TRUE(form.isVisible());
    form.refuseClose = false;
    form.close();
    EXPECT_FALSE(form.isVisible());
}
