// Gap-fill over the GNU runtime's <objc/objc.h> for the Linux compile check of the macOS
// backend: YES, NO and nil as Apple's runtime defines them under clang, so that @YES and
// nil passed for an NSError ** mean what they mean on a Mac.
#include_next <objc/objc.h>

#ifndef VANTOR_GAPFILL_OBJC_H
#define VANTOR_GAPFILL_OBJC_H

#undef YES
#undef NO
#define YES __objc_yes
#define NO __objc_no

#undef nil
#undef Nil
#if defined(__cplusplus)
#define nil nullptr
#define Nil nullptr
#else
#define nil ((void *)0)
#define Nil ((void *)0)
#endif

#endif
