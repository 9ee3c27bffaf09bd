// Stand-in for <Carbon/Carbon.h>, used only by the Linux compile check of the macOS backend:
// the HIToolbox calls the backend makes (whether secure keyboard entry is on; the current
// ASCII-capable keyboard layout, its change notice and the keyboard type).
#ifndef VANTOR_STANDIN_CARBON_H
#define VANTOR_STANDIN_CARBON_H

#include <ApplicationServices/ApplicationServices.h>
#include <CoreServices/CoreServices.h>

CF_EXTERN_C_BEGIN
extern Boolean IsSecureEventInputEnabled(void) API_AVAILABLE(macos(10.3));

// TextInputSources.h
typedef struct CF_BRIDGED_TYPE(id) __TISInputSource *TISInputSourceRef;
extern const CFStringRef kTISPropertyUnicodeKeyLayoutData API_AVAILABLE(macos(10.5));
extern const CFStringRef kTISNotifySelectedKeyboardInputSourceChanged
    API_AVAILABLE(macos(10.5));
extern TISInputSourceRef TISCopyCurrentASCIICapableKeyboardLayoutInputSource(void)
    API_AVAILABLE(macos(10.5));
extern void *TISGetInputSourceProperty(TISInputSourceRef inputSource, CFStringRef propertyKey)
    API_AVAILABLE(macos(10.5));

// Events.h
extern UInt8 LMGetKbdType(void) API_AVAILABLE(macos(10.0));
CF_EXTERN_C_END

#endif
