// The agent's process on macOS: builds the platform services over the system's frameworks,
// installs the application class App, and starts the agent once AppKit has launched, as the
// simulated desktop starts it.
#import <AppKit/AppKit.h>

#include <memory>

#include "app/Agent.h"
#include "platform/Platform.h"
#include "platform/mac/MacAccessibility.h"
#include "platform/mac/MacApplication.h"
#include "platform/mac/MacEventServices.h"
#include "platform/mac/MacHttpClient.h"
#include "platform/mac/MacKeyboardLayout.h"
#include "platform/mac/MacLog.h"
#include "platform/mac/MacProcess.h"
#include "platform/mac/MacRunLoop.h"
#include "platform/mac/MacScreens.h"
#include "platform/mac/MacSettings.h"
#include "platform/mac/MacUI.h"
#include "platform/mac/MacWorkspace.h"

// The application's delegate: creates the agent at applicationDidFinishLaunching: and passes
// on the request to reopen the running application.
@interface VantorLaunchDelegate : NSObject <NSApplicationDelegate>
- (instancetype)initWithPlatform:(vantor::platform::Platform*)platform;
@end

@implementation VantorLaunchDelegate {
    vantor::platform::Platform* _platform;
    std::unique_ptr<vantor::Agent> _agent;
}

- (instancetype)initWithPlatform:(vantor::platform::Platform*)platform {
    self = [super init];
    if (self) _platform = platform;
    return self;
}

- (void)applicationDidFinishLaunching:(NSNotification*)notification {
    _agent = std::make_unique<vantor::Agent>(*_platform);
    _agent->applicationDidFinishLaunching();
}

- (BOOL)applicationShouldHandleReopen:(NSApplication*)sender hasVisibleWindows:(BOOL)flag {
    if (!_agent) return YES;
    return _agent->appDelegate().applicationShouldHandleReopen(flag);
}

@end

int main() {
    @autoreleasepool {
        // NSApp is an App before anything of the interface is built.
        NSApplication* application = [App sharedApplication];

        vantor::mac::MacAccessibility accessibility;
        vantor::mac::MacEventServices events;
        vantor::mac::MacRunLoop runLoop;
        vantor::mac::MacWorkspace workspace;
        vantor::mac::MacScreens screens;
        vantor::mac::MacLog log;
        vantor::mac::MacUI ui;
        vantor::mac::MacProcess process;
        vantor::mac::MacSettings settings;
        vantor::mac::MacHttpClient http;
        vantor::mac::MacKeyboardLayout keyboardLayout;
        vantor::platform::Platform platform{accessibility, events, runLoop, workspace, screens,
                                            log,           ui,     process, settings,  http,
                                            keyboardLayout};

        VantorLaunchDelegate* delegate = [[VantorLaunchDelegate alloc] initWithPlatform:&platform];
        application.delegate = delegate;
        // Returns only if the loop is stopped; terminate: ends the process from inside it.
        [application run];
        application.delegate = nil;
    }
    return 0;
}
