// The painted image list: every picture exists at the list size, the state squares are
// told apart by colour, and no two pictures look the same.
#include <gtest/gtest.h>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

#include "ui/ImageList.h"

namespace {

using namespace tesk;

QImage imageOf(int index, int size = 16) {
    return images::pixmap(index, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                ++count;
            }
        }
    }
    return count;
}

// ---- Every picture ----

TEST(ImageListPictures, EveryIndexGivesAPaintedSixteenPixelPicture) {
    for (int i = 0; i < images::kCount; ++i) {
        SCOPED_TRACE(i);
        const QPixmap pm = images::pixmap(i);
        ASSERT_FALSE(pm.isNull());
        EXPECT_EQ(pm.size(), QSize(16, 16));
        // Something must be drawn, and a good part of the cell covered.
        EXPECT_GT(opaquePixels(pm.toImage().convertToFormat(QImage::Format_ARGB32)), 40);
    }
}

TEST(ImageListPictures, LargerSizesAreDrawnAtThatSize) {
    for (int i = 0; i < images::kCount; ++i) {
        SCOPED_TRACE(i);
        const QImage big = imageOf(i, 32);
        ASSERT_EQ(big.size(), QSize(32, 32));
        // Scaled up, the picture covers about four times as many pixels.
        EXPECT_GT(opaquePixels(big), 3 * opaquePixels(imageOf(i, 16)));
    }
}

TEST(ImageListPictures, NoTwoPicturesAreTheSame) {
    for (int a = 0; a < images::kCount; ++a) {
        for (int b = a + 1; b < images::kCount; ++b) {
            SCOPED_TRACE(QStringLiteral("%1 vs %2").arg(a).arg(b).toStdString());
            EXPECT_NE(imageOf(a), imageOf(b));
        }
    }
}

TEST(ImageListPictures, RepeatedRequestsGiveTheSamePicture) {
    for (int i = 0; i < images::kCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(images::pixmap(i).cacheKey(), images::pixmap(i).cacheKey());
        EXPECT_EQ(imageOf(i, 24), imageOf(i, 24));
    }
}

TEST(ImageListPictures, OutOfRangeGivesNothing) {
    EXPECT_TRUE(images::pixmap(-1).isNull());
    EXPECT_TRUE(images::pixmap(images::kCount).isNull());
    EXPECT_TRUE(images::pixmap(1000, 32).isNull());
    EXPECT_TRUE(images::pixmap(0, 0).isNull());
    EXPECT_TRUE(images::icon(-1).isNull());
    EXPECT_TRUE(images::icon(images::kCount).isNull());
}

// ---- State squares ----

QColor centreOf(int index) {
    return QColor(imageOf(index).pixel(8, 8));
}

TEST(ImageListSquares, StateSquaresHaveTheirColourAtTheCentre) {
    const QColor grey = centreOf(images::kSquareGrey);
    EXPECT_EQ(grey.alpha(), 255);
    EXPECT_LT(qAbs(grey.red() - grey.green()), 20);
    EXPECT_LT(qAbs(grey.green() - grey.blue()), 20);
    EXPECT_GT(grey.value(), 90);

    const QColor green = centreOf(images::kSquareGreen);
    EXPECT_GT(green.green(), green.red() + 60);
    EXPECT_GT(green.green(), green.blue() + 60);

    const QColor yellow = centreOf(images::kSquareYellow);
    EXPECT_GT(yellow.red(), 180);
    EXPECT_GT(yellow.green(), 160);
    EXPECT_LT(yellow.blue(), 100);

    const QColor red = centreOf(images::kSquareRed);
    EXPECT_GT(red.red(), red.green() + 100);
    EXPECT_GT(red.red(), red.blue() + 100);
}

TEST(ImageListSquares, StateSquaresHaveADarkerOutline) {
    for (int i = images::kSquareGrey; i <= images::kSquareRed; ++i) {
        SCOPED_TRACE(i);
        const QImage image = imageOf(i);
        // Row 1 is the outline on the square's top edge; the centre is the fill.
        const QColor edge(image.pixel(8, 1));
        const QColor fill(image.pixel(8, 8));
        EXPECT_EQ(edge.alpha(), 255);
        EXPECT_LT(edge.value() + 40, fill.value());
        // The corners are rounded off and left clear.
        EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    }
}

TEST(ImageListSquares, UnknownSquareIsGreyWithAMark) {
    const QImage unknown = imageOf(images::kSquareUnknown);
    const QImage grey = imageOf(images::kSquareGrey);
    // Same grey square around the mark...
    EXPECT_EQ(unknown.pixel(3, 8), grey.pixel(3, 8));
    // ...with a light question mark drawn on it.
    int light = 0;
    for (int y = 3; y < 13; ++y) {
        for (int x = 4; x < 12; ++x) {
            if (QColor(unknown.pixel(x, y)).value() > 230) {
                ++light;
            }
        }
    }
    EXPECT_GT(light, 5);
}

// ---- Icons ----

TEST(ImageListIcons, IconHasSixteenAndThirtyTwoPixelSizes) {
    for (int i = 0; i < images::kCount; ++i) {
        SCOPED_TRACE(i);
        const QList<QSize> sizes = images::icon(i).availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16)));
        EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    }
}

TEST(ImageListIcons, ApplicationIconIsTheBadgedUserAtAllSizes) {
    const QIcon app = images::applicationIcon();
    ASSERT_FALSE(app.isNull());
    const QList<QSize> sizes = app.availableSizes();
    for (int s : {16, 32, 48, 64, 128}) {
        SCOPED_TRACE(s);
        EXPECT_TRUE(sizes.contains(QSize(s, s)));
        EXPECT_EQ(app.pixmap(QSize(s, s)).toImage().convertToFormat(QImage::Format_ARGB32),
                  imageOf(images::kUserBadge, s));
    }
}

}  // namespace
