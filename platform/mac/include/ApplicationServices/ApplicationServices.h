// Stand-in for <ApplicationServices/ApplicationServices.h>, used only by the Linux compile
// check of the macOS backend: CoreGraphics plus the Accessibility API (elements, observers,
// values, errors and the attribute, notification and action names) the backend calls.
#ifndef VANTOR_STANDIN_APPLICATIONSERVICES_H
#define VANTOR_STANDIN_APPLICATIONSERVICES_H

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>

CF_EXTERN_C_BEGIN

// AXError.h
typedef CF_ENUM(SInt32, AXError){
    kAXErrorSuccess = 0,
    kAXErrorFailure = -25200,
    kAXErrorIllegalArgument = -25201,
    kAXErrorInvalidUIElement = -25202,
    kAXErrorInvalidUIElementObserver = -25203,
    kAXErrorCannotComplete = -25204,
    kAXErrorAttributeUnsupported = -25205,
    kAXErrorActionUnsupported = -25206,
    kAXErrorNotificationUnsupported = -25207,
    kAXErrorNotImplemented = -25208,
    kAXErrorNotificationAlreadyRegistered = -25209,
    kAXErrorNotificationNotRegistered = -25210,
    kAXErrorAPIDisabled = -25211,
    kAXErrorNoValue = -25212,
    kAXErrorParameterizedAttributeUnsupported = -25213,
    kAXErrorNotEnoughPrecision = -25214
};

// AXAttributeConstants.h, AXNotificationConstants.h, AXActionConstants.h
#define kAXChildrenAttribute CFSTR("AXChildren")
#define kAXSelectedChildrenAttribute CFSTR("AXSelectedChildren")
#define kAXTitleAttribute CFSTR("AXTitle")
#define kAXRoleAttribute CFSTR("AXRole")
#define kAXSubroleAttribute CFSTR("AXSubrole")
#define kAXPositionAttribute CFSTR("AXPosition")
#define kAXSizeAttribute CFSTR("AXSize")
#define kAXCreatedNotification CFSTR("AXCreated")
#define kAXUIElementDestroyedNotification CFSTR("AXUIElementDestroyed")
#define kAXSelectedChildrenChangedNotification CFSTR("AXSelectedChildrenChanged")
#define kAXCancelAction CFSTR("AXCancel")
#define kAXPressAction CFSTR("AXPress")

// AXValue.h
CF_ASSUME_NONNULL_BEGIN
CF_IMPLICIT_BRIDGING_ENABLED

typedef CF_ENUM(UInt32, AXValueType){
    kAXValueTypeCGPoint CF_ENUM_AVAILABLE_MAC(10.11) = 1,
    kAXValueTypeCGSize CF_ENUM_AVAILABLE_MAC(10.11) = 2,
    kAXValueTypeCGRect CF_ENUM_AVAILABLE_MAC(10.11) = 3,
    kAXValueTypeCFRange CF_ENUM_AVAILABLE_MAC(10.11) = 4,
    kAXValueTypeAXError CF_ENUM_AVAILABLE_MAC(10.11) = 5,
    kAXValueTypeIllegal CF_ENUM_AVAILABLE_MAC(10.11) = 0
};

typedef const struct CF_BRIDGED_TYPE(id) __AXValue *AXValueRef;

extern CFTypeID AXValueGetTypeID() API_AVAILABLE(macos(10.3));
extern AXValueRef _Nullable AXValueCreate(AXValueType theType, const void *valuePtr);
extern AXValueType AXValueGetType(AXValueRef value);
extern Boolean AXValueGetValue(AXValueRef value, AXValueType theType, void *valuePtr);

CF_IMPLICIT_BRIDGING_DISABLED
CF_ASSUME_NONNULL_END

// AXUIElement.h
CF_ASSUME_NONNULL_BEGIN
CF_IMPLICIT_BRIDGING_ENABLED

extern Boolean AXIsProcessTrustedWithOptions(CFDictionaryRef _Nullable options)
    CF_AVAILABLE_MAC(10.9);
extern CFStringRef kAXTrustedCheckOptionPrompt CF_AVAILABLE_MAC(10.9);
extern Boolean AXIsProcessTrusted(void) CF_AVAILABLE_MAC(10.4);

typedef const struct CF_BRIDGED_TYPE(id) __AXUIElement *AXUIElementRef;

typedef CF_OPTIONS(UInt32, AXCopyMultipleAttributeOptions){
    kAXCopyMultipleAttributeOptionStopOnError = 0x1
};

extern CFTypeID AXUIElementGetTypeID(void);
extern AXError AXUIElementCopyAttributeValue(AXUIElementRef element, CFStringRef attribute,
                                             CFTypeRef _Nullable *_Nonnull CF_RETURNS_RETAINED
                                                 value);
extern AXError AXUIElementCopyMultipleAttributeValues(
    AXUIElementRef element, CFArrayRef attributes, AXCopyMultipleAttributeOptions options,
    CFArrayRef _Nullable *_Nonnull CF_RETURNS_RETAINED values) CF_AVAILABLE_MAC(10.4);
extern AXError AXUIElementPerformAction(AXUIElementRef element, CFStringRef action);
extern AXUIElementRef AXUIElementCreateApplication(pid_t pid);
extern AXError AXUIElementSetMessagingTimeout(AXUIElementRef element, float timeoutInSeconds)
    CF_AVAILABLE_MAC(10.4);

typedef struct CF_BRIDGED_TYPE(id) __AXObserver *AXObserverRef;

typedef void (*AXObserverCallbackWithInfo)(AXObserverRef observer, AXUIElementRef element,
                                           CFStringRef notification, CFDictionaryRef info,
                                           void *_Nullable refcon);

extern AXError AXObserverCreateWithInfoCallback(pid_t application,
                                                AXObserverCallbackWithInfo callback,
                                                AXObserverRef _Nullable *_Nonnull
                                                    CF_RETURNS_RETAINED outObserver);
extern AXError AXObserverAddNotification(AXObserverRef observer, AXUIElementRef element,
                                         CFStringRef notification, void *_Nullable refcon);
extern AXError AXObserverRemoveNotification(AXObserverRef observer, AXUIElementRef element,
                                            CFStringRef notification);
extern CFRunLoopSourceRef AXObserverGetRunLoopSource(AXObserverRef observer);

CF_IMPLICIT_BRIDGING_DISABLED
CF_ASSUME_NONNULL_END

CF_EXTERN_C_END

#endif
