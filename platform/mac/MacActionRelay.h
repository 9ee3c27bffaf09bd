// The target of a control's or toolbar item's action in AppKit: it hands the action, by the
// name the window layout gives it, to the layout's owner, with the sender's platform view.
#pragma once

#import <Foundation/Foundation.h>

#include <string>

#include "platform/UI.h"

@interface VantorActionRelay : NSObject

// `target` and `sender` are not owned; whoever owns the relay outlives neither.
- (instancetype)initWithTarget:(vantor::platform::ActionTarget*)target
                        action:(const std::string&)action
                        sender:(vantor::platform::View*)sender NS_DESIGNATED_INITIALIZER;
- (instancetype)init NS_UNAVAILABLE;

// The action message every control built from a layout sends to its relay.
- (void)relay:(id)sender;

@end
