// The AppKit objects of a window layout's views: the view or control each kind stands for,
// with the properties the layout gives, and the view classes of the agent's own kinds, whose
// drawRect: and mouseUp: go to the behaviour set on their platform view.
#pragma once

#import <AppKit/AppKit.h>

#include "platform/LayoutFile.h"

namespace vantor::mac {
class MacView;
}

// A view of one of the agent's own classes ("DrawingView"): drawRect: paints through the
// behaviour on a MacCanvas, mouseUp: offers the click to it first.
@interface VantorView : NSView
@property(nonatomic, assign) vantor::mac::MacView* owner;
@end

// A text field of one of the agent's own classes ("ClickableTextField"): mouseUp: offers the
// click to the behaviour first.
@interface VantorTextField : NSTextField
@property(nonatomic, assign) vantor::mac::MacView* owner;
@end

namespace vantor::mac {

// The AppKit view of a layout view, without its subviews and its action: class, identifier,
// tag, frame, title or text, state, enabled, hidden, editable, and the autoresizing its pin
// asks for. Views of the agent's own classes get `owner` as their owner.
NSView* makeAppKitView(const platform::LayoutView& layout, MacView* owner);

// The autoresizing mask of a pin: a view pinned to both edges of an axis stretches, to one
// edge keeps its distance to it, to neither keeps its centre.
NSAutoresizingMaskOptions autoresizingMaskOf(const platform::Pin& pin);

}  // namespace vantor::mac
