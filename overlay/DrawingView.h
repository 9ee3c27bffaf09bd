// The overlay's view: it paints one hint label for every entry of the switcher model's items,
// on the bottom edge of that application's icon, with the key's character and, for a key that
// must be pressed several times, a "×n" count beside it. It lies exactly over the switcher's
// list, so the items' frames (relative to the list) are its own coordinates; while a notice
// shows, it also holds the notice's strip under the list, and the list lies inside it.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "overlay/NoticeGeometry.h"
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

    // The text of the strip drawn under the list; empty for none.
    const std::string& notice() const { return notice_; }
    void setNotice(std::string notice) { notice_ = std::move(notice); }
    // Where the overlay lies and the list inside it: the whole view unless a notice needs room.
    const OverlayPlacement& placement() const { return placement_; }
    void setPlacement(const OverlayPlacement& placement) { placement_ = placement; }

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
    void drawNotice(platform::Canvas& canvas) const;

    const ProcList::ItemMap* items_ = nullptr;
    std::string notice_;
    OverlayPlacement placement_;
    // Clear until awakeFromNib gives them their values.
    platform::Color fgColor_;
    platform::Color bgColor_;
    platform::Color secondFgColor_;
    platform::Color borderColor_;
};

}  // namespace vantor
