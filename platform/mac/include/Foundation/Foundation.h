// Gap-fill over GNUstep's <Foundation/Foundation.h>, used only by the Linux compile check of
// the macOS backend: the Foundation API of current macOS that GNUstep lacks, declared with
// Apple's signatures and availability (NSURLSession, the URL-based NSTask API, the KVO change
// keys, the CF bridging functions).
#include_next <Foundation/Foundation.h>

#ifndef VANTOR_GAPFILL_FOUNDATION_H
#define VANTOR_GAPFILL_FOUNDATION_H

#include <CoreFoundation/CoreFoundation.h>
#include <os/availability.h>

// Unavailable means unavailable, as on macOS: a class may declare -init so, and need not define it.
#undef NS_UNAVAILABLE
#define NS_UNAVAILABLE __attribute__((unavailable))

#ifndef NS_INLINE
#define NS_INLINE static __inline__ __attribute__((always_inline))
#endif
#ifndef NS_SWIFT_NAME
#define NS_SWIFT_NAME(name)
#endif
#ifndef NS_STRING_ENUM
#define NS_STRING_ENUM
#endif
#ifndef NS_TYPED_EXTENSIBLE_ENUM
#define NS_TYPED_EXTENSIBLE_ENUM
#endif
#ifndef NS_SWIFT_SENDABLE
#define NS_SWIFT_SENDABLE
#endif
#ifndef NS_NOESCAPE
#define NS_NOESCAPE __attribute__((noescape))
#endif

NS_ASSUME_NONNULL_BEGIN

// NSObject.h: moving ownership across the CoreFoundation boundary.
NS_INLINE CF_RETURNS_RETAINED CFTypeRef _Nullable CFBridgingRetain(id _Nullable X) {
    return (__bridge_retained CFTypeRef)X;
}
NS_INLINE id _Nullable CFBridgingRelease(CFTypeRef CF_CONSUMED _Nullable X) {
    return (__bridge_transfer id)X;
}

// NSKeyValueObserving.h
typedef NSString *NSKeyValueChangeKey NS_STRING_ENUM;

@interface NSObject (VantorKeyValueObserverRegistration)
- (void)removeObserver:(NSObject *)observer
            forKeyPath:(NSString *)keyPath
               context:(nullable void *)context API_AVAILABLE(macos(10.7), ios(5.0));
@end

// NSTask.h: the URL-based launch API of macOS 10.13.
@interface NSTask (VantorURLLaunching)
@property(nullable, copy) NSURL *executableURL API_AVAILABLE(macos(10.13));
@property(nullable, copy) NSURL *currentDirectoryURL API_AVAILABLE(macos(10.13));
- (BOOL)launchAndReturnError:(out NSError **_Nullable)error API_AVAILABLE(macos(10.13));
+ (nullable NSTask *)launchedTaskWithExecutableURL:(NSURL *)url
                                         arguments:(NSArray<NSString *> *)arguments
                                             error:(out NSError **_Nullable)error
                                terminationHandler:(void (^_Nullable)(NSTask *))terminationHandler
    API_AVAILABLE(macos(10.13));
@end

// NSURLSession.h
#if !GS_HAVE_NSURLSESSION
@class NSURLSessionDataTask;
@protocol NSURLSessionDelegate;

typedef NS_ENUM(NSInteger, NSURLSessionResponseDisposition){
    NSURLSessionResponseCancel = 0,
    NSURLSessionResponseAllow = 1,
    NSURLSessionResponseBecomeDownload = 2,
    NSURLSessionResponseBecomeStream API_AVAILABLE(macos(10.11), ios(9.0)) = 3,
} API_AVAILABLE(macos(10.9), ios(7.0));

typedef NS_ENUM(NSInteger, NSURLSessionTaskState){
    NSURLSessionTaskStateRunning = 0,
    NSURLSessionTaskStateSuspended = 1,
    NSURLSessionTaskStateCanceling = 2,
    NSURLSessionTaskStateCompleted = 3,
};

API_AVAILABLE(macos(10.9), ios(7.0))
@interface NSURLSessionConfiguration : NSObject <NSCopying>
@property(class, readonly, strong) NSURLSessionConfiguration *defaultSessionConfiguration;
@property(class, readonly, strong) NSURLSessionConfiguration *ephemeralSessionConfiguration;
@property NSTimeInterval timeoutIntervalForRequest;
@property NSTimeInterval timeoutIntervalForResource;
@property NSURLRequestCachePolicy requestCachePolicy;
@property NSInteger HTTPMaximumConnectionsPerHost;
@property BOOL HTTPShouldSetCookies;
@property(nullable, copy) NSDictionary *HTTPAdditionalHeaders;
@property(nullable, retain) NSURLCache *URLCache;
@property BOOL waitsForConnectivity API_AVAILABLE(macos(10.13), ios(11.0));
@end

API_AVAILABLE(macos(10.9), ios(7.0))
@interface NSURLSessionTask : NSObject <NSCopying>
@property(readonly) NSUInteger taskIdentifier;
@property(nullable, readonly, copy) NSURLRequest *originalRequest;
@property(nullable, readonly, copy) NSURLRequest *currentRequest;
@property(nullable, readonly, copy) NSURLResponse *response;
@property(readonly) NSURLSessionTaskState state;
@property(nullable, readonly, copy) NSError *error;
- (void)cancel;
- (void)suspend;
- (void)resume;
@end

API_AVAILABLE(macos(10.9), ios(7.0))
@interface NSURLSessionDataTask : NSURLSessionTask
@end

API_AVAILABLE(macos(10.9), ios(7.0))
@interface NSURLSession : NSObject
@property(class, readonly, strong) NSURLSession *sharedSession;
+ (NSURLSession *)sessionWithConfiguration:(NSURLSessionConfiguration *)configuration;
+ (NSURLSession *)sessionWithConfiguration:(NSURLSessionConfiguration *)configuration
                                  delegate:(nullable id<NSURLSessionDelegate>)delegate
                             delegateQueue:(nullable NSOperationQueue *)queue;
@property(readonly, retain) NSOperationQueue *delegateQueue;
@property(nullable, readonly, retain) id<NSURLSessionDelegate> delegate;
@property(readonly, copy) NSURLSessionConfiguration *configuration;
- (void)finishTasksAndInvalidate;
- (void)invalidateAndCancel;
- (NSURLSessionDataTask *)dataTaskWithURL:(NSURL *)url;
- (NSURLSessionDataTask *)dataTaskWithRequest:(NSURLRequest *)request
                            completionHandler:
                                (void (^)(NSData *_Nullable data, NSURLResponse *_Nullable response,
                                          NSError *_Nullable error))completionHandler;
- (NSURLSessionDataTask *)dataTaskWithURL:(NSURL *)url
                        completionHandler:
                            (void (^)(NSData *_Nullable data, NSURLResponse *_Nullable response,
                                      NSError *_Nullable error))completionHandler;
@end

@protocol NSURLSessionDelegate <NSObject>
@optional
- (void)URLSession:(NSURLSession *)session didBecomeInvalidWithError:(nullable NSError *)error;
@end

@protocol NSURLSessionTaskDelegate <NSURLSessionDelegate>
@optional
- (void)URLSession:(NSURLSession *)session
                          task:(NSURLSessionTask *)task
    willPerformHTTPRedirection:(NSHTTPURLResponse *)response
                    newRequest:(NSURLRequest *)request
             completionHandler:(void (^)(NSURLRequest *_Nullable))completionHandler;
- (void)URLSession:(NSURLSession *)session
                    task:(NSURLSessionTask *)task
    didCompleteWithError:(nullable NSError *)error;
@end

@protocol NSURLSessionDataDelegate <NSURLSessionTaskDelegate>
@optional
- (void)URLSession:(NSURLSession *)session
              dataTask:(NSURLSessionDataTask *)dataTask
    didReceiveResponse:(NSURLResponse *)response
     completionHandler:
         (void (^)(NSURLSessionResponseDisposition disposition))completionHandler;
- (void)URLSession:(NSURLSession *)session
          dataTask:(NSURLSessionDataTask *)dataTask
    didReceiveData:(NSData *)data;
@end
#endif

NS_ASSUME_NONNULL_END

#endif
