// Stand-in for <ServiceManagement/ServiceManagement.h>, used only by the Linux compile check of
// the macOS backend: the login-item calls, SMLoginItemSetEnabled (deprecated in macOS 13) and
// SMAppService (macOS 13 and later, so uses must be guarded by @available).
#ifndef VANTOR_STANDIN_SERVICEMANAGEMENT_H
#define VANTOR_STANDIN_SERVICEMANAGEMENT_H

#include <CoreFoundation/CoreFoundation.h>

// SMLoginItem.h
CF_EXTERN_C_BEGIN
API_DEPRECATED("Please use SMAppService instead", macos(10.6, 13.0))
extern __attribute__((visibility("default"))) __attribute__((nonnull(1))) Boolean
SMLoginItemSetEnabled(CFStringRef identifier, Boolean enabled);
CF_EXTERN_C_END

// SMAppService.h
#if defined(__OBJC__)
#import <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

typedef NS_ENUM(NSInteger, SMAppServiceStatus){
    SMAppServiceStatusNotRegistered,
    SMAppServiceStatusEnabled,
    SMAppServiceStatusRequiresApproval,
    SMAppServiceStatusNotFound,
};

API_AVAILABLE(macos(13.0), macCatalyst(16.0)) API_UNAVAILABLE(ios, tvos, watchos)
@interface SMAppService : NSObject
+ (instancetype)loginItemServiceWithIdentifier:(NSString *)identifier
    API_AVAILABLE(macos(13.0), macCatalyst(16.0));
@property(class, readonly) SMAppService *mainAppService API_AVAILABLE(macos(13.0), macCatalyst(16.0));
- (BOOL)registerAndReturnError:(NSError *_Nullable __autoreleasing *_Nullable)error
    API_AVAILABLE(macos(13.0), macCatalyst(16.0));
- (BOOL)unregisterAndReturnError:(NSError *_Nullable __autoreleasing *_Nullable)error
    API_AVAILABLE(macos(13.0), macCatalyst(16.0));
@property(readonly) SMAppServiceStatus status API_AVAILABLE(macos(13.0), macCatalyst(16.0));
+ (void)openSystemSettingsLoginItems API_AVAILABLE(macos(13.0), macCatalyst(16.0));
@end

NS_ASSUME_NONNULL_END
#endif

#endif
