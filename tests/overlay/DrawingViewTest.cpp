#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "overlay/DrawingView.h"
#include "platform/posix/CairoCanvas.h"

namespace vantor {
namespace {

using platform::CairoCanvas;
using platform::Color;
using platform::Rect;

// A premultiplied pixel with components 0 to 255.
struct Argb {
    int a, r, g, b;
};

Argb unpack(std::uint32_t p) {
    return {static_cast<int>(p >> 24), static_cast<int>((p >> 16) & 0xFF),
            static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
}

// `src` at `coverage` blended over `dst` (source over), as a premultiplied pixel.
Argb over(const Color& src, double coverage, const Color& dst) {
    const double sa = src.alpha * coverage;
    const auto channel = [&](double s, double d) {
        return static_cast<int>(std::lround((s * sa + d * dst.alpha * (1 - sa)) * 255));
    };
    return {channel(1, 1), channel(src.red, dst.red), channel(src.green, dst.green),
            channel(src.blue, dst.blue)};
}

Argb premultiplied(const Color& c) {
    return over(c, 1, Color::clearColor());
}

bool near(const Argb& x, const Argb& y, int tolerance) {
    return std::abs(x.a - y.a) <= tolerance && std::abs(x.r - y.r) <= tolerance &&
           std::abs(x.g - y.g) <= tolerance && std::abs(x.b - y.b) <= tolerance;
}

void PrintTo(const Argb& p, std::ostream* os) {
    *os << "argb(" << p.a << ", " << p.r << ", " << p.g << ", " << p.b << ")";
}

// The device pixel that covers a point of the view.
Argb at(const CairoCanvas& c, double x, double y) {
    return unpack(c.pixel(static_cast<int>(std::floor(x * c.scale())),
                          static_cast<int>(std::floor((c.height() - y) * c.scale()))));
}

// Every device pixel whose centre lies in the view rectangle.
std::vector<Argb> pixelsIn(const CairoCanvas& c, const Rect& r) {
    std::vector<Argb> out;
    const double s = c.scale();
    const int x0 = static_cast<int>(std::ceil(r.origin.x * s - 0.5));
    const int x1 = static_cast<int>(std::floor((r.origin.x + r.size.width) * s - 0.5));
    const int y0 = static_cast<int>(std::ceil((c.height() - r.origin.y - r.size.height) * s - 0.5));
    const int y1 = static_cast<int>(std::floor((c.height() - r.origin.y) * s - 0.5));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x)
            out.push_back(unpack(c.pixel(x, y)));
    }
    return out;
}

int countOpaque(const CairoCanvas& c) {
    const auto all = pixelsIn(c, {{0, 0}, {c.width(), c.height()}});
    return static_cast<int>(
        std::count_if(all.begin(), all.end(), [](const Argb& p) { return p.a != 0; }));
}

constexpr Color kBg{0.1, 0.1, 0.1, 0.75};
constexpr Color kFg{1.0, 1.0, 1.0, 0.95};
constexpr Color kSecondFg{1.0, 1.0, 1.0, 0.75};
constexpr Color kBorder{1.0, 1.0, 1.0, 0.8};

// Three icons side by side on the list's bottom edge, keys of one, two and three presses:
//   "A"   label L (40, 0, 40, 40),  letter box T (48, 8, 24, 24)
//   "BB"  label L (150, 0, 60, 40), T (156, 8, 26.4, 24), count box B (171, 8, 30, 16)
//   "CCC" label L (270, 0, 60, 40), T (276, 8, 26.4, 24), B (291, 8, 30, 16)
class DrawingViewPixels : public testing::TestWithParam<double> {
protected:
    DrawingViewPixels() : canvas(kWidth, kHeight, GetParam()) {
        view.awakeFromNib();
        add("A", {{0, 0}, {120, 120}});
        add("BB", {{120, 0}, {120, 120}});
        add("CCC", {{240, 0}, {120, 120}});
    }

    void add(const std::string& key, const Rect& frame) {
        items[key] = ProcItem::itemWithTitle(key, frame, static_cast<std::int32_t>(items.size()),
                                             platform::AXElement());
    }

    void draw(const ProcList::ItemMap* drawn) {
        view.setItems(drawn);
        view.drawRect(canvas, bounds);
    }

    static constexpr double kWidth = 360;
    static constexpr double kHeight = 160;
    const Rect bounds{{0, 0}, {kWidth, kHeight}};
    CairoCanvas canvas;
    DrawingView view;
    ProcList::ItemMap items;
};

TEST_P(DrawingViewPixels, NoOrEmptyItemsClearEverythingAnEarlierDrawPainted) {
    draw(&items);
    ASSERT_GT(countOpaque(canvas), 0);
    draw(nullptr);
    EXPECT_EQ(countOpaque(canvas), 0);

    draw(&items);
    const ProcList::ItemMap none;
    draw(&none);
    EXPECT_EQ(countOpaque(canvas), 0);
}

TEST_P(DrawingViewPixels, LabelIsFilledWithBgColourAndNothingIsPaintedOutside) {
    draw(&items);
    const Argb fill = premultiplied(kBg);
    for (double left : {40.0, 150.0, 270.0}) {
        SCOPED_TRACE(left);
        // Left of the letter box, and between its top and the outline, away from the text.
        EXPECT_PRED3(near, at(canvas, left + 3.5, 20.5), fill, 2);
        EXPECT_PRED3(near, at(canvas, left + 20.5, 37.5), fill, 2);
    }
    for (auto [x, y] : {std::pair{20.5, 20.5},
                        {60.5, 41.5},
                        {100.5, 100.5},
                        {120.5, 5.5},
                        {230.5, 20.5},
                        {340.5, 2.5},
                        {180.5, 159.5}}) {
        EXPECT_EQ(at(canvas, x, y).a, 0) << x << ", " << y;
    }
}

TEST_P(DrawingViewPixels, CharacterInFgColourAndCountInSecondFgColourOnlyForMultiPressKeys) {
    draw(&items);
    // One press: right of the letter box, where a count would go, there is only the fill.
    for (const Argb& p : pixelsIn(canvas, {{72, 8}, {6, 16}})) {
        ASSERT_PRED3(near, p, premultiplied(kBg), 2);
    }

    // The character is in fgColor.
    const auto letter = pixelsIn(canvas, {{48, 8}, {24, 24}});
    EXPECT_TRUE(std::any_of(letter.begin(), letter.end(),
                            [](const Argb& p) { return near(p, over(kFg, 1, kBg), 6); }));

    // Two and three presses: right of the letter box inside the count box, the count's
    // strokes have the colour of secondFgColor over the fill (not fgColor's).
    const Argb countInk = over(kSecondFg, 1, kBg);
    std::vector<std::vector<Argb>> counts;
    for (double left : {150.0, 270.0}) {
        SCOPED_TRACE(left);
        const double letterRight = left + 6 + 26.4;
        const double countRight = left + 51;
        counts.push_back(pixelsIn(canvas, {{letterRight, 8}, {countRight - letterRight, 16}}));
        const auto& area = counts.back();
        EXPECT_TRUE(std::any_of(area.begin(), area.end(),
                                [&](const Argb& p) { return near(p, countInk, 6); }));
        const int brightest =
            std::max_element(area.begin(), area.end(), [](const Argb& x, const Argb& y) {
                return x.r < y.r;
            })->a;
        EXPECT_NEAR(brightest, countInk.a, 6);
        // Nothing of the count beyond the count box's right edge.
        for (const Argb& p : pixelsIn(canvas, {{countRight + 0.5, 8}, {3, 16}})) {
            ASSERT_PRED3(near, p, premultiplied(kBg), 2);
        }
    }
    // "×2" and "×3" differ.
    EXPECT_FALSE(std::equal(counts[0].begin(), counts[0].end(), counts[1].begin(),
                            [](const Argb& x, const Argb& y) { return near(x, y, 0); }));
}

TEST_P(DrawingViewPixels, OutlineLiesOverTheFillsEdge) {
    draw(&items);
    // The pixel just inside L's left edge: the inner half of the 1.25-point outline covers it
    // (wholly at 2×), on top of the fill. Filled after the outline it would be far darker.
    const double coverage = std::min(1.0, 0.625 * canvas.scale());
    const Argb edge = at(canvas, 40.01, 20.5);
    EXPECT_PRED3(near, edge, over(kBorder, coverage, kBg), 4);
}

INSTANTIATE_TEST_SUITE_P(Scales, DrawingViewPixels, testing::Values(1.0, 2.0),
                         [](const testing::TestParamInfo<double>& scale) {
                             return scale.param == 1.0 ? std::string("x1") : std::string("x2");
                         });

}  // namespace
}  // namespace vantor
