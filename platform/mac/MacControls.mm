#import "platform/mac/MacControls.h"

#include "platform/mac/MacCanvas.h"
#include "platform/mac/MacConversions.h"
#include "platform/mac/MacView.h"

namespace {

vantor::platform::ViewBehaviour* behaviourOf(vantor::mac::MacView* owner) {
    return owner ? owner->behaviour() : nullptr;
}

}  // namespace

@implementation VantorView

- (void)drawRect:(NSRect)dirtyRect {
    if (vantor::platform::ViewBehaviour* behaviour = behaviourOf(self.owner)) {
        vantor::mac::MacCanvas canvas;
        behaviour->drawRect(canvas, vantor::mac::rectOf(dirtyRect));
    }
}

- (void)mouseUp:(NSEvent*)event {
    vantor::platform::ViewBehaviour* behaviour = behaviourOf(self.owner);
    if (behaviour && behaviour->mouseUp(*self.owner)) return;
    [super mouseUp:event];
}

- (void)resetCursorRects {
    [super resetCursorRects];
    if (vantor::platform::ViewBehaviour* behaviour = behaviourOf(self.owner))
        behaviour->resetCursorRects(*self.owner);
}

@end

@implementation VantorTextField

// A text field's own mouseDown: tracks the click to its end and keeps the mouse-up from
// arriving here; with a behaviour the click is left to mouseUp:.
- (void)mouseDown:(NSEvent*)event {
    if (!behaviourOf(self.owner)) [super mouseDown:event];
}

- (void)mouseUp:(NSEvent*)event {
    vantor::platform::ViewBehaviour* behaviour = behaviourOf(self.owner);
    if (behaviour && behaviour->mouseUp(*self.owner)) return;
    [super mouseUp:event];
}

- (void)resetCursorRects {
    [super resetCursorRects];
    if (vantor::platform::ViewBehaviour* behaviour = behaviourOf(self.owner))
        behaviour->resetCursorRects(*self.owner);
}

@end

namespace vantor::mac {

namespace {

using platform::ViewKind;

NSButton* makeButton(const platform::LayoutView& layout, NSRect frame) {
    NSButton* button = [[NSButton alloc] initWithFrame:frame];
    switch (layout.kind) {
        case ViewKind::CheckBox:
            [button setButtonType:NSButtonTypeSwitch];
            break;
        case ViewKind::RadioButton:
            [button setButtonType:NSButtonTypeRadio];
            break;
        default:
            [button setButtonType:NSButtonTypeMomentaryPushIn];
            button.bezelStyle = NSBezelStyleRounded;
            break;
    }
    button.title = nsString(layout.stringValue);
    button.allowsMixedState = layout.state == platform::ControlState::Mixed;
    button.state = static_cast<NSControlStateValue>(layout.state);
    return button;
}

NSTextField* makeTextField(const platform::LayoutView& layout, NSRect frame, MacView* owner) {
    NSTextField* field;
    if (layout.className == "NSTextField") {
        field = [[NSTextField alloc] initWithFrame:frame];
    } else {
        VantorTextField* own = [[VantorTextField alloc] initWithFrame:frame];
        own.owner = owner;
        field = own;
    }
    field.stringValue = nsString(layout.stringValue);
    // A field that takes no typing is a label: no border, no background, wrapped lines.
    field.editable = layout.editable;
    field.selectable = layout.editable;
    field.bezeled = layout.editable;
    field.drawsBackground = layout.editable;
    if (!layout.editable) field.lineBreakMode = NSLineBreakByWordWrapping;
    return field;
}

NSTextView* makeTextView(const platform::LayoutView& layout, NSRect frame) {
    NSTextView* text = [[NSTextView alloc] initWithFrame:frame];
    text.string = nsString(layout.stringValue);
    text.editable = layout.editable;
    return text;
}

NSView* makePlainView(const platform::LayoutView& layout, NSRect frame, MacView* owner) {
    if (layout.className == "NSView") return [[NSView alloc] initWithFrame:frame];
    VantorView* own = [[VantorView alloc] initWithFrame:frame];
    own.owner = owner;
    return own;
}

}  // namespace

NSAutoresizingMaskOptions autoresizingMaskOf(const platform::Pin& pin) {
    NSAutoresizingMaskOptions mask = NSViewNotSizable;
    if (pin.left && pin.right) {
        mask |= NSViewWidthSizable;
    } else {
        if (!pin.left) mask |= NSViewMinXMargin;
        if (!pin.right) mask |= NSViewMaxXMargin;
    }
    if (pin.top && pin.bottom) {
        mask |= NSViewHeightSizable;
    } else {
        if (!pin.bottom) mask |= NSViewMinYMargin;
        if (!pin.top) mask |= NSViewMaxYMargin;
    }
    return mask;
}

NSView* makeAppKitView(const platform::LayoutView& layout, MacView* owner) {
    const NSRect frame = nsRect(layout.frame);
    NSView* view;
    switch (layout.kind) {
        case ViewKind::PushButton:
        case ViewKind::CheckBox:
        case ViewKind::RadioButton:
            view = makeButton(layout, frame);
            break;
        case ViewKind::TextField:
            view = makeTextField(layout, frame, owner);
            break;
        case ViewKind::TextView:
            view = makeTextView(layout, frame);
            break;
        case ViewKind::VisualEffectView:
            view = [[NSVisualEffectView alloc] initWithFrame:frame];
            break;
        case ViewKind::View:
        default:
            view = makePlainView(layout, frame, owner);
            break;
    }
    if (!layout.identifier.empty()) view.identifier = nsString(layout.identifier);
    if ([view isKindOfClass:[NSControl class]]) {
        NSControl* control = (NSControl*)view;
        control.tag = static_cast<NSInteger>(layout.tag);
        control.enabled = layout.enabled;
    }
    view.hidden = layout.hidden;
    view.autoresizingMask = autoresizingMaskOf(layout.pin);
    return view;
}

}  // namespace vantor::mac
