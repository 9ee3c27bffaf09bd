#include "platform/mac/MacHttpClient.h"

#include <chrono>
#include <utility>

#include "platform/mac/MacConversions.h"
#include "platform/posix/CurlHttpClient.h"

using vantor::platform::CurlHttpClient;
using vantor::platform::HttpResponse;

// Refuses every redirect, so a 3xx answer arrives as it is, as the Linux client delivers it.
@interface VantorNoRedirects : NSObject <NSURLSessionTaskDelegate>
@end

@implementation VantorNoRedirects

- (void)URLSession:(NSURLSession*)session
                          task:(NSURLSessionTask*)task
    willPerformHTTPRedirection:(NSHTTPURLResponse*)response
                    newRequest:(NSURLRequest*)request
             completionHandler:(void (^)(NSURLRequest* _Nullable))completionHandler {
    completionHandler(nil);
}

@end

namespace vantor::mac {

namespace {

double seconds(std::chrono::milliseconds duration) {
    return std::chrono::duration<double>(duration).count();
}

bool isWebAddress(NSURL* address) {
    NSString* scheme = address.scheme.lowercaseString;
    return [scheme isEqualToString:@"http"] || [scheme isEqualToString:@"https"];
}

}  // namespace

MacHttpClient::MacHttpClient() {
    const CurlHttpClient::Timeouts timeouts;
    NSURLSessionConfiguration* configuration =
        [NSURLSessionConfiguration ephemeralSessionConfiguration];
    // The session has no connect timeout of its own: the longest wait for data comes closest.
    configuration.timeoutIntervalForRequest = seconds(timeouts.connect);
    configuration.timeoutIntervalForResource = seconds(timeouts.total);
    session_ = [NSURLSession sessionWithConfiguration:configuration
                                             delegate:[[VantorNoRedirects alloc] init]
                                        delegateQueue:[NSOperationQueue mainQueue]];
}

MacHttpClient::~MacHttpClient() {
    *alive_ = false;
    [session_ invalidateAndCancel];
}

void MacHttpClient::get(std::string_view url, platform::HttpCompletion completion) {
    const std::shared_ptr<bool> alive = alive_;
    NSURL* address = [NSURL URLWithString:nsString(url)];
    if (!address || !isWebAddress(address)) {
        [[NSOperationQueue mainQueue] addOperationWithBlock:^{
          if (!*alive) return;
          HttpResponse failed;
          failed.error = "not an http or https address";
          completion(std::move(failed));
        }];
        return;
    }
    // The session's delegate queue is the main queue, so the handler runs on the main thread.
    NSURLSessionDataTask* task = [session_
          dataTaskWithURL:address
        completionHandler:^(NSData* data, NSURLResponse* response, NSError* error) {
          if (!*alive) return;
          HttpResponse answer;
          if ([response isKindOfClass:[NSHTTPURLResponse class]])
              answer.statusCode = static_cast<long>(((NSHTTPURLResponse*)response).statusCode);
          if (error)
              answer.error = stdString(error.localizedDescription);
          else if (data.length > CurlHttpClient::kMaxBodySize)
              answer.error = "the response body is larger than 1 MiB";
          else
              answer.body.assign(static_cast<const char*>(data.bytes), data.length);
          completion(std::move(answer));
        }];
    [task resume];
}

}  // namespace vantor::mac
