#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

#include "ui/Controls.h"
#include "ui/PictureBox.h"

TEST(Controls, TextBoxChangeFiresAtOnceWhenTheTextChanges) {
    QWidget window;
    ui::TextBox box(&window, "5");
    int changes = 0;
    QString seen;
    QObject::connect(&box, &ui::TextBox::Change, [&] {
        ++changes;
        seen = box.Text();  // the new text is visible inside the handler
    });
    box.setText("5");
    EXPECT_EQ(changes, 0);
    box.setText("10");
    EXPECT_EQ(changes, 1);  // synchronously, inside setText
    EXPECT_EQ(seen, "10");
    window.show();
    box.setFocus();
    QTest::keyClicks(&box, "0");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(box.Text(), "100");
}

TEST(Controls, ChangeHandlersMayChangeTheTextAgain) {
    QWidget window;
    ui::TextBox top(&window), bottom(&window);
    // A handler that writes to another box: the nested change runs inside the outer one.
    std::vector<QString> order;
    QObject::connect(&top, &ui::TextBox::Change, [&] {
        order.push_back("top " + top.Text());
        bottom.setText("b" + top.Text());
    });
    QObject::connect(&bottom, &ui::TextBox::Change, [&] { order.push_back("bottom " + bottom.Text()); });
    top.setText("1");
    EXPECT_EQ(order, (std::vector<QString>{"top 1", "bottom b1"}));
}

TEST(Controls, CheckBoxAndComboClickFromUserAndCode) {
    QWidget window;
    ui::CheckBox check(&window, "Ratio");
    QSignalSpy checkClicks(&check, &ui::CheckBox::Click);
    check.setValue(1);
    check.setValue(1);
    EXPECT_EQ(checkClicks.count(), 1);
    EXPECT_EQ(check.Value(), 1);

    ui::ComboBox combo(&window, ui::ComboBox::Style::DropDownList);
    QSignalSpy comboClicks(&combo, &ui::ComboBox::Click);
    combo.AddItem("High");
    combo.AddItem("Low");
    combo.setText("Low");
    EXPECT_EQ(combo.Text(), "Low");
    EXPECT_EQ(combo.ListIndex(), 1);
    EXPECT_EQ(comboClicks.count(), 0);  // setting the text is not a click
    combo.setListIndex(0);
    EXPECT_EQ(comboClicks.count(), 1);
    combo.setText("Zr");  // not in the list: shown, nothing selected
    EXPECT_EQ(combo.Text(), "Zr");
    EXPECT_EQ(combo.ListIndex(), -1);
}

TEST(Controls, GeometryInTwipsReadsBackExactlyAndFramesDisableTheirContents) {
    QWidget window;
    ui::setUnit(&window, ui::Unit::Twips);
    ui::Frame frame(&window, " Window ");
    frame.place(120, 2130, 6360, 780);
    auto* label = new ui::Label(&frame, "Pointer:  ");
    label->place(4260, 337, 907, 313);  // not whole pixels
    EXPECT_EQ(QRectF(label->Left(), label->Top(), label->Width(), label->Height()), QRectF(4260, 337, 907, 313));
    EXPECT_EQ(label->geometry(), QRect(284, 22, 60, 21));
    frame.setEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    frame.setEnabled(true);
    EXPECT_TRUE(label->isEnabled());
}

TEST(Controls, ImageBoxReportsMouseInTwipsAndStretchesItsPicture) {
    QWidget window;
    ui::setUnit(&window, ui::Unit::Twips);
    ui::ImageBox image(&window);
    image.place(0, 0, 3000, 1500);  // 200 x 100 pixels
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    image.setPicture(picture);
    window.resize(300, 200);
    window.show();
    const QImage shown = image.grab().toImage();
    EXPECT_EQ(shown.pixelColor(10, 50), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(190, 50), QColor(0, 0, 255));

    QSignalSpy moves(&image, &ui::ImageBox::MouseMove);
    QTest::mouseMove(&image, QPoint(20, 10));
    ASSERT_GE(moves.count(), 1);
    EXPECT_DOUBLE_EQ(moves.last()[2].toDouble(), 300.0);
    EXPECT_DOUBLE_EQ(moves.last()[3].toDouble(), 150.0);
}

TEST(Controls, AHiddenPictureBoxHasItsPixelsAsSoonAsItIsPlaced) {
    QWidget window;  // never shown
    ui::setUnit(&window, ui::Unit::Twips);
    ui::PictureBox box(&window);
    box.place(0, 0, 3000, 1500);
    EXPECT_EQ(box.surface().size(), QSize(200, 100));
    EXPECT_EQ(box.ScaleWidth(), 200);  // pixel scale inside, whatever the container's unit
    box.PSet(199, 99, core::rgb(1, 2, 3));
    EXPECT_EQ(box.Point(199, 99), core::rgb(1, 2, 3));
    box.autoSize = true;
    box.setPicture(QImage(2251, 84, QImage::Format_RGB32));
    EXPECT_EQ(box.ScaleWidth(), 2251);
    EXPECT_EQ(box.Width(), 2251 * 15);
}
