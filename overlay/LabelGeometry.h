// Where the parts of one hint label go: the rounded box on the bottom edge of an application's
// icon, the box of the key's character and, for a key pressed several times, the box of the
// "×n" count. Everything is in the view's coordinates (origin bottom-left, y up).
#pragma once

#include <cstddef>
#include <optional>

#include "platform/Geometry.h"

namespace vantor {

struct LabelGeometry {
    platform::Rect labelBox;    // L: centred on the icon, standing on the frame's bottom edge
    double cornerRadius = 0;    // both radii of L's rounded corners: L.h / 4
    double lineWidth = 0;       // width of L's outline: L.h / 32
    platform::Rect letterBox;   // T: where the key's character is centred
    double letterFontSize = 0;  // system font size of the character: T.h
    std::optional<platform::Rect> countBox;  // B: the count, right-aligned; only for n >= 2
    double countFontSize = 0;                // system font size of the count: B.h (0 without B)
};

// NSInsetRect: the rectangle shrunk by dx on the left and the right and by dy at the bottom
// and the top.
platform::Rect insetRect(const platform::Rect& rect, double dx, double dy);

// The label of an item with the given frame (relative to the list, which is the view's own
// coordinate system) whose hint key is `keyLength` presses long (at least 1).
LabelGeometry labelGeometry(const platform::Rect& itemFrame, std::size_t keyLength);

// The rectangle a text of measured height `textHeight` is drawn in so that it sits centred
// vertically in `box`, at the box's full width: text is drawn from the top of its rectangle.
platform::Rect textRectCentredIn(const platform::Rect& box, double textHeight);

}  // namespace vantor
