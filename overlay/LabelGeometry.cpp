#include "overlay/LabelGeometry.h"

namespace vantor {

platform::Rect insetRect(const platform::Rect& rect, double dx, double dy) {
    return {{rect.origin.x + dx, rect.origin.y + dy},
            {rect.size.width - 2 * dx, rect.size.height - 2 * dy}};
}

LabelGeometry labelGeometry(const platform::Rect& itemFrame, std::size_t keyLength) {
    const bool withCount = keyLength >= 2;
    const double w = withCount ? itemFrame.size.width * 0.5 : itemFrame.size.width / 3;
    const double h = itemFrame.size.height / 3;

    LabelGeometry g;
    g.labelBox = {{itemFrame.origin.x + (itemFrame.size.width - w) * 0.5, itemFrame.origin.y},
                  {w, h}};
    g.cornerRadius = h * 0.25;
    g.lineWidth = h * 0.03125;

    const platform::Rect& l = g.labelBox;
    if (!withCount) {
        g.letterBox = insetRect(l, w * 0.2, h * 0.2);
    } else {
        // The character moves left to make room for the count; its box keeps its width.
        g.letterBox = insetRect(l, w * 0.28, h * 0.2);
        g.letterBox.origin.x = l.origin.x + w * 0.1;

        // The count's box ends at 0.85 of the label's width and shares the character's
        // bottom edge.
        platform::Rect b = insetRect(l, w * 0.25, h * 0.3);
        b.origin.x = l.origin.x + w * 0.85 - b.size.width;
        b.origin.y = g.letterBox.origin.y;
        g.countBox = b;
        g.countFontSize = b.size.height;
    }
    g.letterFontSize = g.letterBox.size.height;
    return g;
}

platform::Rect textRectCentredIn(const platform::Rect& box, double textHeight) {
    return {{box.origin.x, box.origin.y + (box.size.height - textHeight) * 0.5},
            {box.size.width, textHeight}};
}

}  // namespace vantor
