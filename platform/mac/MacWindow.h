// A window of a window layout on macOS: the platform window over its NSWindow (or NSPanel),
// with its content view, its toolbar and the delegate that hears windowWillClose:.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/LayoutFile.h"
#include "platform/UI.h"
#include "platform/mac/MacToolbar.h"
#include "platform/mac/MacView.h"

@class NSWindow;
@class VantorWindowDelegate;

namespace vantor::mac {

class MacWindow final : public platform::Window {
public:
    // The window of the layout named `name`; its controls' actions go to `target`.
    MacWindow(std::string name, const platform::LayoutWindow& layout,
              platform::ActionTarget* target);
    // A visible window leaves the screen without telling its delegate.
    ~MacWindow() override;
    MacWindow(const MacWindow&) = delete;
    MacWindow& operator=(const MacWindow&) = delete;

    // The platform window of an AppKit window built from a layout, or null for any other.
    static MacWindow* wrapperOf(NSWindow* window);

    NSWindow* nsWindow() const { return window_; }

    std::string_view name() const override { return name_; }
    platform::Rect frame() const override;
    void setFrame(const platform::Rect& frame, bool display, bool animate = false) override;
    std::int64_t level() const override;
    void setLevel(std::int64_t level) override;
    double alphaValue() const override;
    void setAlphaValue(double alpha) override;
    void setOpaque(bool opaque) override;
    void setBackgroundColor(const platform::Color& color) override;
    void setIgnoresMouseEvents(bool ignores) override;
    void setTitlebarAppearsTransparent(bool transparent) override;
    void setTitleVisibility(std::int32_t visibility) override;
    platform::View& contentView() override { return *content_; }
    platform::Toolbar* toolbar() override { return toolbar_.get(); }
    void makeKeyAndOrderFront() override;
    // [window close]: the delegate hears windowWillClose: and may end this object meanwhile.
    void close() override;
    bool isVisible() const override;
    void setDelegate(platform::WindowDelegate* delegate) override;

private:
    std::string name_;
    NSWindow* window_;
    VantorWindowDelegate* delegate_;
    std::unique_ptr<MacView> content_;
    std::unique_ptr<MacToolbar> toolbar_;
};

}  // namespace vantor::mac
