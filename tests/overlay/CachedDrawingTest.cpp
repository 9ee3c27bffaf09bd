// The canvas's kept pictures against drawing everything anew: the same pixels, within what
// placing a box by sixteenths of a pixel can change, and never a picture of something else.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "overlay/DrawingView.h"
#include "platform/posix/CairoCanvas.h"
#include "platform/posix/TextSprites.h"

namespace vantor {
namespace {

using platform::CairoCanvas;
using platform::Color;
using platform::Rect;
using platform::TextAlignment;
using platform::TextAttributes;

// A rounded box placed to within 1/16 of a device pixel along each axis moves an antialiased
// edge by at most √2/16 of a pixel: 23 of 255 levels of coverage, and two more for rounding.
constexpr int kBoxTolerance = 25;
// Text lands on the same whole pixels either way; only rounding may differ.
constexpr int kTextTolerance = 1;

struct Difference {
    int largest = 0;
    int x = -1, y = -1;
    long inkPixels = 0;  // pixels with any alpha in the direct drawing
};

Difference compare(const CairoCanvas& cached, const CairoCanvas& direct) {
    Difference d;
    for (int y = 0; y < direct.pixelHeight(); ++y) {
        for (int x = 0; x < direct.pixelWidth(); ++x) {
            const std::uint32_t a = cached.pixel(x, y), b = direct.pixel(x, y);
            if ((b >> 24) != 0) ++d.inkPixels;
            for (int shift = 0; shift < 32; shift += 8) {
                const int diff = std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                          static_cast<int>((b >> shift) & 0xFF));
                if (diff > d.largest) {
                    d.largest = diff;
                    d.x = x;
                    d.y = y;
                }
            }
        }
    }
    return d;
}

std::string describe(const Difference& d) {
    std::ostringstream out;
    out << "largest difference " << d.largest << " at pixel (" << d.x << ", " << d.y << ")";
    return out.str();
}

// The hint labels of a switcher row: keys of one press (letters, a digit, "?", CJK characters)
// and of several (their counts), on icons whose positions fall between pixels.
ProcList::ItemMap labelRow(double icon, double firstX, double step) {
    ProcList::ItemMap items;
    const char* keys[] = {"A",  "W", "M", "?", "7", "微", "信信", "MM", "QQQ", "WWWWWWWWWWWW",
                          "II", "圖"};
    int index = 0;
    for (const char* key : keys) {
        const Rect frame{{firstX + index * step, 3.3}, {icon, icon}};
        items[key] = ProcItem::itemWithTitle(key, frame, index++, platform::AXElement());
    }
    return items;
}

class CachedDrawing : public testing::TestWithParam<double> {
protected:
    double scale() const { return GetParam(); }
};

// As the simulated screen draws a window's views: in a view's frame, which clips. A frame on
// whole pixels lets the canvas blend the pictures itself; one between pixels leaves it to
// Cairo.
TEST_P(CachedDrawing, HintLabelsMatchTheDirectDrawing) {
    struct Case {
        double icon, firstX, step;  // the row of icons
        Rect frame;                 // the view's frame on the canvas
    };
    // Full-size icons, the small ones of a crowded switcher, and sizes and positions between
    // whole points; frames on whole pixels, between them, and narrower than the row.
    for (const Case c :
         {Case{128, 16, 144, {{0, 0}, {1760, 136}}}, Case{35, 16, 51, {{7, 5}, {640, 50}}},
          Case{35, 16, 51, {{7.3, 5.6}, {640, 50}}}, Case{35, 16, 51, {{7, 5}, {300, 30}}},
          Case{47.3, 10.37, 61.61, {{0, 0}, {767, 56}}}}) {
        SCOPED_TRACE(testing::Message()
                     << "icons of " << c.icon << " in a frame at " << c.frame.origin.x << ", "
                     << c.frame.origin.y << ", " << c.frame.size.width << " wide");
        const ProcList::ItemMap items = labelRow(c.icon, c.firstX, c.step);
        const double width = c.frame.origin.x + c.frame.size.width;
        const double height = c.frame.origin.y + c.frame.size.height;
        // Twice each: the first draw renders the pictures, the second is drawn from them.
        for (int pass = 0; pass < 2; ++pass) {
            CairoCanvas cached(width, height, scale(), CairoCanvas::Drawing::Cached);
            CairoCanvas direct(width, height, scale(), CairoCanvas::Drawing::Direct);
            for (CairoCanvas* canvas : {&cached, &direct}) {
                canvas->setFill({0.3, 0.3, 0.3, 1});
                canvas->fillRectUsingOperation({{0, 0}, {width, height}},
                                               platform::CompositingOperation::Copy);
                canvas->pushViewFrame(c.frame);
                DrawingView view;
                view.awakeFromNib();
                view.setItems(&items);
                view.drawRect(*canvas, {{0, 0}, c.frame.size});
                canvas->popViewFrame();
            }
            const Difference d = compare(cached, direct);
            EXPECT_LE(d.largest, kBoxTolerance) << describe(d) << " on pass " << pass;
        }
    }
}

TEST_P(CachedDrawing, TextIsTheLayoutsPixelsAtEveryAlignmentAndSubPixelPosition) {
    const Color white{1, 1, 1, 0.95};
    const Color grey{1, 1, 1, 0.75};
    const char* texts[] = {"A", "W", "g", "?", "×2", "×32", "微", "信", "Ag"};
    for (const TextAlignment alignment :
         {TextAlignment::Left, TextAlignment::Center, TextAlignment::Right}) {
        for (const double size : {9.33, 17.0, 25.6}) {
            for (const char* text : texts) {
                // Origins stepping through the fractions of a pixel; rectangles as tall as the
                // line, some exactly as wide as the text so that their clip touches it; large
                // texts reaching past the canvas.
                for (int k = 0; k < 8; ++k) {
                    CairoCanvas cached(60, 44, scale(), CairoCanvas::Drawing::Cached);
                    CairoCanvas direct(60, 44, scale(), CairoCanvas::Drawing::Direct);
                    for (CairoCanvas* canvas : {&cached, &direct}) {
                        const TextAttributes attributes{platform::Font::systemFontOfSize(size),
                                                        k % 2 ? grey : white, alignment};
                        const platform::Size line = canvas->sizeWithAttributes(text, attributes);
                        const double width = k % 3 == 0 ? line.width : line.width + 7.25;
                        canvas->drawInRect(
                            text, {{5 + k * 0.13, 4 + k * 0.29}, {width, line.height}}, attributes);
                    }
                    const Difference d = compare(cached, direct);
                    ASSERT_GT(d.inkPixels, 0);
                    EXPECT_LE(d.largest, kTextTolerance)
                        << describe(d) << " for " << text << ", size " << size << ", alignment "
                        << static_cast<int>(alignment) << ", step " << k;
                }
            }
        }
    }
}

// Whatever was kept before, each drawing shows what was asked now: another text, size, colour,
// box or scale never brings back an earlier picture.
TEST(CachedDrawingPictures, EveryChangeDrawsTheNewThing) {
    struct Step {
        const char* text;
        double fontSize;
        Color colour;
        Rect box;
        double radius;
        double lineWidth;
        double scale;
    };
    const Color white{1, 1, 1, 0.95};
    const Color red{0.9, 0.1, 0.1, 1};
    const Rect box{{10, 10}, {40, 30}};
    const Step steps[] = {
        {"A", 20, white, box, 7.5, 1.25, 1},
        {"B", 20, white, box, 7.5, 1.25, 1},                 // the text
        {"B", 24, white, box, 7.5, 1.25, 1},                 // the font size
        {"B", 24, red, box, 7.5, 1.25, 1},                   // the colour
        {"B", 24, red, {{10, 10}, {46, 30}}, 7.5, 1.25, 1},  // the box's width
        {"B", 24, red, {{10, 10}, {46, 34}}, 7.5, 1.25, 1},  // its height
        {"B", 24, red, {{10, 10}, {46, 34}}, 2, 1.25, 1},    // its corners
        {"B", 24, red, {{10, 10}, {46, 34}}, 2, 3, 1},       // its outline
        {"B", 24, red, {{10.5, 10.25}, {46, 34}}, 2, 3, 1},  // its place between pixels
        {"B", 24, red, {{10.5, 10.25}, {46, 34}}, 2, 3, 2},  // the scale
        {"A", 20, white, box, 7.5, 1.25, 2},                 // the first again, at 2x
        {"A", 20, white, box, 7.5, 1.25, 1},                 // and at 1x
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.text << " " << step.fontSize << " box width "
                                        << step.box.size.width << " scale " << step.scale);
        CairoCanvas cached(70, 60, step.scale, CairoCanvas::Drawing::Cached);
        CairoCanvas direct(70, 60, step.scale, CairoCanvas::Drawing::Direct);
        for (CairoCanvas* canvas : {&cached, &direct}) {
            canvas->setFill({0.1, 0.1, 0.1, 0.75});
            canvas->setStroke(step.colour);
            const platform::RoundedRectPath path{step.box, step.radius, step.radius,
                                                 step.lineWidth};
            canvas->fill(path);
            canvas->stroke(path);
            canvas->drawInRect(step.text, step.box,
                               {platform::Font::systemFontOfSize(step.fontSize), step.colour,
                                TextAlignment::Center});
        }
        const Difference d = compare(cached, direct);
        EXPECT_LE(d.largest, kBoxTolerance) << describe(d);
    }
}

TEST(CachedDrawingPictures, KeepsNoMoreThanItsCapacityAndStaysRight) {
    platform::TextSprites sprites(4, 4);
    const TextAttributes attributes{
        platform::Font::systemFontOfSize(18), {1, 1, 1, 1}, TextAlignment::Center};
    const std::string letters = "ABCDEFGHIJ";
    const auto placeOf = [](std::size_t i) { return Rect{{i * 30.0 + 5.3, 4.6}, {28, 30}}; };
    CairoCanvas direct(320, 40, 1, CairoCanvas::Drawing::Direct);
    for (std::size_t i = 0; i < letters.size(); ++i)
        direct.drawInRect(std::string(1, letters[i]), placeOf(i), attributes);

    // Twice over more texts than fit: the second round finds the first ones gone.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        CairoCanvas target(320, 40, 1, CairoCanvas::Drawing::Direct);
        cairo_t* cr = cairo_create(target.surface());
        for (std::size_t i = 0; i < letters.size(); ++i) {
            const Rect r = placeOf(i);
            // The surface's own coordinates: y down from the top.
            const Rect onSurface{{r.origin.x, 40 - r.origin.y - r.size.height}, r.size};
            ASSERT_TRUE(sprites.draw(cr, {0, 0, 320, 40, true}, std::string(1, letters[i]),
                                     onSurface, attributes));
            EXPECT_LE(sprites.lineCount(), 4u);
            EXPECT_LE(sprites.spriteCount(), 4u);
        }
        cairo_destroy(cr);
        const Difference d = compare(target, direct);
        EXPECT_LE(d.largest, kTextTolerance) << describe(d);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, CachedDrawing, testing::Values(1.0, 2.0),
                         [](const testing::TestParamInfo<double>& scale) {
                             return scale.param == 1.0 ? std::string("x1") : std::string("x2");
                         });

}  // namespace
}  // namespace vantor
