// Conversions between the platform interfaces' plain values (UTF-8 strings, points, rectangles,
// colours) and their AppKit and Foundation counterparts, for the macOS backend's own files.
#pragma once

#import <AppKit/AppKit.h>

#include <string>
#include <string_view>

#include "platform/Canvas.h"
#include "platform/Geometry.h"

namespace vantor::mac {

// An NSString of UTF-8 text; an empty string for text that is not UTF-8.
inline NSString* nsString(std::string_view text) {
    NSString* string = [[NSString alloc] initWithBytes:text.data()
                                                length:text.size()
                                              encoding:NSUTF8StringEncoding];
    return string ? string : @"";
}

// The UTF-8 text of an NSString; empty for nil.
inline std::string stdString(NSString* string) {
    const char* utf8 = string ? string.UTF8String : nullptr;
    return utf8 ? std::string(utf8) : std::string();
}

inline NSPoint nsPoint(const platform::Point& point) {
    return NSMakePoint(point.x, point.y);
}

inline NSRect nsRect(const platform::Rect& rect) {
    return NSMakeRect(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

inline platform::Rect rectOf(NSRect rect) {
    return {{rect.origin.x, rect.origin.y}, {rect.size.width, rect.size.height}};
}

// [NSColor colorWithRed:green:blue:alpha:]
inline NSColor* nsColor(const platform::Color& color) {
    return [NSColor colorWithRed:color.red green:color.green blue:color.blue alpha:color.alpha];
}

}  // namespace vantor::mac
