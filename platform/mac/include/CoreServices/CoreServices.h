// Stand-in for <CoreServices/CoreServices.h>, used only by the Linux compile check of the
// macOS backend: the Unicode key translation of a keyboard layout (UnicodeUtilities.h) and
// the MacTypes it takes.
#ifndef VANTOR_STANDIN_CORESERVICES_H
#define VANTOR_STANDIN_CORESERVICES_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

typedef unsigned short UInt16;
typedef UInt16 UniChar;
typedef unsigned long UniCharCount;
typedef UInt32 OptionBits;
typedef SInt32 OSStatus;

enum { noErr = 0 };

// The 'uchr' resource's data; its layout is the system's business.
struct UCKeyboardLayout;
typedef struct UCKeyboardLayout UCKeyboardLayout;

enum {
    kUCKeyActionDown = 0,
    kUCKeyActionUp = 1,
    kUCKeyActionAutoKey = 2,
    kUCKeyActionDisplay = 3
};

enum { kUCKeyTranslateNoDeadKeysBit = 0 };
enum { kUCKeyTranslateNoDeadKeysMask = 1L << kUCKeyTranslateNoDeadKeysBit };

extern OSStatus UCKeyTranslate(const UCKeyboardLayout *keyLayoutPtr, UInt16 virtualKeyCode,
                               UInt16 keyAction, UInt32 modifierKeyState, UInt32 keyboardType,
                               OptionBits keyTranslateOptions, UInt32 *deadKeyState,
                               UniCharCount maxStringLength, UniCharCount *actualStringLength,
                               UniChar unicodeString[]) API_AVAILABLE(macos(10.2));

CF_EXTERN_C_END

#endif
