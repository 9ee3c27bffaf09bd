// Gap-fill over GNUstep's <AppKit/AppKit.h>, used only by the Linux compile check of the macOS
// backend: the AppKit API of current macOS that GNUstep lacks or names differently, declared
// with Apple's signatures and availability.
#import <Foundation/Foundation.h>
#include_next <AppKit/AppKit.h>

#ifndef VANTOR_GAPFILL_APPKIT_H
#define VANTOR_GAPFILL_APPKIT_H

#include <CoreGraphics/CoreGraphics.h>
#include <os/availability.h>

NS_ASSUME_NONNULL_BEGIN

// NSWindow.h
typedef NSInteger NSWindowLevel;
typedef NS_ENUM(NSInteger, NSWindowTitleVisibility){
    NSWindowTitleVisible = 0,
    NSWindowTitleHidden = 1,
} API_AVAILABLE(macos(10.10));

@interface NSWindow (VantorModernAppearance)
@property NSWindowTitleVisibility titleVisibility API_AVAILABLE(macos(10.10));
@property BOOL titlebarAppearsTransparent API_AVAILABLE(macos(10.10));
@end

@interface NSWindow (VantorProperties)
@property(readonly, getter=isVisible) BOOL visible;
@end

// NSView.h, NSControl.h, NSToolbarItem.h: the properties macOS declares where GNUstep has only
// accessor methods.
typedef NSUInteger NSAutoresizingMaskOptions;

@interface NSView (VantorProperties) <NSUserInterfaceItemIdentification>
@property(getter=isHidden) BOOL hidden;
@property NSAutoresizingMaskOptions autoresizingMask;
@end

@interface NSControl (VantorProperties)
@property(getter=isEnabled) BOOL enabled;
@property NSLineBreakMode lineBreakMode API_AVAILABLE(macos(10.10));
@end

@interface NSToolbarItem (VantorProperties)
@property(getter=isEnabled) BOOL enabled;
@end

// NSEvent.h: the names macOS 10.12 gave the event types, masks and modifier flags.
enum : NSUInteger {
    NSEventTypeLeftMouseDown = NSLeftMouseDown,
    NSEventTypeLeftMouseUp = NSLeftMouseUp,
    NSEventTypeRightMouseDown = NSRightMouseDown,
    NSEventTypeRightMouseUp = NSRightMouseUp,
    NSEventTypeMouseMoved = NSMouseMoved,
    NSEventTypeLeftMouseDragged = NSLeftMouseDragged,
    NSEventTypeRightMouseDragged = NSRightMouseDragged,
    NSEventTypeMouseEntered = NSMouseEntered,
    NSEventTypeMouseExited = NSMouseExited,
    NSEventTypeKeyDown = NSKeyDown,
    NSEventTypeKeyUp = NSKeyUp,
    NSEventTypeFlagsChanged = NSFlagsChanged,
    NSEventTypeScrollWheel = NSScrollWheel,
    NSEventTypeOtherMouseDown = NSOtherMouseDown,
    NSEventTypeOtherMouseUp = NSOtherMouseUp,
    NSEventTypeOtherMouseDragged = NSOtherMouseDragged,
};
enum : NSUInteger {
    NSEventModifierFlagCapsLock = 1 << 16,
    NSEventModifierFlagShift = 1 << 17,
    NSEventModifierFlagControl = 1 << 18,
    NSEventModifierFlagOption = 1 << 19,
    NSEventModifierFlagCommand = 1 << 20,
    NSEventModifierFlagNumericPad = 1 << 21,
    NSEventModifierFlagHelp = 1 << 22,
    NSEventModifierFlagFunction = 1 << 23,
    NSEventModifierFlagDeviceIndependentFlagsMask = 0xffff0000UL,
};
enum : NSEventMask {
    NSEventMaskLeftMouseDown = 1ULL << NSLeftMouseDown,
    NSEventMaskLeftMouseUp = 1ULL << NSLeftMouseUp,
    NSEventMaskKeyDown = 1ULL << NSKeyDown,
    NSEventMaskKeyUp = 1ULL << NSKeyUp,
    NSEventMaskFlagsChanged = 1ULL << NSFlagsChanged,
    NSEventMaskAny = ~0ULL,
};

// NSGraphics.h
enum : NSUInteger {
    NSCompositingOperationClear = NSCompositeClear,
    NSCompositingOperationCopy = NSCompositeCopy,
    NSCompositingOperationSourceOver = NSCompositeSourceOver,
};

// NSButtonCell.h: the names of macOS 10.12 and 10.14.
static const NSButtonType NSButtonTypeMomentaryLight = NSMomentaryLightButton;
static const NSButtonType NSButtonTypePushOnPushOff = NSPushOnPushOffButton;
static const NSButtonType NSButtonTypeToggle = NSToggleButton;
static const NSButtonType NSButtonTypeSwitch = NSSwitchButton;
static const NSButtonType NSButtonTypeRadio = NSRadioButton;
static const NSButtonType NSButtonTypeMomentaryChange = NSMomentaryChangeButton;
static const NSButtonType NSButtonTypeOnOff = NSOnOffButton;
static const NSButtonType NSButtonTypeMomentaryPushIn = NSMomentaryPushInButton;
static const NSBezelStyle NSBezelStyleRounded = NSRoundedBezelStyle;
static const NSBezelStyle NSBezelStyleRegularSquare = NSRegularSquareBezelStyle;
static const NSBezelStyle NSBezelStyleShadowlessSquare = NSShadowlessSquareBezelStyle;
static const NSBezelStyle NSBezelStyleTexturedRounded = NSTexturedRoundedBezelStyle;
static const NSBezelStyle NSBezelStyleRecessed = NSRecessedBezelStyle;

// NSFont.h
@interface NSFont (VantorSystemFontWeight)
+ (NSFont *)systemFontOfSize:(CGFloat)fontSize weight:(NSFontWeight)weight
    API_AVAILABLE(macos(10.11));
+ (NSFont *)monospacedSystemFontOfSize:(CGFloat)fontSize weight:(NSFontWeight)weight
    API_AVAILABLE(macos(10.15));
@end

// NSApplication.h, NSRunningApplication.h
@interface NSApplication (VantorActivationPolicy)
- (NSApplicationActivationPolicy)activationPolicy API_AVAILABLE(macos(10.6));
- (BOOL)setActivationPolicy:(NSApplicationActivationPolicy)activationPolicy
    API_AVAILABLE(macos(10.6));
- (void)activate API_AVAILABLE(macos(14.0));
@end

@interface NSRunningApplication (VantorCooperativeActivation)
- (BOOL)activateFromApplication:(NSRunningApplication *)application
                        options:(NSApplicationActivationOptions)options
    API_AVAILABLE(macos(14.0));
@end

// NSWorkspace.h
API_AVAILABLE(macos(10.15))
@interface NSWorkspaceOpenConfiguration : NSObject <NSCopying>
+ (instancetype)configuration;
@property BOOL promptsUserIfNeeded;
@property BOOL addsToRecentItems;
@property BOOL activates;
@property BOOL hides;
@property BOOL hidesOthers;
@property BOOL createsNewApplicationInstance;
@property(copy) NSArray<NSString *> *arguments;
@property(copy) NSDictionary<NSString *, NSString *> *environment;
@end

@interface NSWorkspace (VantorModernLaunching)
@property(nullable, readonly, strong) NSRunningApplication *menuBarOwningApplication
    API_AVAILABLE(macos(10.7));
- (void)openApplicationAtURL:(NSURL *)applicationURL
               configuration:(NSWorkspaceOpenConfiguration *)configuration
           completionHandler:(void (^_Nullable)(NSRunningApplication *_Nullable app,
                                                NSError *_Nullable error))completionHandler
    API_AVAILABLE(macos(10.15));
- (void)openURL:(NSURL *)url
        configuration:(NSWorkspaceOpenConfiguration *)configuration
    completionHandler:(void (^_Nullable)(NSRunningApplication *_Nullable app,
                                         NSError *_Nullable error))completionHandler
    API_AVAILABLE(macos(10.15));
- (nullable NSURL *)URLForApplicationWithBundleIdentifier:(NSString *)bundleIdentifier
    API_AVAILABLE(macos(10.6));
@end
APPKIT_EXPORT NSString *const NSWorkspaceApplicationKey API_AVAILABLE(macos(10.6));

// NSToolbar.h: a formal protocol on macOS.
typedef NSString *NSToolbarItemIdentifier NS_TYPED_EXTENSIBLE_ENUM;

@protocol NSToolbarDelegate <NSObject>
@optional
- (nullable NSToolbarItem *)toolbar:(NSToolbar *)toolbar
              itemForItemIdentifier:(NSToolbarItemIdentifier)itemIdentifier
          willBeInsertedIntoToolbar:(BOOL)flag;
- (NSArray<NSToolbarItemIdentifier> *)toolbarDefaultItemIdentifiers:(NSToolbar *)toolbar;
- (NSArray<NSToolbarItemIdentifier> *)toolbarAllowedItemIdentifiers:(NSToolbar *)toolbar;
- (NSArray<NSToolbarItemIdentifier> *)toolbarSelectableItemIdentifiers:(NSToolbar *)toolbar;
- (void)toolbarWillAddItem:(NSNotification *)notification;
- (void)toolbarDidRemoveItem:(NSNotification *)notification;
@end

NS_ASSUME_NONNULL_END

#endif
