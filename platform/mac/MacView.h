// A view or control of a window layout on macOS: the platform view over its AppKit NSView
// (NSView, NSButton, NSTextField, NSTextView, NSVisualEffectView or one of the agent's own view
// classes), each operation the AppKit call it names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LayoutFile.h"
#include "platform/UI.h"

@class NSView;
@class VantorActionRelay;

namespace vantor::mac {

class MacView final : public platform::View {
public:
    // Builds the view the layout describes with its subviews, which it owns; its action (and
    // its subviews') goes to `target`.
    MacView(const platform::LayoutView& layout, platform::ActionTarget* target);
    // A view whose superview is another MacView leaves it; the AppKit view stops sending its
    // action and calling its behaviour.
    ~MacView() override;
    MacView(const MacView&) = delete;
    MacView& operator=(const MacView&) = delete;

    // The platform view of an AppKit view built from a layout, or null for any other view.
    static MacView* wrapperOf(NSView* view);

    NSView* nsView() const { return view_; }
    platform::ViewBehaviour* behaviour() const { return behaviour_; }

    std::string_view className() const override { return className_; }
    std::string_view identifier() const override { return identifier_; }
    std::int64_t tag() const override;

    platform::Rect frame() const override;
    void setFrame(const platform::Rect& frame) override;
    bool isHidden() const override;
    void setHidden(bool hidden) override;
    void setNeedsDisplay(bool needsDisplay) override;

    std::vector<platform::View*> subviews() const override;
    platform::View* superview() const override;
    void addSubview(platform::View& view) override;
    void removeFromSuperview() override;
    platform::Window* window() const override;

    platform::View* hitTest(platform::Point point) override;
    void setBehaviour(platform::ViewBehaviour* behaviour) override;
    void addCursorRect(const platform::Rect& rect, platform::Cursor cursor) override;

    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    platform::ControlState state() const override;
    void setState(platform::ControlState state) override;
    void setState(platform::VisualEffectState state) override;
    void setMaterial(platform::VisualEffectMaterial material) override;
    std::string stringValue() const override;
    void setStringValue(std::string_view value) override;
    void setUnderlined(bool underlined) override;
    void setTextContainerInset(platform::Size inset) override;
    std::string_view action() const override { return action_; }
    // [control sendAction:action to:target]; false for a view without an action or a
    // disabled control.
    bool sendAction() override;

private:
    std::string className_;
    std::string identifier_;
    std::int64_t tag_;
    std::string action_;
    NSView* view_;              // strong
    VantorActionRelay* relay_;  // the target of the action, when the view has one
    platform::ViewBehaviour* behaviour_ = nullptr;
    bool underlined_ = false;  // kept over later changes of the text
    std::vector<std::unique_ptr<MacView>> owned_;
};

}  // namespace vantor::mac
