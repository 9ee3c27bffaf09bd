#import "platform/mac/MacApplication.h"

#include <string>

#include "platform/mac/MacConversions.h"

namespace {

bool isKeyEvent(NSEventType type) {
    return type == NSEventTypeKeyDown || type == NSEventTypeKeyUp ||
           type == NSEventTypeFlagsChanged;
}

// AppEventType has NSEventType's values.
NSEventType nsEventType(vantor::platform::AppEventType type) {
    return static_cast<NSEventType>(type);
}

vantor::platform::AppEvent appEventOf(NSEvent* event) {
    vantor::platform::AppEvent appEvent;
    appEvent.type = static_cast<vantor::platform::AppEventType>(event.type);
    appEvent.modifierFlags = static_cast<std::uint64_t>(event.modifierFlags);
    appEvent.keyCode = event.keyCode;
    // A modifier change has no characters (asking for them raises).
    if (event.type != NSEventTypeFlagsChanged)
        appEvent.charactersIgnoringModifiers =
            vantor::mac::stdString(event.charactersIgnoringModifiers);
    return appEvent;
}

}  // namespace

@implementation App {
    NSEvent* _current;  // the key event the agent's application object has now
}

- (void)sendEvent:(NSEvent*)event {
    vantor::platform::ApplicationEvents* events = self.events;
    if (!events || !isKeyEvent(event.type)) {
        [super sendEvent:event];
        return;
    }
    NSEvent* outer = _current;
    _current = event;
    events->sendEvent(appEventOf(event));
    _current = outer;
}

- (void)dispatchEvent:(const vantor::platform::AppEvent&)event {
    if (_current && _current.type == nsEventType(event.type) && _current.keyCode == event.keyCode)
        [super sendEvent:_current];
}

@end
