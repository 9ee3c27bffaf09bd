// The 2-D drawing surface a view paints on in its drawRect: (the current NSGraphicsContext with
// the AppKit drawing calls named beside each operation). Coordinates are the view's own: origin
// at the bottom-left corner, y growing upwards, in points.
#pragma once

#include <string_view>

#include "platform/Geometry.h"

namespace vantor::platform {

// An NSColor in the device RGB space ([NSColor colorWithRed:green:blue:alpha:]), components
// 0 to 1, not premultiplied.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;

    // [NSColor clearColor]: fully transparent.
    static constexpr Color clearColor() { return {0, 0, 0, 0}; }
    friend bool operator==(const Color&, const Color&) = default;
};

// NSCompositingOperation, with the platform's values.
enum class CompositingOperation {
    Clear = 0,
    Copy = 1,  // the area is replaced by the colour, not blended with what was there
    SourceOver = 2,
};

// NSTextAlignment of a paragraph style, with the platform's values.
enum class TextAlignment {
    Left = 0,
    Right = 1,
    Center = 2,
};

// [NSFont systemFontOfSize:]: the regular system font at a size in points (its em size).
struct Font {
    double pointSize = 0;

    static constexpr Font systemFontOfSize(double pointSize) { return {pointSize}; }
    friend bool operator==(const Font&, const Font&) = default;
};

// The attributes of a drawn or measured string: NSFontAttributeName,
// NSForegroundColorAttributeName, and NSParagraphStyleAttributeName with only its alignment set
// ([[NSParagraphStyle defaultParagraphStyle] mutableCopy], setAlignment:).
struct TextAttributes {
    Font font;
    Color foregroundColor;
    TextAlignment alignment = TextAlignment::Left;
};

// An NSBezierPath made of one rounded rectangle ([NSBezierPath bezierPath], then
// appendBezierPathWithRoundedRect:xRadius:yRadius:). `lineWidth` is the width in force when the
// path was made ([NSBezierPath setDefaultLineWidth:] before it), which its stroke uses.
struct RoundedRectPath {
    Rect rect;
    double xRadius = 0;
    double yRadius = 0;
    double lineWidth = 1;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // [color setFill]: the colour of later fills.
    virtual void setFill(const Color& color) = 0;
    // [color setStroke]: the colour of later strokes.
    virtual void setStroke(const Color& color) = 0;
    // [color set]: both.
    void set(const Color& color) {
        setFill(color);
        setStroke(color);
    }

    // NSRectFillUsingOperation(rect, operation) with the current fill colour.
    virtual void fillRectUsingOperation(const Rect& rect, CompositingOperation operation) = 0;

    // [path fill] with the current fill colour, blended over what is there.
    virtual void fill(const RoundedRectPath& path) = 0;
    // [path stroke] with the current stroke colour: an outline of the path's line width,
    // centred on its edge, blended over what is there.
    virtual void stroke(const RoundedRectPath& path) = 0;

    // [string sizeWithAttributes:]: the extent of the UTF-8 text on one line; its height is the
    // font's line height.
    virtual Size sizeWithAttributes(std::string_view text, const TextAttributes& attributes) = 0;

    // [string drawInRect:withAttributes:]: the UTF-8 text laid out in the rectangle's width,
    // aligned as the attributes ask, its first line at the top of the rectangle; nothing is
    // drawn outside the rectangle.
    virtual void drawInRect(std::string_view text, const Rect& rect,
                            const TextAttributes& attributes) = 0;
};

}  // namespace vantor::platform
