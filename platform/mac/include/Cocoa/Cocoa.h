// Stand-in umbrella for <Cocoa/Cocoa.h>, used only by the Linux compile check of the macOS
// backend: Foundation and AppKit through their gap-fill headers.
#import <Foundation/Foundation.h>
#import <AppKit/AppKit.h>
