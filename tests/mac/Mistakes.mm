// Self-test of the macOS backend's compile check: mistakes that the check must reject.
//
// With no MISTAKE_ macro defined, this file is correct macOS code that uses every stand-in
// header the way the backend does, and must compile cleanly in both modes of
// scripts/mac-check.sh. Each `#ifdef MISTAKE_<NAME>` block holds one typical mistake; compiled
// with that macro alone, the file must fail with an error inside the block (in both modes, or
// only in the macos mode for names starting with MACOS_, where availability is enforced).
#import <Cocoa/Cocoa.h>
#import <ServiceManagement/ServiceManagement.h>
#include <ApplicationServices/ApplicationServices.h>
#include <Carbon/Carbon.h>
#include <dispatch/dispatch.h>

namespace {

constexpr int64_t kUserData = 19900620;

CGEventRef tapCallback(CGEventTapProxy proxy, CGEventType type, CGEventRef event, void* refcon) {
    (void)proxy;
    (void)refcon;
    if (type == kCGEventTapDisabledByTimeout) return nullptr;
    return event;
}

void observerCallback(AXObserverRef observer, AXUIElementRef element, CFStringRef notification,
                      CFDictionaryRef info, void* refcon) {
    (void)observer, (void)element, (void)notification, (void)info, (void)refcon;
}

// Correct uses of the calls that the mistakes below get wrong.
void correctUses(AXUIElementRef element, CFArrayRef values) {
    CFMachPortRef tap = CGEventTapCreate(kCGHIDEventTap, kCGHeadInsertEventTap,
                                         kCGEventTapOptionDefault,
                                         CGEventMaskBit(kCGEventKeyDown) |
                                             CGEventMaskBit(kCGEventFlagsChanged),
                                         tapCallback, nullptr);
    if (tap) {
        CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, tap, 0);
        CFRunLoopAddSource(CFRunLoopGetCurrent(), source, kCFRunLoopCommonModes);
        CFRelease(source);
        CGEventTapEnable(tap, true);
        CFRelease(tap);
    }

    CGEventSourceRef eventSource = CGEventSourceCreate(kCGEventSourceStatePrivate);
    CGEventSourceSetUserData(eventSource, kUserData);
    CGEventRef key = CGEventCreateKeyboardEvent(eventSource, 48, true);
    CGEventSetFlags(key, CGEventGetFlags(key) | kCGEventFlagMaskCommand);
    CGEventPost(kCGHIDEventTap, key);
    CGPoint where = CGEventGetLocation(key);
    NSPoint sameType = where;
    CGEventRef click = CGEventCreateMouseEvent(eventSource, kCGEventLeftMouseDown, sameType,
                                               kCGMouseButtonLeft);
    CGEventSetIntegerValueField(click, kCGEventSourceUserData, kUserData);
    if (click) CFRelease(click);
    if (key) CFRelease(key);
    if (eventSource) CFRelease(eventSource);
    (void)CGEventSourceFlagsState(kCGEventSourceStateHIDSystemState);
    (void)CGWindowLevelForKey(kCGAssistiveTechHighWindowLevelKey);

    CFTypeRef value = nullptr;
    if (AXUIElementCopyAttributeValue(element, kAXPositionAttribute, &value) == kAXErrorSuccess) {
        CGPoint position;
        if (CFGetTypeID(value) == AXValueGetTypeID() &&
            AXValueGetValue(static_cast<AXValueRef>(value), kAXValueTypeCGPoint, &position)) {
            NSLog(@"%f", position.x);
        }
        CFRelease(value);
    }
    NSArray* names = @[ (__bridge NSString*)kAXTitleAttribute ];
    CFArrayRef batch = nullptr;
    AXUIElementCopyMultipleAttributeValues(element, (__bridge CFArrayRef)names, 0, &batch);
    NSArray* read = CFBridgingRelease(batch);
    NSArray* given = (__bridge NSArray*)values;
    NSLog(@"%lu %lu", static_cast<unsigned long>(read.count),
          static_cast<unsigned long>(given.count));
    (void)AXUIElementPerformAction(element, kAXPressAction);

    AXObserverRef observer = nullptr;
    if (AXObserverCreateWithInfoCallback(42, observerCallback, &observer) == kAXErrorSuccess) {
        AXObserverAddNotification(observer, element, kAXUIElementDestroyedNotification, nullptr);
        CFRunLoopAddSource(CFRunLoopGetMain(), AXObserverGetRunLoopSource(observer),
                           kCFRunLoopDefaultMode);
        CFRelease(observer);
    }
    NSDictionary* options = @{(__bridge NSString*)kAXTrustedCheckOptionPrompt : @YES};
    (void)AXIsProcessTrustedWithOptions((__bridge CFDictionaryRef)options);
    (void)IsSecureEventInputEnabled();

    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(0.25 * NSEC_PER_SEC)),
                   dispatch_get_main_queue(), ^{
                     NSLog(@"later");
                   });

    NSURLSessionConfiguration* configuration =
        [NSURLSessionConfiguration ephemeralSessionConfiguration];
    configuration.timeoutIntervalForRequest = 10;
    NSURLSession* session = [NSURLSession sessionWithConfiguration:configuration];
    [[session dataTaskWithURL:[NSURL URLWithString:@"http://127.0.0.1:8080/"]
            completionHandler:^(NSData* data, NSURLResponse* response, NSError* error) {
              dispatch_async(dispatch_get_main_queue(), ^{
                NSLog(@"%@ %@ %@", data, response, error);
              });
            }] resume];

    NSRunningApplication* owner = [NSWorkspace sharedWorkspace].menuBarOwningApplication;
    [owner activateWithOptions:NSApplicationActivateAllWindows];
    if (@available(macOS 14.0, *)) {
        [NSApp activate];
        [owner activateFromApplication:[NSRunningApplication currentApplication]
                               options:NSApplicationActivateAllWindows];
    }
    NSLog(@"%@", owner.localizedName);

    NSError* error = nil;
    if (@available(macOS 13.0, *)) {
        SMAppService* service =
            [SMAppService loginItemServiceWithIdentifier:@"com.orlenby.VantorAutoLaunchHelper"];
        if (![service registerAndReturnError:&error]) NSLog(@"%@", error);
    } else {
        (void)SMLoginItemSetEnabled(CFSTR("com.orlenby.VantorAutoLaunchHelper"), true);
    }
    NSWindow* window = [[NSWindow alloc] initWithContentRect:NSMakeRect(0, 0, 100, 100)
                                                   styleMask:NSWindowStyleMaskBorderless
                                                     backing:NSBackingStoreBuffered
                                                       defer:NO];
    window.level = CGWindowLevelForKey(kCGAssistiveTechHighWindowLevelKey);
    window.titleVisibility = NSWindowTitleHidden;
    [NSApp terminate:nil];
}

}  // namespace

// The mistakes have external linkage, so that an unused one draws no warning of its own: the
// only error a mistake may cause is the mistake.
#ifdef MISTAKE_MISSPELT_SELECTOR
void misspeltSelector() { [NSApp terminat:nil]; }
#endif

#ifdef MISTAKE_MISSING_BRIDGE
NSArray* missingBridge(CFArrayRef values) { return (NSArray*)values; }
#endif

#ifdef MISTAKE_MISSING_BRIDGE_TO_CF
CFStringRef missingBridgeToCF(NSString* title) { return title; }
#endif

#ifdef MISTAKE_RELEASE_UNDER_ARC
void releaseUnderARC(NSString* title) { [title release]; }
#endif

#ifdef MISTAKE_CFRELEASE_OF_OBJC_OBJECT
void cfReleaseOfObject(NSRunningApplication* app) { CFRelease(app); }
#endif

#ifdef MISTAKE_CGEVENTPOST_ARGUMENTS
void postArguments(CGEventRef event) { CGEventPost(event, kCGHIDEventTap); }
#endif

#ifdef MISTAKE_CGEVENTTAPCREATE_CALLBACK
void voidCallback(CGEventTapProxy, CGEventType, CGEventRef, void*) {}
void tapWithWrongCallback() {
    (void)CGEventTapCreate(kCGHIDEventTap, kCGHeadInsertEventTap, kCGEventTapOptionDefault,
                           CGEventMaskBit(kCGEventKeyDown), voidCallback, nullptr);
}
#endif

#ifdef MISTAKE_CGEVENTTAPCREATE_ARGUMENT_ORDER
void tapWithSwappedArguments() {
    (void)CGEventTapCreate(kCGHeadInsertEventTap, kCGHIDEventTap, kCGEventTapOptionDefault,
                           CGEventMaskBit(kCGEventKeyDown), tapCallback, nullptr);
}
#endif

#ifdef MISTAKE_COPYATTRIBUTEVALUE_INTO_STRONG_ID
void copyIntoId(AXUIElementRef element) {
    id value = nil;
    (void)AXUIElementCopyAttributeValue(element, kAXTitleAttribute, &value);
}
#endif

#ifdef MISTAKE_COPYATTRIBUTEVALUE_NSSTRING_NAME
void copyWithNSStringName(AXUIElementRef element) {
    CFTypeRef value = nullptr;
    (void)AXUIElementCopyAttributeValue(element, @"AXTitle", &value);
}
#endif

#ifdef MISTAKE_AXVALUEGETVALUE_BY_VALUE
void valueByValue(AXValueRef value) {
    CGPoint point;
    (void)AXValueGetValue(value, kAXValueTypeCGPoint, point);
}
#endif

#ifdef MISTAKE_OBSERVER_CALLBACK_WITHOUT_INFO
void callbackWithoutInfo(AXObserverRef, AXUIElementRef, CFStringRef, void*) {}
void observerWithoutInfo(AXObserverRef* observer) {
    (void)AXObserverCreateWithInfoCallback(42, callbackWithoutInfo, observer);
}
#endif

#ifdef MISTAKE_DISPATCH_AFTER_ARGUMENTS
void dispatchSwapped() {
    dispatch_after(dispatch_get_main_queue(), dispatch_time(DISPATCH_TIME_NOW, 1), ^{
    });
}
#endif

#ifdef MISTAKE_DISPATCH_AFTER_BLOCK_WITH_ARGUMENT
void dispatchBlockWithArgument() {
    dispatch_after(DISPATCH_TIME_NOW, dispatch_get_main_queue(), ^(int step) {
      (void)step;
    });
}
#endif

#ifdef MISTAKE_COMPLETION_BLOCK_SIGNATURE
void completionSignature(NSURLSession* session, NSURL* url) {
    [[session dataTaskWithURL:url
            completionHandler:^(NSData* data, NSError* error) {
              (void)data, (void)error;
            }] resume];
}
#endif

#ifdef MISTAKE_WRONG_ENUM_KIND
void wrongEnumKind(CGPoint where) {
    (void)CGEventCreateMouseEvent(nullptr, kCGEventLeftMouseDown, where, kCGEventLeftMouseUp);
}
#endif

#ifdef MISTAKE_INTEGER_FOR_ENUM
void integerForEnum() { (void)CGEventSourceCreate(-1); }
#endif

#ifdef MISTAKE_WRITE_TO_READONLY_PROPERTY
void writeReadonly(NSRunningApplication* app) { app.localizedName = @"Finder"; }
#endif

#ifdef MISTAKE_NULL_FOR_NONNULL
void nullForNonnull() { CGEventTapEnable(nullptr, true); }
#endif

#ifdef MISTAKE_MACOS_SMAPPSERVICE_WITHOUT_AVAILABLE
void loginItemWithoutAvailable(NSError** error) {
    (void)[[SMAppService mainAppService] registerAndReturnError:error];
}
#endif

#ifdef MISTAKE_MACOS_ACTIVATE_WITHOUT_AVAILABLE
void activateWithoutAvailable() { [NSApp activate]; }
#endif

#ifdef MISTAKE_MACOS_ACTIVATE_FROM_APPLICATION_WITHOUT_AVAILABLE
void activateFromWithoutAvailable(NSRunningApplication* target, NSRunningApplication* active) {
    (void)[target activateFromApplication:active options:NSApplicationActivateAllWindows];
}
#endif

int main() {
    @autoreleasepool {
        correctUses(AXUIElementCreateApplication(42), nullptr);
    }
    return 0;
}
