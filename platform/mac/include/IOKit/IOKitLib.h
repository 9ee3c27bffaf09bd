// Stand-in for <IOKit/IOKitLib.h>, used only by the Linux compile check of the macOS backend:
// the I/O registry calls that find which process holds Secure Input (IOKitLib.h, IOTypes.h and
// the Mach types they use).
#ifndef VANTOR_STANDIN_IOKITLIB_H
#define VANTOR_STANDIN_IOKITLIB_H

#include <CoreFoundation/CoreFoundation.h>
#include <os/availability.h>

// <mach/port.h>, <mach/kern_return.h>
typedef unsigned int mach_port_t;
typedef int kern_return_t;
#define MACH_PORT_NULL 0

// <IOKit/IOTypes.h>
typedef UInt32 IOOptionBits;
typedef mach_port_t io_object_t;
typedef io_object_t io_registry_entry_t;
typedef char io_string_t[512];
#define IO_OBJECT_NULL ((io_object_t)0)

CF_EXTERN_C_BEGIN

extern const mach_port_t kIOMainPortDefault API_AVAILABLE(macos(12.0));

kern_return_t IOObjectRelease(io_object_t object);

io_registry_entry_t IORegistryEntryFromPath(mach_port_t mainPort, const io_string_t path);

CFTypeRef IORegistryEntryCreateCFProperty(io_registry_entry_t entry, CFStringRef key,
                                          CFAllocatorRef allocator, IOOptionBits options);

CF_EXTERN_C_END

#endif
