// The application class `App` (NSPrincipalClass in Info.plist): an NSApplication whose
// sendEvent: hands every key event to the agent's application object, which gives back to
// AppKit's normal dispatch what it does not take.
#pragma once

#import <AppKit/AppKit.h>

#include "platform/UI.h"

@interface App : NSApplication

// The agent's application object; null leaves every event to AppKit. Not owned.
@property(nonatomic, assign) vantor::platform::ApplicationEvents* events;

// [super sendEvent:]: the key event being handed to the agent now, which `event` stands for,
// goes through AppKit's normal dispatch.
- (void)dispatchEvent:(const vantor::platform::AppEvent&)event;

@end
