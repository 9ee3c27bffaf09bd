// A window of the agent on the simulated desktop, built from a window layout: its frame (the
// content area plus the title bar and toolbar of a titled window), level, alpha, background,
// visibility and order, its content view and toolbar, and its delegate. It reports what the
// desktop keeps track of (opened, closed, the overlay's content shown, hidden or moved) to the
// SimUI that made it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LayoutFile.h"
#include "platform/UI.h"
#include "platform/sim/SimView.h"

namespace vantor::sim {

class SimUI;
class SimWindow;

// NSToolbar with selectable items; each item is a view of class "NSToolbarItem" whose
// identifier is the item's and whose string value is its label, sending the toolbar's action.
class SimToolbar final : public platform::Toolbar {
public:
    SimToolbar(SimWindow& window, const platform::LayoutToolbar& layout,
               platform::ActionTarget* target);

    std::string selectedItemIdentifier() const override { return selected_; }
    void setSelectedItemIdentifier(std::string_view identifier) override;

    const std::vector<std::unique_ptr<SimView>>& items() const { return items_; }
    bool selectable() const { return selectable_; }
    // An item was clicked: a selectable toolbar marks it.
    void itemClicked(const SimView& item);

private:
    SimWindow& window_;
    std::vector<std::unique_ptr<SimView>> items_;
    bool selectable_;
    std::string selected_;
};

class SimWindow final : public platform::Window {
public:
    static constexpr double kTitleBarHeight = 28;
    static constexpr double kToolbarHeight = 40;
    // [NSColor windowBackgroundColor] in the light appearance.
    static constexpr platform::Color kWindowBackground{0.93, 0.93, 0.93, 1};

    // The window of a layout named `name`; its actions go to `target`. Reports to `ui`, which
    // may be null (a window nobody tracks).
    SimWindow(SimUI* ui, std::string name, const platform::LayoutWindow& layout,
              platform::ActionTarget* target);
    // A visible window leaves the screen without telling its delegate.
    ~SimWindow() override;
    SimWindow(const SimWindow&) = delete;
    SimWindow& operator=(const SimWindow&) = delete;

    std::string_view name() const override { return name_; }
    platform::Rect frame() const override { return frame_; }
    void setFrame(const platform::Rect& frame, bool display, bool animate = false) override;
    std::int64_t level() const override { return level_; }
    void setLevel(std::int64_t level) override { level_ = level; }
    double alphaValue() const override { return alpha_; }
    void setAlphaValue(double alpha) override { alpha_ = alpha; }
    void setOpaque(bool opaque) override { opaque_ = opaque; }
    void setBackgroundColor(const platform::Color& color) override { background_ = color; }
    void setIgnoresMouseEvents(bool ignores) override { ignoresMouse_ = ignores; }
    void setTitlebarAppearsTransparent(bool transparent) override {
        titlebarTransparent_ = transparent;
    }
    void setTitleVisibility(std::int32_t visibility) override { titleVisibility_ = visibility; }
    platform::View& contentView() override { return *content_; }
    platform::Toolbar* toolbar() override { return toolbar_.get(); }
    void makeKeyAndOrderFront() override;
    // Tells the delegate (which may release the window), then takes the window off the screen.
    void close() override;
    bool isVisible() const override { return visible_; }
    void setDelegate(platform::WindowDelegate* delegate) override { delegate_ = delegate; }

    // What the simulator knows beyond the interface.
    std::string_view className() const { return className_; }
    const platform::StyleMask& styleMask() const { return styleMask_; }
    std::string_view title() const { return title_; }
    bool isOpaque() const { return opaque_; }
    const platform::Color& backgroundColor() const { return background_; }
    bool ignoresMouseEvents() const { return ignoresMouse_; }
    bool titlebarAppearsTransparent() const { return titlebarTransparent_; }
    std::int32_t titleVisibility() const { return titleVisibility_; }
    SimView& simContentView() { return *content_; }
    const SimView& simContentView() const { return *content_; }
    SimToolbar* simToolbar() const { return toolbar_.get(); }
    // A titled window can become the key window; the borderless overlay never does.
    bool canBecomeKey() const { return styleMask_.titled; }
    // The overlay: the window whose content view is the agent's DrawingView.
    bool isOverlay() const;
    // The height of the title bar and toolbar above the content area.
    double chromeHeight() const;
    // The first responder: a view of this window that accepts it, or null. A window made key
    // without one gives it to its first such view, depth first.
    SimView* firstResponder() const;
    // makeFirstResponder:: false, and no change, for a view that is not this window's or does
    // not accept it; null leaves the window without one.
    bool makeFirstResponder(SimView* view);
    // Later order-front calls give larger numbers; windows of one level stack by it.
    std::uint64_t orderSequence() const { return orderSequence_; }

    struct FrameChange {
        platform::Rect frame;
        bool display = false;
        bool animate = false;
    };
    // The setFrame:display:animate: calls so far: how many, and the last one.
    int frameChanges() const { return frameChanges_; }
    const std::optional<FrameChange>& lastFrameChange() const { return lastFrameChange_; }

    // From the content view and the UI.
    void contentViewHiddenChanged(bool hidden);
    void setOrderSequence(std::uint64_t sequence) { orderSequence_ = sequence; }
    // The UI is going away first: the window reports to nobody from now on.
    void detachFromUI() { ui_ = nullptr; }
    // The agent's process has ended: the window leaves the screen without telling its delegate.
    void orderOutAtExit() { orderOut(); }

private:
    void orderOut();

    SimUI* ui_;
    std::uint64_t id_ = 0;
    std::string name_;
    std::string className_;
    platform::StyleMask styleMask_;
    std::string title_;
    platform::Rect frame_;
    std::int64_t level_ = 0;
    double alpha_ = 1;
    bool opaque_ = true;
    platform::Color background_ = kWindowBackground;
    bool ignoresMouse_ = false;
    bool titlebarTransparent_ = false;
    std::int32_t titleVisibility_ = platform::kWindowTitleVisible;
    bool visible_ = false;
    std::uint64_t orderSequence_ = 0;
    int frameChanges_ = 0;
    std::optional<FrameChange> lastFrameChange_;
    platform::WindowDelegate* delegate_ = nullptr;
    std::unique_ptr<SimView> content_;
    std::unique_ptr<SimToolbar> toolbar_;
    SimView* firstResponder_ = nullptr;  // checked against the view tree before each use
};

}  // namespace vantor::sim
