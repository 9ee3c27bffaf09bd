// Stand-in for <CoreGraphics/CoreGraphics.h>, used only by the Linux compile check of the
// macOS backend: geometry, window levels and the Quartz event services the backend calls,
// with Apple's declarations, values and nullability.
#ifndef VANTOR_STANDIN_COREGRAPHICS_H
#define VANTOR_STANDIN_COREGRAPHICS_H

#include <CoreFoundation/CoreFoundation.h>

#define CG_EXTERN CF_EXPORT __attribute__((visibility("default")))
#define CG_INLINE static inline
#define CG_BOXABLE __attribute__((objc_boxable))
#define CG_AVAILABLE_STARTING(...) __attribute__((availability(macos, introduced = 10.4)))

// CGPoint, CGSize and CGRect are the very types Foundation calls NSPoint, NSSize and NSRect.
#if defined(__OBJC__)
#include <Foundation/NSGeometry.h>
struct CG_BOXABLE _NSPoint;
struct CG_BOXABLE _NSSize;
struct CG_BOXABLE _NSRect;
typedef NSPoint CGPoint;
typedef NSSize CGSize;
typedef NSRect CGRect;
#else
#ifndef CGFLOAT_DEFINED
typedef double CGFloat;
#define CGFLOAT_DEFINED 1
#endif
struct CGPoint {
    CGFloat x;
    CGFloat y;
};
typedef struct CG_BOXABLE CGPoint CGPoint;
struct CGSize {
    CGFloat width;
    CGFloat height;
};
typedef struct CG_BOXABLE CGSize CGSize;
struct CGRect {
    CGPoint origin;
    CGSize size;
};
typedef struct CG_BOXABLE CGRect CGRect;
#endif

CG_INLINE CGPoint CGPointMake(CGFloat x, CGFloat y) {
    CGPoint p;
    p.x = x;
    p.y = y;
    return p;
}
CG_INLINE CGSize CGSizeMake(CGFloat width, CGFloat height) {
    CGSize s;
    s.width = width;
    s.height = height;
    return s;
}
CG_INLINE CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    CGRect r;
    r.origin.x = x;
    r.origin.y = y;
    r.size.width = width;
    r.size.height = height;
    return r;
}

CF_EXTERN_C_BEGIN

CG_EXTERN CGFloat CGRectGetMidX(CGRect rect) API_AVAILABLE(macos(10.0));
CG_EXTERN CGFloat CGRectGetMidY(CGRect rect) API_AVAILABLE(macos(10.0));
CG_EXTERN bool CGRectEqualToRect(CGRect rect1, CGRect rect2) API_AVAILABLE(macos(10.0));

// Window levels.
typedef int32_t CGWindowLevel;
typedef CF_ENUM(int32_t, CGWindowLevelKey){
    kCGBaseWindowLevelKey = 0,
    kCGMinimumWindowLevelKey,
    kCGDesktopWindowLevelKey,
    kCGBackstopMenuLevelKey,
    kCGNormalWindowLevelKey,
    kCGFloatingWindowLevelKey,
    kCGTornOffMenuWindowLevelKey,
    kCGDockWindowLevelKey,
    kCGMainMenuWindowLevelKey,
    kCGStatusWindowLevelKey,
    kCGModalPanelWindowLevelKey,
    kCGPopUpMenuWindowLevelKey,
    kCGDraggingWindowLevelKey,
    kCGScreenSaverWindowLevelKey,
    kCGMaximumWindowLevelKey,
    kCGOverlayWindowLevelKey,
    kCGHelpWindowLevelKey,
    kCGUtilityWindowLevelKey,
    kCGDesktopIconWindowLevelKey,
    kCGCursorWindowLevelKey,
    kCGAssistiveTechHighWindowLevelKey,
    kCGNumberOfWindowLevelKeys
};
CG_EXTERN CGWindowLevel CGWindowLevelForKey(CGWindowLevelKey key) API_AVAILABLE(macos(10.0));
#define kCGNormalWindowLevel 0
#define kCGFloatingWindowLevel 3
#define kCGAssistiveTechHighWindowLevel 1500

CF_ASSUME_NONNULL_BEGIN

// Events.
typedef struct CF_BRIDGED_TYPE(id) __CGEvent *CGEventRef;
typedef struct CF_BRIDGED_TYPE(id) __CGEventSource *CGEventSourceRef;
typedef struct __CGEventTapProxy *CGEventTapProxy;
typedef uint16_t CGKeyCode;

typedef CF_ENUM(uint32_t, CGEventType){
    kCGEventNull = 0,
    kCGEventLeftMouseDown = 1,
    kCGEventLeftMouseUp = 2,
    kCGEventRightMouseDown = 3,
    kCGEventRightMouseUp = 4,
    kCGEventMouseMoved = 5,
    kCGEventLeftMouseDragged = 6,
    kCGEventRightMouseDragged = 7,
    kCGEventKeyDown = 10,
    kCGEventKeyUp = 11,
    kCGEventFlagsChanged = 12,
    kCGEventScrollWheel = 22,
    kCGEventTabletPointer = 23,
    kCGEventTabletProximity = 24,
    kCGEventOtherMouseDown = 25,
    kCGEventOtherMouseUp = 26,
    kCGEventOtherMouseDragged = 27,
    kCGEventTapDisabledByTimeout = 0xFFFFFFFE,
    kCGEventTapDisabledByUserInput = 0xFFFFFFFF
};

typedef CF_OPTIONS(uint64_t, CGEventFlags){
    kCGEventFlagMaskAlphaShift = 0x00010000,
    kCGEventFlagMaskShift = 0x00020000,
    kCGEventFlagMaskControl = 0x00040000,
    kCGEventFlagMaskAlternate = 0x00080000,
    kCGEventFlagMaskCommand = 0x00100000,
    kCGEventFlagMaskNumericPad = 0x00200000,
    kCGEventFlagMaskHelp = 0x00400000,
    kCGEventFlagMaskSecondaryFn = 0x00800000,
    kCGEventFlagMaskNonCoalesced = 0x00000100
};

typedef CF_ENUM(uint32_t, CGEventField){
    kCGMouseEventButtonNumber = 3,
    kCGKeyboardEventKeycode = 9,
    kCGEventSourceUserData = 42
};

typedef CF_ENUM(uint32_t, CGEventTapLocation){
    kCGHIDEventTap = 0,
    kCGSessionEventTap,
    kCGAnnotatedSessionEventTap
};

typedef CF_ENUM(uint32_t, CGEventTapPlacement){
    kCGHeadInsertEventTap = 0,
    kCGTailAppendEventTap
};

typedef CF_ENUM(uint32_t, CGEventTapOptions){
    kCGEventTapOptionDefault = 0x00000000,
    kCGEventTapOptionListenOnly = 0x00000001
};

typedef CF_ENUM(int32_t, CGEventSourceStateID){
    kCGEventSourceStatePrivate = -1,
    kCGEventSourceStateCombinedSessionState = 0,
    kCGEventSourceStateHIDSystemState = 1
};

typedef CF_ENUM(uint32_t, CGMouseButton){
    kCGMouseButtonLeft = 0,
    kCGMouseButtonRight = 1,
    kCGMouseButtonCenter = 2
};

typedef uint64_t CGEventMask;
#define CGEventMaskBit(eventType) ((CGEventMask)1 << (eventType))
#define kCGEventMaskForAllEvents (~(CGEventMask)0)

typedef CGEventRef _Nullable (*CGEventTapCallBack)(CGEventTapProxy proxy, CGEventType type,
                                                    CGEventRef event,
                                                    void *_Nullable userInfo);

CF_IMPLICIT_BRIDGING_ENABLED

CG_EXTERN CFMachPortRef _Nullable CGEventTapCreate(CGEventTapLocation tap,
                                                    CGEventTapPlacement place,
                                                    CGEventTapOptions options,
                                                    CGEventMask eventsOfInterest,
                                                    CGEventTapCallBack callback,
                                                    void *_Nullable userInfo)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN void CGEventTapEnable(CFMachPortRef tap, bool enable) CG_AVAILABLE_STARTING(10.4);
CG_EXTERN bool CGEventTapIsEnabled(CFMachPortRef tap) CG_AVAILABLE_STARTING(10.4);
CG_EXTERN void CGEventTapPostEvent(CGEventTapProxy _Nullable proxy, CGEventRef _Nullable event)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN void CGEventPost(CGEventTapLocation tap, CGEventRef _Nullable event)
    CG_AVAILABLE_STARTING(10.4);

CG_EXTERN CGEventRef _Nullable CGEventCreate(CGEventSourceRef _Nullable source)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN CGEventRef _Nullable CGEventCreateKeyboardEvent(CGEventSourceRef _Nullable source,
                                                           CGKeyCode virtualKey, bool keyDown)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN CGEventRef _Nullable CGEventCreateMouseEvent(CGEventSourceRef _Nullable source,
                                                        CGEventType mouseType,
                                                        CGPoint mouseCursorPosition,
                                                        CGMouseButton mouseButton)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN CGEventFlags CGEventGetFlags(CGEventRef _Nullable event) CG_AVAILABLE_STARTING(10.4);
CG_EXTERN void CGEventSetFlags(CGEventRef _Nullable event, CGEventFlags flags)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN int64_t CGEventGetIntegerValueField(CGEventRef _Nullable event, CGEventField field)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN void CGEventSetIntegerValueField(CGEventRef _Nullable event, CGEventField field,
                                           int64_t value) CG_AVAILABLE_STARTING(10.4);
CG_EXTERN CGPoint CGEventGetLocation(CGEventRef _Nullable event) CG_AVAILABLE_STARTING(10.4);
CG_EXTERN CGEventType CGEventGetType(CGEventRef _Nullable event) CG_AVAILABLE_STARTING(10.4);

CG_EXTERN CGEventSourceRef _Nullable CGEventSourceCreate(CGEventSourceStateID stateID)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN void CGEventSourceSetUserData(CGEventSourceRef _Nullable source, int64_t userData)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN int64_t CGEventSourceGetUserData(CGEventSourceRef _Nullable source)
    CG_AVAILABLE_STARTING(10.4);
CG_EXTERN CGEventFlags CGEventSourceFlagsState(CGEventSourceStateID stateID)
    CG_AVAILABLE_STARTING(10.4);

CF_IMPLICIT_BRIDGING_DISABLED

CF_ASSUME_NONNULL_END

CF_EXTERN_C_END

#endif
