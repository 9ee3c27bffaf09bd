// Stand-in for the SDK's <os/availability.h>: the API_AVAILABLE family of markers, expanded to
// clang's availability attribute so that the compiler checks uses of newer calls.
#ifndef VANTOR_STANDIN_OS_AVAILABILITY_H
#define VANTOR_STANDIN_OS_AVAILABILITY_H

#define __API_PLATFORM_AVAILABLE_macos(v) availability(macos, introduced = v)
#define __API_PLATFORM_AVAILABLE_macosx(v) availability(macos, introduced = v)
#define __API_PLATFORM_AVAILABLE_macCatalyst(v) availability(macCatalyst, introduced = v)
#define __API_PLATFORM_AVAILABLE_ios(v) availability(ios, introduced = v)
#define __API_PLATFORM_AVAILABLE_tvos(v) availability(tvos, introduced = v)
#define __API_PLATFORM_AVAILABLE_watchos(v) availability(watchos, introduced = v)

#define __API_PLATFORM_DEPRECATED_macos(a, d) macos, introduced = a, deprecated = d
#define __API_PLATFORM_DEPRECATED_macosx(a, d) macos, introduced = a, deprecated = d
#define __API_PLATFORM_DEPRECATED_macCatalyst(a, d) macCatalyst, introduced = a, deprecated = d
#define __API_PLATFORM_DEPRECATED_ios(a, d) ios, introduced = a, deprecated = d
#define __API_PLATFORM_DEPRECATED_tvos(a, d) tvos, introduced = a, deprecated = d
#define __API_PLATFORM_DEPRECATED_watchos(a, d) watchos, introduced = a, deprecated = d

#define __API_PLATFORM_UNAVAILABLE_macos availability(macos, unavailable)
#define __API_PLATFORM_UNAVAILABLE_macCatalyst availability(macCatalyst, unavailable)
#define __API_PLATFORM_UNAVAILABLE_ios availability(ios, unavailable)
#define __API_PLATFORM_UNAVAILABLE_tvos availability(tvos, unavailable)
#define __API_PLATFORM_UNAVAILABLE_watchos availability(watchos, unavailable)

#define __API_A1(p) __attribute__((__API_PLATFORM_AVAILABLE_##p))
#define __API_A2(p, ...) __API_A1(p) __API_A1(__VA_ARGS__)
#define __API_A3(p, ...) __API_A1(p) __API_A2(__VA_ARGS__)
#define __API_A4(p, ...) __API_A1(p) __API_A3(__VA_ARGS__)
#define __API_PICK(_1, _2, _3, _4, name, ...) name
#define API_AVAILABLE(...) __API_PICK(__VA_ARGS__, __API_A4, __API_A3, __API_A2, __API_A1, )(__VA_ARGS__)

#define __API_D1(m, p) __attribute__((availability(__API_PLATFORM_DEPRECATED_##p, message = m)))
#define __API_D2(m, p, ...) __API_D1(m, p) __API_D1(m, __VA_ARGS__)
#define __API_D3(m, p, ...) __API_D1(m, p) __API_D2(m, __VA_ARGS__)
#define __API_D4(m, p, ...) __API_D1(m, p) __API_D3(m, __VA_ARGS__)
#define API_DEPRECATED(m, ...) \
    __API_PICK(__VA_ARGS__, __API_D4, __API_D3, __API_D2, __API_D1, )(m, __VA_ARGS__)
#define API_DEPRECATED_WITH_REPLACEMENT(r, ...) API_DEPRECATED("Use " r, __VA_ARGS__)

#define __API_U1(p) __attribute__((__API_PLATFORM_UNAVAILABLE_##p))
#define __API_U2(p, ...) __API_U1(p) __API_U1(__VA_ARGS__)
#define __API_U3(p, ...) __API_U1(p) __API_U2(__VA_ARGS__)
#define __API_U4(p, ...) __API_U1(p) __API_U3(__VA_ARGS__)
#define API_UNAVAILABLE(...) __API_PICK(__VA_ARGS__, __API_U4, __API_U3, __API_U2, __API_U1, )(__VA_ARGS__)

// A deprecation announced for a future release: no warning yet.
#define API_TO_BE_DEPRECATED 100000

#endif
