// Gap-fill over GNUstep's <AppKit/NSCell.h>, used only by the Linux compile check of the macOS
// backend: NSControlStateValue is a signed integer on macOS (its Mixed state is -1), so the
// GNUstep typedef is set aside for Apple's.
#define NSControlStateValue VantorGNUstepUnsignedControlStateValue
#include_next <AppKit/NSCell.h>
#undef NSControlStateValue

#ifndef VANTOR_GAPFILL_NSCELL_H
#define VANTOR_GAPFILL_NSCELL_H
typedef NSInteger NSControlStateValue;
#endif
