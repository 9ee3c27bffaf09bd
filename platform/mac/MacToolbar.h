// A window's toolbar with selectable items on macOS: NSToolbar, its delegate, and each
// NSToolbarItem as the platform view that sends the toolbar's action (class "NSToolbarItem",
// the item's identifier, its label as string value).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LayoutFile.h"
#include "platform/UI.h"

@class NSToolbar;
@class NSToolbarItem;
@class VantorActionRelay;
@class VantorToolbarDelegate;

namespace vantor::mac {

class MacToolbarItem final : public platform::View {
public:
    MacToolbarItem(const platform::LayoutToolbarItem& layout, const std::string& action,
                   platform::Window& window, platform::ActionTarget* target);
    ~MacToolbarItem() override;
    MacToolbarItem(const MacToolbarItem&) = delete;
    MacToolbarItem& operator=(const MacToolbarItem&) = delete;

    NSToolbarItem* nsItem() const { return item_; }

    std::string_view className() const override { return "NSToolbarItem"; }
    std::string_view identifier() const override { return identifier_; }
    std::int64_t tag() const override;
    platform::Rect frame() const override { return {}; }
    void setFrame(const platform::Rect&) override {}
    bool isHidden() const override { return false; }
    void setHidden(bool) override {}
    void setNeedsDisplay(bool) override {}
    std::vector<platform::View*> subviews() const override { return {}; }
    platform::View* superview() const override { return nullptr; }
    void addSubview(platform::View&) override {}
    void removeFromSuperview() override {}
    platform::Window* window() const override { return &window_; }
    platform::View* hitTest(platform::Point) override { return nullptr; }
    void setBehaviour(platform::ViewBehaviour*) override {}
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    platform::ControlState state() const override { return platform::ControlState::Off; }
    void setState(platform::ControlState) override {}
    void setState(platform::VisualEffectState) override {}
    void setMaterial(platform::VisualEffectMaterial) override {}
    std::string stringValue() const override;
    void setStringValue(std::string_view value) override;
    void setUnderlined(bool) override {}
    void addCursorRect(const platform::Rect&, platform::Cursor) override {}
    void setTextContainerInset(platform::Size) override {}
    std::string_view action() const override { return action_; }
    // [NSApp sendAction:to:from:] of the item's action; false for a disabled item.
    bool sendAction() override;

private:
    std::string identifier_;
    std::string action_;
    platform::Window& window_;
    NSToolbarItem* item_;
    VantorActionRelay* relay_;
};

class MacToolbar final : public platform::Toolbar {
public:
    // The toolbar of the window `window`, named after its layout; items send their action to
    // `target`.
    MacToolbar(std::string_view name, const platform::LayoutToolbar& layout,
               platform::Window& window, platform::ActionTarget* target);
    ~MacToolbar() override;
    MacToolbar(const MacToolbar&) = delete;
    MacToolbar& operator=(const MacToolbar&) = delete;

    NSToolbar* nsToolbar() const { return toolbar_; }

    std::string selectedItemIdentifier() const override;
    void setSelectedItemIdentifier(std::string_view identifier) override;

private:
    std::vector<std::unique_ptr<MacToolbarItem>> items_;
    VantorToolbarDelegate* delegate_;
    NSToolbar* toolbar_;
};

}  // namespace vantor::mac
