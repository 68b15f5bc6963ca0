#include <gtest/gtest.h>

#include "core/BoundedArray.h"

// Indices outside the inclusive bounds throw, in one dimension or two, before and after a resize;
// a resize keeping the contents keeps the elements both sizes share.
TEST(BoundedArray, IndicesOutsideTheBoundsThrowAndResizesKeepWhatIsShared) {
    core::Array<int> undo(0, 50, -9999);
    EXPECT_EQ(undo(50), -9999);
    EXPECT_THROW(undo(51), core::SubscriptError);
    EXPECT_THROW(undo(-1), core::SubscriptError);
    core::Array<int> none;  // not dimensioned yet
    EXPECT_THROW(none(0), core::SubscriptError);

    core::Array<int> a(1, 3);
    a(1) = 10;
    a(3) = 30;
    a.redimPreserve(5, 7);
    EXPECT_EQ(a(1), 10);
    EXPECT_EQ(a(3), 30);
    EXPECT_EQ(a(5), 7);
    EXPECT_THROW(a(6), core::SubscriptError);
    a.redim(0, 1);
    EXPECT_EQ(a(0), 0);
    EXPECT_THROW(a(2), core::SubscriptError);

    core::Array2<double> profile(0, 2, 0, 10);
    profile(2, 10) = 1.5;
    EXPECT_THROW(profile(3, 0), core::SubscriptError);
    EXPECT_THROW(profile(0, 11), core::SubscriptError);
    profile.redimPreserve(4, 12);
    EXPECT_EQ(profile(2, 10), 1.5);
    EXPECT_EQ(profile(4, 12), 0.0);
}
