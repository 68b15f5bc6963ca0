#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

#include "ui/PictureBox.h"

// Digits of both keyboards arrive as the program numbers its keys, with the mouse in the box's own
// units.
TEST(KeyCodes, APictureBoxReportsKeysAndMouseInItsOwnUnits) {
    QWidget window;
    ui::setUnit(&window, ui::Unit::Pixels);
    ui::PictureBox box(&window);
    box.place(0, 0, 200, 100);
    box.setScale(1000, 50, 400, -50);  // display columns 1000..1400, values 50 down to 0
    window.show();

    QSignalSpy keys(&box, &ui::PictureBox::KeyDown);
    QTest::keyClick(&box, Qt::Key_3);
    QTest::keyClick(&box, Qt::Key_3, Qt::KeypadModifier);
    QTest::keyPress(&box, Qt::Key_Control);
    ASSERT_EQ(keys.count(), 3);
    EXPECT_EQ(keys[0][0].toInt(), 51);
    EXPECT_EQ(keys[1][0].toInt(), 99);
    EXPECT_EQ(keys[2][0].toInt(), 17);

    QSignalSpy downs(&box, &ui::PictureBox::MouseDown);
    QTest::mousePress(&box, Qt::RightButton, Qt::ControlModifier, QPoint(50, 25));
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs[0][0].toInt(), 2);  // right button
    EXPECT_EQ(downs[0][1].toInt(), 2);  // Ctrl
    EXPECT_DOUBLE_EQ(downs[0][2].toDouble(), 1100.0);
    EXPECT_DOUBLE_EQ(downs[0][3].toDouble(), 37.5);
}
