// Stand-in for <AvailabilityMacros.h>, used only by the Linux compile check (GoogleTest's
// headers include it on Apple targets): the version numbers of the deployment target.
#ifndef VANTOR_STANDIN_AVAILABILITYMACROS_H
#define VANTOR_STANDIN_AVAILABILITYMACROS_H

#define MAC_OS_X_VERSION_10_15 101500
#define MAC_OS_VERSION_12_0 120000
#ifndef MAC_OS_X_VERSION_MIN_REQUIRED
#define MAC_OS_X_VERSION_MIN_REQUIRED MAC_OS_VERSION_12_0
#endif
#ifndef MAC_OS_X_VERSION_MAX_ALLOWED
#define MAC_OS_X_VERSION_MAX_ALLOWED 140000
#endif

#endif
