// Stand-in for <TargetConditionals.h>, used only by the Linux compile check (GoogleTest's
// headers read it on Apple targets): the platform macros of a macOS build.
#ifndef VANTOR_STANDIN_TARGETCONDITIONALS_H
#define VANTOR_STANDIN_TARGETCONDITIONALS_H

#define TARGET_OS_MAC 1
#define TARGET_OS_OSX 1
#define TARGET_OS_IPHONE 0
#define TARGET_OS_IOS 0
#define TARGET_OS_TV 0
#define TARGET_OS_WATCH 0
#define TARGET_OS_SIMULATOR 0
#define TARGET_OS_EMBEDDED 0

#endif
