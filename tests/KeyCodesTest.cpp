#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

#include "ui/KeyCodes.h"
#include "ui/PictureBox.h"

TEST(KeyCodes, QtKeysMapToTheProgramsCodes) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    };
    const Case cases[] = {
        {Qt::Key_1, Qt::NoModifier, 49},       {Qt::Key_9, Qt::NoModifier, 57},
        {Qt::Key_1, Qt::KeypadModifier, 97},   {Qt::Key_9, Qt::KeypadModifier, 105},
        {Qt::Key_Control, Qt::NoModifier, 17}, {Qt::Key_A, Qt::ControlModifier, 65},
        {Qt::Key_Z, Qt::NoModifier, 90},       {Qt::Key_L, Qt::NoModifier, 76},
        {Qt::Key_N, Qt::NoModifier, 78},       {Qt::Key_Exclam, Qt::NoModifier, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ui::keyCodeFromQt(c.key, c.modifiers), c.code) << c.key;
    EXPECT_EQ(ui::shiftFromQt(Qt::ControlModifier | Qt::ShiftModifier), 3);
}

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
