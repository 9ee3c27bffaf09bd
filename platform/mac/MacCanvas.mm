#include "platform/mac/MacCanvas.h"

#import <AppKit/AppKit.h>

#include "platform/mac/MacConversions.h"

namespace vantor::mac {

namespace {

// By name: NSTextAlignment's values differ between Intel and Apple silicon.
NSTextAlignment nsAlignment(platform::TextAlignment alignment) {
    switch (alignment) {
        case platform::TextAlignment::Right:
            return NSTextAlignmentRight;
        case platform::TextAlignment::Center:
            return NSTextAlignmentCenter;
        case platform::TextAlignment::Left:
            break;
    }
    return NSTextAlignmentLeft;
}

NSDictionary<NSAttributedStringKey, id>* nsAttributes(const platform::TextAttributes& attributes) {
    NSMutableParagraphStyle* style = [[NSParagraphStyle defaultParagraphStyle] mutableCopy];
    style.alignment = nsAlignment(attributes.alignment);
    return @{
        NSFontAttributeName : [NSFont systemFontOfSize:attributes.font.pointSize],
        NSForegroundColorAttributeName : nsColor(attributes.foregroundColor),
        NSParagraphStyleAttributeName : style,
    };
}

// [NSBezierPath bezierPath] with the rounded rectangle appended, at the path's line width.
NSBezierPath* nsPath(const platform::RoundedRectPath& path) {
    NSBezierPath* bezier = [NSBezierPath bezierPath];
    bezier.lineWidth = path.lineWidth;
    [bezier appendBezierPathWithRoundedRect:nsRect(path.rect)
                                    xRadius:path.xRadius
                                    yRadius:path.yRadius];
    return bezier;
}

}  // namespace

void MacCanvas::setFill(const platform::Color& color) {
    [nsColor(color) setFill];
}

void MacCanvas::setStroke(const platform::Color& color) {
    [nsColor(color) setStroke];
}

void MacCanvas::fillRectUsingOperation(const platform::Rect& rect,
                                       platform::CompositingOperation operation) {
    // The operation has the platform's values.
    NSRectFillUsingOperation(nsRect(rect), static_cast<NSCompositingOperation>(operation));
}

void MacCanvas::fill(const platform::RoundedRectPath& path) {
    [nsPath(path) fill];
}

void MacCanvas::stroke(const platform::RoundedRectPath& path) {
    [nsPath(path) stroke];
}

platform::Size MacCanvas::sizeWithAttributes(std::string_view text,
                                             const platform::TextAttributes& attributes) {
    const NSSize size = [nsString(text) sizeWithAttributes:nsAttributes(attributes)];
    return {size.width, size.height};
}

void MacCanvas::drawInRect(std::string_view text, const platform::Rect& rect,
                           const platform::TextAttributes& attributes) {
    if (rect.size.width <= 0 || rect.size.height <= 0) return;
    const NSRect bounds = nsRect(rect);
    [NSGraphicsContext saveGraphicsState];
    NSRectClip(bounds);
    [nsString(text) drawInRect:bounds withAttributes:nsAttributes(attributes)];
    [NSGraphicsContext restoreGraphicsState];
}

}  // namespace vantor::mac
