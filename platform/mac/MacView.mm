#import "platform/mac/MacView.h"

#import <AppKit/AppKit.h>

#include <unordered_map>

#import "platform/mac/MacActionRelay.h"
#import "platform/mac/MacControls.h"
#include "platform/mac/MacConversions.h"
#include "platform/mac/MacWindow.h"

namespace vantor::mac {

namespace {

// The platform view of every live AppKit view built from a layout.
std::unordered_map<const void*, MacView*>& wrappers() {
    static std::unordered_map<const void*, MacView*> map;
    return map;
}

const void* keyOf(NSView* view) {
    return (__bridge const void*)view;
}

// The view as an object of an AppKit class, or nil when it is of another.
template <class T>
T* as(NSView* view) {
    return [view isKindOfClass:[T class]] ? (T*)view : nil;
}

}  // namespace

MacView::MacView(const platform::LayoutView& layout, platform::ActionTarget* target)
    : className_(layout.className),
      identifier_(layout.identifier),
      tag_(layout.tag),
      action_(layout.action),
      view_(makeAppKitView(layout, this)) {
    wrappers()[keyOf(view_)] = this;
    if (!action_.empty() && target) {
        relay_ = [[VantorActionRelay alloc] initWithTarget:target action:action_ sender:this];
        if (NSControl* control = as<NSControl>(view_)) {
            control.target = relay_;
            control.action = @selector(relay:);
        }
    }
    for (const platform::LayoutView& sub : layout.subviews) {
        owned_.push_back(std::make_unique<MacView>(sub, target));
        [view_ addSubview:owned_.back()->view_];
    }
}

MacView::~MacView() {
    wrappers().erase(keyOf(view_));
    as<VantorView>(view_).owner = nullptr;
    as<VantorTextField>(view_).owner = nullptr;
    if (NSControl* control = as<NSControl>(view_)) {
        control.target = nil;
        control.action = nullptr;
    }
    if (wrapperOf(view_.superview)) [view_ removeFromSuperview];
}

MacView* MacView::wrapperOf(NSView* view) {
    if (!view) return nullptr;
    const auto it = wrappers().find(keyOf(view));
    return it == wrappers().end() ? nullptr : it->second;
}

std::int64_t MacView::tag() const {
    if (NSControl* control = as<NSControl>(view_)) return control.tag;
    return tag_;
}

platform::Rect MacView::frame() const {
    return rectOf(view_.frame);
}

void MacView::setFrame(const platform::Rect& frame) {
    view_.frame = nsRect(frame);
}

bool MacView::isHidden() const {
    return view_.hidden;
}

void MacView::setHidden(bool hidden) {
    view_.hidden = hidden;
}

void MacView::setNeedsDisplay(bool needsDisplay) {
    view_.needsDisplay = needsDisplay;
}

std::vector<platform::View*> MacView::subviews() const {
    std::vector<platform::View*> views;
    for (NSView* sub in view_.subviews) {
        if (MacView* wrapper = wrapperOf(sub)) views.push_back(wrapper);
    }
    return views;
}

platform::View* MacView::superview() const {
    return wrapperOf(view_.superview);
}

void MacView::addSubview(platform::View& view) {
    auto* sub = dynamic_cast<MacView*>(&view);
    // A view that would contain itself cannot join the tree.
    if (!sub || [view_ isDescendantOf:sub->view_]) return;
    [view_ addSubview:sub->view_];
}

void MacView::removeFromSuperview() {
    [view_ removeFromSuperview];
}

platform::Window* MacView::window() const {
    return MacWindow::wrapperOf(view_.window);
}

platform::View* MacView::hitTest(platform::Point point) {
    // The deepest AppKit view hit may be a part of a control; its nearest platform view answers.
    for (NSView* view = [view_ hitTest:nsPoint(point)]; view; view = view.superview) {
        if (MacView* wrapper = wrapperOf(view)) return wrapper;
    }
    return nullptr;
}

void MacView::addCursorRect(const platform::Rect& rect, platform::Cursor cursor) {
    NSCursor* shape = cursor == platform::Cursor::PointingHand ? NSCursor.pointingHandCursor
                                                                : NSCursor.arrowCursor;
    [view_ addCursorRect:nsRect(rect) cursor:shape];
}

void MacView::setBehaviour(platform::ViewBehaviour* behaviour) {
    behaviour_ = behaviour;
    view_.needsDisplay = YES;
}

bool MacView::isEnabled() const {
    NSControl* control = as<NSControl>(view_);
    return control ? control.enabled : true;
}

void MacView::setEnabled(bool enabled) {
    if (NSControl* control = as<NSControl>(view_)) control.enabled = enabled;
}

platform::ControlState MacView::state() const {
    NSButton* button = as<NSButton>(view_);
    return button ? static_cast<platform::ControlState>(button.state) : platform::ControlState::Off;
}

void MacView::setState(platform::ControlState state) {
    NSButton* button = as<NSButton>(view_);
    if (!button) return;
    if (state == platform::ControlState::Mixed) button.allowsMixedState = YES;
    // ControlState has NSControlStateValue's values.
    button.state = static_cast<NSControlStateValue>(state);
}

void MacView::setState(platform::VisualEffectState state) {
    if (NSVisualEffectView* effect = as<NSVisualEffectView>(view_))
        effect.state = static_cast<NSVisualEffectState>(state);
}

void MacView::setMaterial(platform::VisualEffectMaterial material) {
    if (NSVisualEffectView* effect = as<NSVisualEffectView>(view_))
        effect.material = static_cast<NSVisualEffectMaterial>(material);
}

std::string MacView::stringValue() const {
    if (NSButton* button = as<NSButton>(view_)) return stdString(button.title);
    if (NSControl* control = as<NSControl>(view_)) return stdString(control.stringValue);
    if (NSTextView* text = as<NSTextView>(view_)) return stdString(text.string);
    return {};
}

void MacView::setStringValue(std::string_view value) {
    if (NSButton* button = as<NSButton>(view_)) {
        button.title = nsString(value);
    } else if (NSControl* control = as<NSControl>(view_)) {
        control.stringValue = nsString(value);
        if (underlined_) setUnderlined(true);
    } else if (NSTextView* text = as<NSTextView>(view_)) {
        text.string = nsString(value);
    }
}

void MacView::setUnderlined(bool underlined) {
    NSControl* control = as<NSControl>(view_);
    if (!control || as<NSButton>(view_)) return;
    underlined_ = underlined;
    NSMutableDictionary<NSAttributedStringKey, id>* attributes = [NSMutableDictionary dictionary];
    if (control.font) attributes[NSFontAttributeName] = control.font;
    if (underlined) attributes[NSUnderlineStyleAttributeName] = @(NSUnderlineStyleSingle);
    control.attributedStringValue = [[NSAttributedString alloc] initWithString:control.stringValue
                                                                    attributes:attributes];
}

void MacView::setTextContainerInset(platform::Size inset) {
    if (NSTextView* text = as<NSTextView>(view_))
        text.textContainerInset = NSMakeSize(inset.width, inset.height);
}

bool MacView::sendAction() {
    if (action_.empty() || !relay_) return false;
    if (NSControl* control = as<NSControl>(view_)) {
        if (!control.enabled) return false;
        return [control sendAction:control.action to:control.target];
    }
    return [NSApp sendAction:@selector(relay:) to:relay_ from:view_];
}

}  // namespace vantor::mac
