// Stand-in for <CoreFoundation/CoreFoundation.h>, used only by the Linux compile check of the
// macOS backend: the CoreFoundation types and calls the backend makes, with Apple's
// declarations and the traits the compiler checks (distinct CF_ENUM types, plain-integer
// CF_OPTIONS, objc_bridge attributes for ARC's bridged casts).
#ifndef VANTOR_STANDIN_COREFOUNDATION_H
#define VANTOR_STANDIN_COREFOUNDATION_H

#include <os/availability.h>
#include <stdbool.h>
#include <stdint.h>
#include <sys/types.h>

#if defined(__cplusplus)
#define CF_EXTERN_C_BEGIN extern "C" {
#define CF_EXTERN_C_END }
#define CF_EXPORT extern "C"
#else
#define CF_EXTERN_C_BEGIN
#define CF_EXTERN_C_END
#define CF_EXPORT extern
#endif
#define CF_INLINE static __inline__ __attribute__((always_inline))

#define CF_ENUM_ATTRIBUTES __attribute__((enum_extensibility(open)))
#define CF_OPTIONS_ATTRIBUTES __attribute__((flag_enum, enum_extensibility(open)))
// A named enum with a fixed underlying type: an integer needs a cast to become one.
#define CF_ENUM(_type, _name) enum CF_ENUM_ATTRIBUTES _name : _type _name; enum _name : _type
#if defined(__cplusplus)
// In C++ the option set is a plain integer; its masks are an anonymous enum.
#define CF_OPTIONS(_type, _name) _type _name; enum CF_OPTIONS_ATTRIBUTES : _type
#else
#define CF_OPTIONS(_type, _name) enum CF_OPTIONS_ATTRIBUTES _name : _type _name; enum _name : _type
#endif
#define CF_CLOSED_ENUM(_type, _name) CF_ENUM(_type, _name)
#define CF_ENUM_AVAILABLE_MAC(_mac) __attribute__((availability(macos, introduced = _mac)))
#define CF_AVAILABLE_MAC(_mac) __attribute__((availability(macos, introduced = _mac)))
#define CF_AVAILABLE(_mac, _ios) __attribute__((availability(macos, introduced = _mac)))

#define CF_BRIDGED_TYPE(T) __attribute__((objc_bridge(T)))
#define CF_BRIDGED_MUTABLE_TYPE(T) __attribute__((objc_bridge_mutable(T)))
#define CF_RETURNS_RETAINED __attribute__((cf_returns_retained))
#define CF_RETURNS_NOT_RETAINED __attribute__((cf_returns_not_retained))
#define CF_CONSUMED __attribute__((cf_consumed))
#define CF_EXTENSIBLE_STRING_ENUM __attribute__((swift_wrapper(struct)))
#define CF_ASSUME_NONNULL_BEGIN _Pragma("clang assume_nonnull begin")
#define CF_ASSUME_NONNULL_END _Pragma("clang assume_nonnull end")
#define CF_IMPLICIT_BRIDGING_ENABLED _Pragma("clang arc_cf_code_audited begin")
#define CF_IMPLICIT_BRIDGING_DISABLED _Pragma("clang arc_cf_code_audited end")

CF_EXTERN_C_BEGIN

typedef unsigned char Boolean;
typedef unsigned char UInt8;
typedef signed int SInt32;
typedef unsigned int UInt32;
typedef signed long CFIndex;
typedef unsigned long CFTypeID;
typedef unsigned long CFOptionFlags;
typedef unsigned long CFHashCode;

typedef const CF_BRIDGED_TYPE(id) void *CFTypeRef;
typedef const struct CF_BRIDGED_TYPE(NSString) __CFString *CFStringRef;
typedef struct CF_BRIDGED_MUTABLE_TYPE(NSMutableString) __CFString *CFMutableStringRef;
typedef const struct CF_BRIDGED_TYPE(id) __CFAllocator *CFAllocatorRef;
typedef const struct CF_BRIDGED_TYPE(NSArray) __CFArray *CFArrayRef;
typedef const struct CF_BRIDGED_TYPE(NSDictionary) __CFDictionary *CFDictionaryRef;
typedef const struct CF_BRIDGED_TYPE(NSNumber) __CFBoolean *CFBooleanRef;
typedef const struct CF_BRIDGED_TYPE(NSNull) __CFNull *CFNullRef;
typedef struct CF_BRIDGED_MUTABLE_TYPE(NSMachPort) __CFMachPort *CFMachPortRef;
typedef struct CF_BRIDGED_MUTABLE_TYPE(id) __CFRunLoop *CFRunLoopRef;
typedef struct CF_BRIDGED_MUTABLE_TYPE(id) __CFRunLoopSource *CFRunLoopSourceRef;
typedef CFStringRef CFRunLoopMode CF_EXTENSIBLE_STRING_ENUM;

typedef double CFTimeInterval;
typedef CFTimeInterval CFAbsoluteTime;

typedef struct {
    CFIndex location;
    CFIndex length;
} CFRange;

CF_EXPORT const CFAllocatorRef kCFAllocatorDefault;

CF_EXPORT CFTypeRef CFRetain(CFTypeRef cf);
CF_EXPORT void CFRelease(CFTypeRef cf);
CF_EXPORT Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2);
CF_EXPORT CFHashCode CFHash(CFTypeRef cf);
CF_EXPORT CFTypeID CFGetTypeID(CFTypeRef cf);

CF_EXPORT CFTypeID CFNullGetTypeID(void);
CF_EXPORT const CFNullRef kCFNull;

CF_EXPORT CFTypeID CFStringGetTypeID(void);
CF_EXPORT CFTypeID CFArrayGetTypeID(void);
CF_EXPORT CFIndex CFArrayGetCount(CFArrayRef theArray);
CF_EXPORT const void *CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx);

CF_EXPORT const CFBooleanRef kCFBooleanTrue;
CF_EXPORT const CFBooleanRef kCFBooleanFalse;

CF_EXPORT CFRunLoopSourceRef CFMachPortCreateRunLoopSource(CFAllocatorRef allocator,
                                                           CFMachPortRef port, CFIndex order);

CF_EXPORT const CFRunLoopMode kCFRunLoopDefaultMode;
CF_EXPORT const CFRunLoopMode kCFRunLoopCommonModes;
CF_EXPORT CFRunLoopRef CFRunLoopGetCurrent(void);
CF_EXPORT CFRunLoopRef CFRunLoopGetMain(void);
CF_EXPORT void CFRunLoopAddSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFRunLoopMode mode);
CF_EXPORT void CFRunLoopRemoveSource(CFRunLoopRef rl, CFRunLoopSourceRef source,
                                     CFRunLoopMode mode);

CF_EXPORT CFAbsoluteTime CFAbsoluteTimeGetCurrent(void);

// CFData.h
typedef const struct CF_BRIDGED_TYPE(NSData) __CFData *CFDataRef;
CF_EXPORT const UInt8 *CFDataGetBytePtr(CFDataRef theData);

// CFNotificationCenter.h
CF_ASSUME_NONNULL_BEGIN
typedef CFStringRef CFNotificationName CF_EXTENSIBLE_STRING_ENUM;
typedef struct CF_BRIDGED_MUTABLE_TYPE(id) __CFNotificationCenter *CFNotificationCenterRef;
typedef void (*CFNotificationCallback)(CFNotificationCenterRef center, void *_Nullable observer,
                                       CFNotificationName _Nullable name,
                                       const void *_Nullable object,
                                       CFDictionaryRef _Nullable userInfo);
typedef CF_ENUM(CFIndex, CFNotificationSuspensionBehavior){
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};
CF_EXPORT CFNotificationCenterRef CFNotificationCenterGetDistributedCenter(void);
CF_EXPORT void CFNotificationCenterAddObserver(CFNotificationCenterRef center,
                                               const void *_Nullable observer,
                                               CFNotificationCallback callBack,
                                               CFStringRef _Nullable name,
                                               const void *_Nullable object,
                                               CFNotificationSuspensionBehavior suspensionBehavior);
CF_EXPORT void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center,
                                                  const void *_Nullable observer,
                                                  CFNotificationName _Nullable name,
                                                  const void *_Nullable object);
CF_ASSUME_NONNULL_END

CF_EXPORT CFStringRef __CFStringMakeConstantString(const char *cStr)
    __attribute__((format_arg(1)));

// Strings as the hint letters use them (CFString.h, CFStringEncodingExt.h, CFLocale.h).
typedef unsigned short UInt16;
typedef UInt16 UniChar;
typedef UInt32 CFStringEncoding;
typedef const struct CF_BRIDGED_TYPE(NSLocale) __CFLocale *CFLocaleRef;
typedef CF_ENUM(CFIndex, CFStringEncodings){
    kCFStringEncodingGB_18030_2000 = 0x0632,
};
CF_INLINE CFRange CFRangeMake(CFIndex loc, CFIndex len) {
    CFRange range;
    range.location = loc;
    range.length = len;
    return range;
}
CF_EXPORT CFMutableStringRef CFStringCreateMutable(CFAllocatorRef alloc, CFIndex maxLength);
CF_EXPORT void CFStringAppendCharacters(CFMutableStringRef theString, const UniChar *chars,
                                        CFIndex numChars);
CF_EXPORT CFIndex CFStringGetLength(CFStringRef theString);
CF_EXPORT void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar *buffer);
CF_EXPORT CFIndex CFStringGetBytes(CFStringRef theString, CFRange range,
                                   CFStringEncoding encoding, UInt8 lossByte,
                                   Boolean isExternalRepresentation, UInt8 *buffer,
                                   CFIndex maxBufLen, CFIndex *usedBufLen);
CF_EXPORT void CFStringUppercase(CFMutableStringRef theString, CFLocaleRef locale);
CF_EXPORT Boolean CFStringTransform(CFMutableStringRef string, CFRange *range,
                                    CFStringRef transform, Boolean reverse)
    API_AVAILABLE(macos(10.4));
CF_EXPORT const CFStringRef kCFStringTransformMandarinLatin API_AVAILABLE(macos(10.4));
CF_EXPORT const CFStringRef kCFStringTransformStripCombiningMarks API_AVAILABLE(macos(10.4));

CF_EXTERN_C_END

// A constant CFStringRef, as the compiler builds it for Apple's headers.
#define CFSTR(cStr) ((CFStringRef)__builtin___CFStringMakeConstantString("" cStr ""))

#endif
