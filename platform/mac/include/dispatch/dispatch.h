// Stand-in for <dispatch/dispatch.h>, used only by the Linux compile check of the macOS
// backend: main-queue scheduling as the backend uses it. As on a Mac, dispatch objects are
// Objective-C objects that ARC manages, and blocks are dispatch_block_t.
#ifndef VANTOR_STANDIN_DISPATCH_H
#define VANTOR_STANDIN_DISPATCH_H

#include <os/availability.h>
#include <stdint.h>
#include <sys/cdefs.h>

#define DISPATCH_EXPORT extern __attribute__((visibility("default")))
#define DISPATCH_INLINE static __inline__
#define DISPATCH_ALWAYS_INLINE __attribute__((__always_inline__))
#define DISPATCH_CONST __attribute__((__const__))
#define DISPATCH_PURE __attribute__((__pure__))
#define DISPATCH_NOTHROW __attribute__((__nothrow__))
#define DISPATCH_WARN_RESULT __attribute__((__warn_unused_result__))
#define DISPATCH_NONNULL2 __attribute__((_Nonnull__(2)))
#define DISPATCH_NONNULL3 __attribute__((_Nonnull__(3)))
#define DISPATCH_NONNULL_ALL __attribute__((_Nonnull__))
#define DISPATCH_ASSUME_NONNULL_BEGIN _Pragma("clang assume_nonnull begin")
#define DISPATCH_ASSUME_NONNULL_END _Pragma("clang assume_nonnull end")

#define OS_OBJC_INDEPENDENT_CLASS __attribute__((objc_independent_class))

#if defined(__OBJC__)
// os/object.h: with Objective-C, each dispatch type is an object pointer adopting a protocol
// chain rooted at NSObject, so ARC retains and releases it.
#include <Foundation/NSObject.h>
#define OS_OBJECT_USE_OBJC 1
#if __has_feature(objc_arc)
#define OS_OBJECT_BRIDGE __bridge
#else
#define OS_OBJECT_BRIDGE
#endif
#define OS_OBJECT_DECL_IMPL(name, adhere, ...) \
    @protocol OS_##name __VA_ARGS__            \
    @end                                       \
    typedef adhere<OS_##name> *OS_OBJC_INDEPENDENT_CLASS name##_t
#define DISPATCH_DECL(name) OS_OBJECT_DECL_IMPL(name, NSObject, <OS_dispatch_object>)
#define DISPATCH_DECL_SUBCLASS(name, base) OS_OBJECT_DECL_IMPL(name, NSObject, <OS_##base>)
OS_OBJECT_DECL_IMPL(dispatch_object, NSObject, <NSObject>);
#else
#define OS_OBJECT_USE_OBJC 0
#define OS_OBJECT_BRIDGE
#define DISPATCH_DECL(name) typedef struct name##_s *name##_t
#define DISPATCH_DECL_SUBCLASS(name, base) typedef base##_t name##_t
typedef struct dispatch_object_s *dispatch_object_t;
#endif

#define DISPATCH_GLOBAL_OBJECT(type, object) ((OS_OBJECT_BRIDGE type) & (object))

__BEGIN_DECLS
DISPATCH_ASSUME_NONNULL_BEGIN

#ifdef __BLOCKS__
typedef void (^dispatch_block_t)(void);
#endif
typedef void (*dispatch_function_t)(void *_Nullable);

// time.h
#define NSEC_PER_SEC 1000000000ull
#define NSEC_PER_MSEC 1000000ull
#define USEC_PER_SEC 1000000ull
#define NSEC_PER_USEC 1000ull
typedef uint64_t dispatch_time_t;
#define DISPATCH_TIME_NOW (0ull)
#define DISPATCH_TIME_FOREVER (~0ull)

API_AVAILABLE(macos(10.6), ios(4.0))
DISPATCH_EXPORT DISPATCH_WARN_RESULT DISPATCH_NOTHROW dispatch_time_t
dispatch_time(dispatch_time_t when, int64_t delta);

// queue.h
DISPATCH_DECL(dispatch_queue);
DISPATCH_DECL_SUBCLASS(dispatch_queue_global, dispatch_queue);
DISPATCH_DECL_SUBCLASS(dispatch_queue_serial, dispatch_queue);
DISPATCH_DECL_SUBCLASS(dispatch_queue_main, dispatch_queue_serial);

#ifdef __BLOCKS__
API_AVAILABLE(macos(10.6), ios(4.0))
DISPATCH_EXPORT DISPATCH_NONNULL_ALL DISPATCH_NOTHROW void
dispatch_async(dispatch_queue_t queue, dispatch_block_t block);

API_AVAILABLE(macos(10.6), ios(4.0))
DISPATCH_EXPORT DISPATCH_NONNULL2 DISPATCH_NONNULL3 DISPATCH_NOTHROW void
dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
#endif

API_AVAILABLE(macos(10.6), ios(4.0))
DISPATCH_EXPORT struct dispatch_queue_s _dispatch_main_q;

DISPATCH_INLINE DISPATCH_ALWAYS_INLINE DISPATCH_CONST DISPATCH_NOTHROW dispatch_queue_main_t
dispatch_get_main_queue(void) {
    return DISPATCH_GLOBAL_OBJECT(dispatch_queue_main_t, _dispatch_main_q);
}

#define DISPATCH_QUEUE_PRIORITY_HIGH 2
#define DISPATCH_QUEUE_PRIORITY_DEFAULT 0
#define DISPATCH_QUEUE_PRIORITY_LOW (-2)
#define DISPATCH_QUEUE_PRIORITY_BACKGROUND INT16_MIN

API_AVAILABLE(macos(10.6), ios(4.0))
DISPATCH_EXPORT DISPATCH_CONST DISPATCH_WARN_RESULT DISPATCH_NOTHROW dispatch_queue_global_t
dispatch_get_global_queue(intptr_t identifier, uintptr_t flags);

DISPATCH_ASSUME_NONNULL_END
__END_DECLS

#endif
