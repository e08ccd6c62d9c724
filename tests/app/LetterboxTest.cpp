#include "app/Letterbox.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Letterbox, keepsThePictureWholeCentredAndInShape) {
    const Letterbox same = fitScreen(1024, 768);
    EXPECT_EQ(same.left, 0);
    EXPECT_EQ(same.top, 0);
    EXPECT_EQ(same.width, 1024);
    EXPECT_EQ(same.height, 768);

    const Letterbox tall = fitScreen(1280, 1000);
    EXPECT_EQ(tall.width, 1280);
    EXPECT_EQ(tall.height, 960);
    EXPECT_EQ(tall.top, 20);

    const Letterbox wide = fitScreen(1600, 600);
    EXPECT_EQ(wide.width, 800);
    EXPECT_EQ(wide.left, 400);
    EXPECT_EQ(wide.height, 600);
}

TEST(Letterbox, mapsWindowPixelsOntoTheScreenAndBarsOffIt) {
    const Letterbox same = fitScreen(1024, 768);
    EXPECT_EQ(windowToScreenX(same, 0), 0);
    EXPECT_EQ(windowToScreenX(same, 1023), 1023);
    EXPECT_EQ(windowToScreenY(same, 767), 767);

    const Letterbox tall = fitScreen(1280, 1000);
    EXPECT_EQ(windowToScreenY(tall, 19), -1);  // the bar above the picture
    EXPECT_EQ(windowToScreenY(tall, 20), 0);
    EXPECT_EQ(windowToScreenY(tall, 979), 767);
    EXPECT_EQ(windowToScreenY(tall, 980), 768);  // the bar below
    EXPECT_EQ(windowToScreenX(tall, 1279), 1023);
    EXPECT_EQ(windowToScreenX(tall, 640), 512);

    const Letterbox small = fitScreen(800, 600);
    EXPECT_EQ(windowToScreenX(small, 400), 512);
    EXPECT_EQ(windowToScreenY(small, 599), 767);
}

TEST(Letterbox, anEmptyWindowOrAFarPointerStaysOffTheScreen) {
    const Letterbox none = fitScreen(0, 0);
    EXPECT_LT(windowToScreenX(none, 10), 0);
    EXPECT_LT(windowToScreenY(none, 10), 0);
    const Letterbox negative = fitScreen(-5, 300);
    EXPECT_EQ(negative.width, 0);
    const Letterbox tiny = fitScreen(1, 1);
    EXPECT_GT(windowToScreenX(tiny, INT_MAX), 1023);
    EXPECT_LT(windowToScreenX(tiny, INT_MIN), 0);
}
