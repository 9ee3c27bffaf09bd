#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/posix/CairoCanvas.h"

namespace vantor::platform {
namespace {

TextAttributes textOfSize(double size, TextAlignment alignment = TextAlignment::Left) {
    return {Font::systemFontOfSize(size), {1, 1, 1, 1}, alignment};
}

// The view rectangle enclosing every pixel with any alpha, or an empty one.
Rect inkBounds(const CairoCanvas& c) {
    int left = c.pixelWidth(), right = -1, top = c.pixelHeight(), bottom = -1;
    for (int y = 0; y < c.pixelHeight(); ++y) {
        for (int x = 0; x < c.pixelWidth(); ++x) {
            if ((c.pixel(x, y) >> 24) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x + 1);
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    }
    if (right < 0) return {};
    const double s = c.scale();
    return {{left / s, c.height() - bottom / s}, {(right - left) / s, (bottom - top) / s}};
}

TEST(CairoCanvas, MeasuresTextInPointsWhateverTheScale) {
    CairoCanvas x1(100, 100, 1);
    CairoCanvas x2(100, 100, 2);
    const Size w = x1.sizeWithAttributes("W", textOfSize(24));
    EXPECT_DOUBLE_EQ(x2.sizeWithAttributes("W", textOfSize(24)).width, w.width);
    EXPECT_DOUBLE_EQ(x2.sizeWithAttributes("W", textOfSize(24)).height, w.height);
    // The size is the font's em: a line is at least that tall, and not much more.
    EXPECT_GE(w.height, 24);
    EXPECT_LE(w.height, 36);
    EXPECT_NEAR(x1.sizeWithAttributes("W", textOfSize(48)).height, 2 * w.height, 0.1);
    EXPECT_NEAR(x1.sizeWithAttributes("WW", textOfSize(24)).width, 2 * w.width, 0.1);
    EXPECT_EQ(x1.sizeWithAttributes("", textOfSize(24)).width, 0);
}

class CairoCanvasText : public testing::TestWithParam<double> {};

TEST_P(CairoCanvasText, DrawsFromTheTopOfTheRectangleAlignedAsAsked) {
    struct Case {
        TextAlignment alignment;
        double inkLeftMin, inkRightMax;
    };
    // A rectangle three lines high at (20, 10), 200 wide: the text takes its top line only.
    for (const Case& c : {Case{TextAlignment::Left, 20, 60}, Case{TextAlignment::Center, 100, 140},
                          Case{TextAlignment::Right, 180, 220}}) {
        CairoCanvas canvas(240, 120, GetParam());
        const TextAttributes attributes = textOfSize(24, c.alignment);
        const double line = canvas.sizeWithAttributes("H", attributes).height;
        canvas.drawInRect("H", {{20, 10}, {200, 3 * line}}, attributes);
        const Rect ink = inkBounds(canvas);
        ASSERT_GT(ink.size.width, 0);
        EXPECT_GE(ink.origin.x, c.inkLeftMin);
        EXPECT_LE(ink.origin.x + ink.size.width, c.inkRightMax);
        EXPECT_LE(ink.origin.y + ink.size.height, 10 + 3 * line);
        EXPECT_GE(ink.origin.y, 10 + 2 * line);
    }
}

TEST_P(CairoCanvasText, DrawsNothingOutsideTheRectangle) {
    CairoCanvas canvas(240, 120, GetParam());
    // Too narrow and too low for the text: what does not fit is cut off.
    canvas.drawInRect("WWWW WWWW", {{30, 40}, {20, 8}}, textOfSize(24));
    const Rect ink = inkBounds(canvas);
    ASSERT_GT(ink.size.width, 0);
    EXPECT_GE(ink.origin.x, 30);
    EXPECT_GE(ink.origin.y, 40);
    EXPECT_LE(ink.origin.x + ink.size.width, 50);
    EXPECT_LE(ink.origin.y + ink.size.height, 48);
}

INSTANTIATE_TEST_SUITE_P(Scales, CairoCanvasText, testing::Values(1.0, 2.0),
                         [](const testing::TestParamInfo<double>& scale) {
                             return scale.param == 1.0 ? std::string("x1") : std::string("x2");
                         });

}  // namespace
}  // namespace vantor::platform
