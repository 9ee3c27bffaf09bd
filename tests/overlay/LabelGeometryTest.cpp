#include <gtest/gtest.h>

#include "overlay/LabelGeometry.h"

namespace vantor {
namespace {

using platform::Rect;

void expectRect(const Rect& actual, double x, double y, double w, double h) {
    EXPECT_DOUBLE_EQ(actual.origin.x, x);
    EXPECT_DOUBLE_EQ(actual.origin.y, y);
    EXPECT_DOUBLE_EQ(actual.size.width, w);
    EXPECT_DOUBLE_EQ(actual.size.height, h);
}

const Rect kFrame{{100, 20}, {120, 120}};

TEST(LabelGeometry, SinglePressKeyHasNarrowLabelAndNoCount) {
    const LabelGeometry g = labelGeometry(kFrame, 1);
    expectRect(g.labelBox, 140, 20, 40, 40);
    EXPECT_EQ(g.cornerRadius, 10);
    EXPECT_EQ(g.lineWidth, 1.25);
    expectRect(g.letterBox, 148, 28, 24, 24);
    EXPECT_EQ(g.letterFontSize, 24);
    EXPECT_FALSE(g.countBox.has_value());
}

TEST(LabelGeometry, MultiPressKeyHasWideLabelWithCountBesideLetter) {
    for (std::size_t n : {2u, 3u, 32u}) {
        SCOPED_TRACE(n);
        const LabelGeometry g = labelGeometry(kFrame, n);
        expectRect(g.labelBox, 130, 20, 60, 40);
        EXPECT_EQ(g.cornerRadius, 10);
        EXPECT_EQ(g.lineWidth, 1.25);
        expectRect(g.letterBox, 136, 28, 26.4, 24);
        EXPECT_DOUBLE_EQ(g.letterFontSize, 24);
        ASSERT_TRUE(g.countBox.has_value());
        expectRect(*g.countBox, 151, 28, 30, 16);
        EXPECT_DOUBLE_EQ(g.countFontSize, 16);
        EXPECT_DOUBLE_EQ(g.countBox->origin.x + g.countBox->size.width, 181);
        // The count and the character share their bottom edge.
        EXPECT_EQ(g.countBox->origin.y, g.letterBox.origin.y);
    }
}

TEST(LabelGeometry, LabelIsCentredOnIconAndStandsOnItsBottomEdge) {
    const Rect frame{{-7.5, 3.25}, {64, 90}};
    for (std::size_t n : {1u, 2u}) {
        const LabelGeometry g = labelGeometry(frame, n);
        const Rect& l = g.labelBox;
        EXPECT_DOUBLE_EQ(l.origin.y, frame.origin.y);
        EXPECT_DOUBLE_EQ(l.size.height, 30);
        EXPECT_DOUBLE_EQ(l.size.width, n == 1 ? 64.0 / 3 : 32);
        // Centred horizontally on the icon.
        EXPECT_DOUBLE_EQ(l.origin.x - frame.origin.x,
                         frame.origin.x + frame.size.width - (l.origin.x + l.size.width));
    }
}

}  // namespace
}  // namespace vantor
