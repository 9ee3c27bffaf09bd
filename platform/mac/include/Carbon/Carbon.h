// Stand-in for <Carbon/Carbon.h>, used only by the Linux compile check of the macOS backend:
// the one HIToolbox call the backend makes (whether secure keyboard entry is on).
#ifndef VANTOR_STANDIN_CARBON_H
#define VANTOR_STANDIN_CARBON_H

#include <ApplicationServices/ApplicationServices.h>

CF_EXTERN_C_BEGIN
extern Boolean IsSecureEventInputEnabled(void) API_AVAILABLE(macos(10.3));
CF_EXTERN_C_END

#endif
