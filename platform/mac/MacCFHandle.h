// Handles over Core Foundation objects for the macOS backend: the handle operations
// (CFRetain, CFRelease, CFEqual), adopting or retaining a CF reference, and the reverse cast.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include "platform/Handle.h"

namespace vantor::mac {

// The operations of every handle the backend gives out: each wraps a CF object.
inline const platform::HandleOps kCFHandleOps = {
    [](const void* object) noexcept { CFRetain(object); },
    [](const void* object) noexcept { CFRelease(object); },
    [](const void* a, const void* b) noexcept { return CFEqual(a, b) != 0; },
};

// Takes over a reference the caller owns (a Create or Copy result).
template <class H>
H adoptCF(const void* object) {
    return H::adopt(object, &kCFHandleOps);
}

// Takes a reference of its own to an object the caller does not own (a Get result).
template <class H>
H retainCF(const void* object) {
    return H::retain(object, &kCFHandleOps);
}

// The CF reference a handle holds, as the type the CF call takes.
template <class Ref, class H>
Ref cfRef(const H& handle) {
    return static_cast<Ref>(const_cast<void*>(handle.get()));
}

}  // namespace vantor::mac
