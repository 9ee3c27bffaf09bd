// The login-item helper VantorAutoLaunchHelper.app, which sits in Vantor.app's
// Contents/Library/LoginItems: started by the system at login, it opens Vantor.app (unless it
// is already running) and quits.
#import <Cocoa/Cocoa.h>
#include <dispatch/dispatch.h>

namespace {

NSString* const kMainBundleIdentifier = @"com.orlenby.Vantor";

// Vantor.app/Contents/Library/LoginItems/VantorAutoLaunchHelper.app -> Vantor.app
NSURL* mainApplicationURL() {
    NSURL* url = [NSBundle mainBundle].bundleURL;
    for (int level = 0; level < 4; ++level) url = url.URLByDeletingLastPathComponent;
    return url;
}

}  // namespace

int main() {
    @autoreleasepool {
        NSApplication* application = [NSApplication sharedApplication];
        if ([NSRunningApplication runningApplicationsWithBundleIdentifier:kMainBundleIdentifier]
                .count > 0) {
            return 0;
        }
        NSWorkspaceOpenConfiguration* configuration = [NSWorkspaceOpenConfiguration configuration];
        configuration.activates = NO;
        [[NSWorkspace sharedWorkspace]
            openApplicationAtURL:mainApplicationURL()
                   configuration:configuration
               completionHandler:^(NSRunningApplication* opened, NSError* error) {
                 if (!opened) NSLog(@"VantorAutoLaunchHelper: cannot open Vantor: %@", error);
                 dispatch_async(dispatch_get_main_queue(), ^{
                   [NSApp terminate:nil];
                 });
               }];
        [application run];
    }
    return 0;
}
