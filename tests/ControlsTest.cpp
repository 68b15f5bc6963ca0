#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

#include "ui/Controls.h"
#include "ui/Dialogs.h"
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
    // A handler that writes to another box: the nested change runs inside the outer one.
    ui::TextBox top(&window), bottom(&window);
    std::vector<QString> order;
    QObject::connect(&top, &ui::TextBox::Change, [&] {
        order.push_back("top " + top.Text());
        bottom.setText("b" + top.Text());
    });
    QObject::connect(&bottom, &ui::TextBox::Change, [&] { order.push_back("bottom " + bottom.Text()); });
    top.setText("1");
    EXPECT_EQ(order, (std::vector<QString>{"top 1", "bottom b1"}));
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
}

// The file dialogs' filters, written "name|patterns|...", as Qt takes them.
TEST(Dialogs, BarFiltersBecomeQtFilters) {
    EXPECT_EQ(ui::qtFilter("DataFile(*.csv)|*.csv"), "DataFile(*.csv)");
    EXPECT_EQ(ui::qtFilter("All (*.*)|*.*|Bitmap (*.bmp)|*.bmp|Jpeg (*.jpg)|*.jpg"),
              "All (*.*);;Bitmap (*.bmp);;Jpeg (*.jpg)");
    EXPECT_EQ(ui::qtFilter("Images|*.bmp;*.jpg"), "Images (*.bmp *.jpg)");
    EXPECT_EQ(ui::qtFilter(""), "");
}
