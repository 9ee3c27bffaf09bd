// The overlay's view: it paints one hint label for every entry of the switcher model's items,
// on the bottom edge of that application's icon, with the key's character and, for a key that
// must be pressed several times, a "×n" count beside it. It lies exactly over the switcher's
// list, so the items' frames (relative to the list) are its own coordinates.
#pragma once

#include <string_view>

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/UI.h"
#include "switcher/ProcList.h"

namespace vantor {

class DrawingView : public platform::ViewBehaviour {
public:
    // Sets the default colours: fgColor, secondFgColor, bgColor, borderColor.
    void awakeFromNib();

    // Clears the dirty rectangle to full transparency, then paints the labels of `items`.
    void drawRect(platform::Canvas& canvas, const platform::Rect& dirtyRect) override;

    // The model's live dictionary (hint key to item), not a copy and not owned; null for none.
    const ProcList::ItemMap* items() const { return items_; }
    void setItems(const ProcList::ItemMap* items) { items_ = items; }

    // The key's character.
    const platform::Color& fgColor() const { return fgColor_; }
    void setFgColor(const platform::Color& color) { fgColor_ = color; }
    // The label's fill.
    const platform::Color& bgColor() const { return bgColor_; }
    void setBgColor(const platform::Color& color) { bgColor_ = color; }
    // The "×n" count.
    const platform::Color& secondFgColor() const { return secondFgColor_; }
    void setSecondFgColor(const platform::Color& color) { secondFgColor_ = color; }
    // The label's outline.
    const platform::Color& borderColor() const { return borderColor_; }
    void setBorderColor(const platform::Color& color) { borderColor_ = color; }

private:
    void drawLabel(platform::Canvas& canvas, std::string_view key,
                   const platform::Rect& itemFrame) const;

    const ProcList::ItemMap* items_ = nullptr;
    // Clear until awakeFromNib gives them their values.
    platform::Color fgColor_;
    platform::Color bgColor_;
    platform::Color secondFgColor_;
    platform::Color borderColor_;
};

}  // namespace vantor
