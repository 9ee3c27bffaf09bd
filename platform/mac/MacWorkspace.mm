#include "platform/mac/MacWorkspace.h"

#import <AppKit/AppKit.h>

#include <algorithm>
#include <string>

#include "platform/mac/MacConversions.h"

using vantor::platform::KeyValueObserver;

// The "terminated" key-value observation of one running application, told on to the agent's
// observer with the context it registered.
@interface VantorTerminatedObservation : NSObject
- (instancetype)initWithApplication:(NSRunningApplication*)application
                           observer:(KeyValueObserver*)observer
                            context:(const void*)context;
- (void)stop;
@end

@implementation VantorTerminatedObservation {
    NSRunningApplication* _application;
    KeyValueObserver* _observer;
}

- (instancetype)initWithApplication:(NSRunningApplication*)application
                           observer:(KeyValueObserver*)observer
                            context:(const void*)context {
    self = [super init];
    if (self) {
        _application = application;
        _observer = observer;
        [application addObserver:self
                      forKeyPath:@"terminated"
                         options:NSKeyValueObservingOptionNew
                         context:const_cast<void*>(context)];
    }
    return self;
}

- (void)stop {
    if (!_application) return;
    [_application removeObserver:self forKeyPath:@"terminated"];
    _application = nil;
}

- (void)observeValueForKeyPath:(NSString*)keyPath
                      ofObject:(id)object
                        change:(NSDictionary<NSString*, id>*)change
                       context:(void*)context {
    // The agent may stop this observation from inside its observer.
    __attribute__((objc_precise_lifetime)) VantorTerminatedObservation* keepAlive = self;
    (void)keepAlive;
    vantor::platform::KeyValueChange abstract;
    id value = change[NSKeyValueChangeNewKey];
    if ([value isKindOfClass:[NSNumber class]]) abstract.newBool = [value boolValue];
    _observer->observeValueForKeyPath(vantor::mac::stdString(keyPath), (__bridge const void*)object,
                                      abstract, context);
}

@end

namespace vantor::mac {

using platform::RunningApplication;

namespace {

RunningApplication describe(NSRunningApplication* application) {
    return {application.processIdentifier, stdString(application.bundleIdentifier),
            stdString(application.localizedName), stdString(application.bundleURL.path)};
}

std::vector<RunningApplication> describeAll(NSArray<NSRunningApplication*>* applications) {
    std::vector<RunningApplication> described;
    described.reserve(applications.count);
    for (NSRunningApplication* application in applications)
        described.push_back(describe(application));
    return described;
}

}  // namespace

MacWorkspace::MacWorkspace() : notificationTokens_([NSMutableArray array]) {}

MacWorkspace::~MacWorkspace() {
    for (const TerminatedObservation& observation : terminatedObservations_)
        [observation.bridge stop];
    NSNotificationCenter* center = [[NSWorkspace sharedWorkspace] notificationCenter];
    for (id token in notificationTokens_)
        [center removeObserver:token];
}

std::vector<RunningApplication> MacWorkspace::runningApplications() {
    return describeAll([[NSWorkspace sharedWorkspace] runningApplications]);
}

std::vector<RunningApplication> MacWorkspace::runningApplicationsWithBundleIdentifier(
    std::string_view bundleIdentifier) {
    return describeAll(
        [NSRunningApplication runningApplicationsWithBundleIdentifier:nsString(bundleIdentifier)]);
}

bool MacWorkspace::launchApplication(std::string_view bundlePath) {
    NSWorkspace* workspace = [NSWorkspace sharedWorkspace];
    NSString* path = nsString(bundlePath);
    // The older call answers at once whether the application opened, which the agent acts on.
    if ([workspace respondsToSelector:@selector(launchApplication:)]) {
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
        return [workspace launchApplication:path];
#pragma clang diagnostic pop
    }
    // Its replacement opens in the background: the answer is whether a bundle is there to open.
    NSURL* url = [NSURL fileURLWithPath:path];
    if (![NSBundle bundleWithURL:url]) return false;
    [workspace openApplicationAtURL:url
                      configuration:[NSWorkspaceOpenConfiguration configuration]
                  completionHandler:nil];
    return true;
}

std::optional<RunningApplication> MacWorkspace::menuBarOwningApplication() {
    NSRunningApplication* owner = [[NSWorkspace sharedWorkspace] menuBarOwningApplication];
    if (!owner) return std::nullopt;
    return describe(owner);
}

bool MacWorkspace::activateWithOptions(std::int32_t pid, unsigned options) {
    NSRunningApplication* application =
        [NSRunningApplication runningApplicationWithProcessIdentifier:pid];
    if (!application) return false;
    const auto activation = static_cast<NSApplicationActivationOptions>(options);
    if (@available(macOS 14.0, *)) {
        // From macOS 14 an application comes forward when the active one (the owner of the menu
        // bar) yields to it, and ignoring other applications has no effect. Should the system
        // turn that down, the older call below still asks.
        NSRunningApplication* active = [NSWorkspace sharedWorkspace].menuBarOwningApplication;
        const auto yielded = activation & ~static_cast<NSApplicationActivationOptions>(
                                              platform::kApplicationActivateIgnoringOtherApps);
        if (active && [application activateFromApplication:active options:yielded]) return true;
    }
    return [application activateWithOptions:activation];
}

bool MacWorkspace::openURL(std::string_view url) {
    NSURL* address = [NSURL URLWithString:nsString(url)];
    return address && [[NSWorkspace sharedWorkspace] openURL:address];
}

std::optional<std::string> MacWorkspace::urlForApplicationWithBundleIdentifier(
    std::string_view bundleIdentifier) {
    NSURL* url = [[NSWorkspace sharedWorkspace]
        URLForApplicationWithBundleIdentifier:nsString(bundleIdentifier)];
    if (!url || !url.path) return std::nullopt;
    return std::string(url.path.UTF8String);
}

void MacWorkspace::addTerminatedObserver(std::int32_t pid, KeyValueObserver& observer,
                                         const void* context) {
    NSRunningApplication* application =
        [NSRunningApplication runningApplicationWithProcessIdentifier:pid];
    if (!application) return;
    VantorTerminatedObservation* bridge =
        [[VantorTerminatedObservation alloc] initWithApplication:application
                                                        observer:&observer
                                                         context:context];
    terminatedObservations_.push_back({pid, &observer, bridge});
}

void MacWorkspace::removeTerminatedObserver(std::int32_t pid, KeyValueObserver& observer) {
    const auto match = std::find_if(
        terminatedObservations_.begin(), terminatedObservations_.end(),
        [&](const TerminatedObservation& o) { return o.pid == pid && o.observer == &observer; });
    if (match == terminatedObservations_.end()) return;
    [match->bridge stop];
    terminatedObservations_.erase(match);
}

void MacWorkspace::addNotificationObserver(std::string_view name,
                                           platform::WorkspaceNotificationHandler handler) {
    const std::string notificationName(name);
    id token = [[[NSWorkspace sharedWorkspace] notificationCenter]
        addObserverForName:nsString(name)
                    object:nil
                     queue:[NSOperationQueue mainQueue]
                usingBlock:^(NSNotification* notification) {
                  NSRunningApplication* application =
                      notification.userInfo[NSWorkspaceApplicationKey];
                  handler({notificationName,
                           application ? describe(application) : RunningApplication{}});
                }];
    [notificationTokens_ addObject:token];
}

}  // namespace vantor::mac
