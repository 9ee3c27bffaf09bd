#include "platform/mac/MacEventServices.h"

#import <AppKit/AppKit.h>
#include <ApplicationServices/ApplicationServices.h>
#include <Carbon/Carbon.h>
#include <IOKit/IOKitLib.h>

#include "platform/mac/MacCFHandle.h"

namespace vantor::mac {

using platform::Event;
using platform::EventTap;
using platform::TapAction;
using platform::TapAnswer;
using platform::TapEvent;

namespace {

bool isDisabledNotice(CGEventType type) {
    return type == kCGEventTapDisabledByTimeout || type == kCGEventTapDisabledByUserInput;
}

// CGEventTapCallBack: reads the event into the abstract one, asks the agent, and returns what
// it answered (the event, the event with new flags, or NULL to swallow it).
CGEventRef tapCallback(CGEventTapProxy proxy, CGEventType type, CGEventRef event, void* info) {
    const auto& tap = *static_cast<const MacEventServices::TapCallback*>(info);
    TapEvent abstract;
    abstract.type = static_cast<platform::EventType>(type);
    // A disabled notice comes with no event worth reading.
    if (!isDisabledNotice(type)) {
        abstract.sourceUserData = CGEventGetIntegerValueField(event, kCGEventSourceUserData);
        abstract.keyCode = CGEventGetIntegerValueField(event, kCGKeyboardEventKeycode);
        abstract.flags = CGEventGetFlags(event);
        const CGPoint location = CGEventGetLocation(event);
        abstract.location = {location.x, location.y};
        abstract.buttonNumber = CGEventGetIntegerValueField(event, kCGMouseEventButtonNumber);
    }
    const TapAnswer answer = tap.callback(proxy, abstract, tap.userInfo);
    switch (answer.action) {
        case TapAction::Swallow:
            return nullptr;
        case TapAction::PassWithFlags:
            CGEventSetFlags(event, answer.flags);
            return event;
        case TapAction::Pass:
            break;
    }
    return event;
}

CGEventSourceRef sourceRef(const platform::EventSource& source) {
    return cfRef<CGEventSourceRef>(source);
}

CGEventRef eventRef(const Event& event) {
    return cfRef<CGEventRef>(event);
}

}  // namespace

platform::EventSource MacEventServices::sourceCreate(platform::EventSourceStateID state) {
    return adoptCF<platform::EventSource>(
        CGEventSourceCreate(static_cast<CGEventSourceStateID>(state)));
}

void MacEventServices::sourceSetUserData(const platform::EventSource& source,
                                         std::int64_t userData) {
    CGEventSourceSetUserData(sourceRef(source), userData);
}

platform::EventFlags MacEventServices::sourceFlagsState(platform::EventSourceStateID state) {
    return CGEventSourceFlagsState(static_cast<CGEventSourceStateID>(state));
}

Event MacEventServices::createKeyboardEvent(const platform::EventSource& source,
                                            std::uint16_t virtualKey, bool keyDown) {
    return adoptCF<Event>(
        CGEventCreateKeyboardEvent(sourceRef(source), static_cast<CGKeyCode>(virtualKey), keyDown));
}

Event MacEventServices::createMouseEvent(const platform::EventSource& source,
                                         platform::EventType type, platform::Point position,
                                         platform::MouseButton button) {
    return adoptCF<Event>(CGEventCreateMouseEvent(sourceRef(source), static_cast<CGEventType>(type),
                                                  CGPointMake(position.x, position.y),
                                                  static_cast<CGMouseButton>(button)));
}

void MacEventServices::setFlags(const Event& event, platform::EventFlags flags) {
    CGEventSetFlags(eventRef(event), static_cast<CGEventFlags>(flags));
}

void MacEventServices::post(platform::EventTapLocation location, const Event& event) {
    CGEventPost(static_cast<CGEventTapLocation>(location), eventRef(event));
}

void MacEventServices::tapPostEvent(platform::EventTapProxy proxy, const Event& event) {
    CGEventTapPostEvent(static_cast<CGEventTapProxy>(proxy), eventRef(event));
}

EventTap MacEventServices::tapCreate(platform::EventTapLocation location, platform::EventMask mask,
                                     platform::EventTapCallback callback, void* userInfo) {
    TapCallback& info = tapCallbacks_.emplace_back(TapCallback{callback, userInfo});
    CFMachPortRef port = CGEventTapCreate(static_cast<CGEventTapLocation>(location),
                                          kCGHeadInsertEventTap, kCGEventTapOptionDefault,
                                          static_cast<CGEventMask>(mask), &tapCallback, &info);
    if (!port) {
        tapCallbacks_.pop_back();
        return {};
    }
    return adoptCF<EventTap>(port);
}

platform::RunLoopSource MacEventServices::tapCreateRunLoopSource(const EventTap& tap) {
    return adoptCF<platform::RunLoopSource>(
        CFMachPortCreateRunLoopSource(nullptr, cfRef<CFMachPortRef>(tap), 0));
}

void MacEventServices::tapEnable(const EventTap& tap, bool enable) {
    CGEventTapEnable(cfRef<CFMachPortRef>(tap), enable);
}

platform::Point MacEventServices::pointerLocation() {
    CGEventRef event = CGEventCreate(nullptr);
    if (!event) return {};
    const CGPoint location = CGEventGetLocation(event);
    CFRelease(event);
    return {location.x, location.y};
}

platform::Point MacEventServices::mouseLocation() {
    const NSPoint location = [NSEvent mouseLocation];
    return {location.x, location.y};
}

bool MacEventServices::isSecureEventInputEnabled() {
    return IsSecureEventInputEnabled();
}

std::optional<std::int32_t> MacEventServices::secureEventInputProcessIdentifier() {
    const io_registry_entry_t entry =
        IORegistryEntryFromPath(kIOMainPortDefault, "IOService:/IOResources/IOConsoleUsers");
    if (entry == IO_OBJECT_NULL) return std::nullopt;
    NSArray* users = CFBridgingRelease(
        IORegistryEntryCreateCFProperty(entry, CFSTR("IOConsoleUsers"), kCFAllocatorDefault, 0));
    IOObjectRelease(entry);
    if (![users isKindOfClass:[NSArray class]]) return std::nullopt;
    // The key is no documented constant: a system without it names no holder.
    for (id user in users) {
        if (![user isKindOfClass:[NSDictionary class]]) continue;
        id pid = [(NSDictionary*)user objectForKey:@"kCGSSessionSecureInputPID"];
        if ([pid isKindOfClass:[NSNumber class]]) return static_cast<std::int32_t>([pid intValue]);
    }
    return std::nullopt;
}

}  // namespace vantor::mac
