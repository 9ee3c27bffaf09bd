#include "platform/mac/MacHttpClient.h"

#include <chrono>
#include <map>
#include <string>
#include <utility>

#include "platform/mac/MacConversions.h"
#include "platform/posix/CurlHttpClient.h"

using vantor::platform::CurlHttpClient;
using vantor::platform::HttpCompletion;
using vantor::platform::HttpResponse;

namespace {

constexpr auto kMaxBodySize = CurlHttpClient::kMaxBodySize;

// A request in flight: the body received so far and the completion it ends with.
struct PendingRequest {
    HttpCompletion completion;
    std::string body;
    bool tooLarge = false;
};

}  // namespace

// The session's delegate, on the main queue: gathers each task's body, cancels a task as soon as
// its body is announced or found to exceed the cap, refuses every redirect (a 3xx answer
// arrives as it is, as the Linux client delivers it), and runs each completion once.
@interface VantorHttpDelegate : NSObject <NSURLSessionDataDelegate>
- (void)addTask:(NSURLSessionDataTask*)task completion:(HttpCompletion)completion;
// Drops the completions not yet run.
- (void)abandonAll;
@end

@implementation VantorHttpDelegate {
    std::map<NSUInteger, PendingRequest> _pending;
}

- (void)addTask:(NSURLSessionDataTask*)task completion:(HttpCompletion)completion {
    _pending[task.taskIdentifier] = PendingRequest{std::move(completion), {}, false};
}

- (void)abandonAll {
    _pending.clear();
}

- (void)URLSession:(NSURLSession*)session
                          task:(NSURLSessionTask*)task
    willPerformHTTPRedirection:(NSHTTPURLResponse*)response
                    newRequest:(NSURLRequest*)request
             completionHandler:(void (^)(NSURLRequest* _Nullable))completionHandler {
    completionHandler(nil);
}

- (void)URLSession:(NSURLSession*)session
              dataTask:(NSURLSessionDataTask*)dataTask
    didReceiveResponse:(NSURLResponse*)response
     completionHandler:(void (^)(NSURLSessionResponseDisposition))completionHandler {
    const auto request = _pending.find(dataTask.taskIdentifier);
    // An unknown length is negative.
    if (request != _pending.end() &&
        response.expectedContentLength > static_cast<long long>(kMaxBodySize)) {
        request->second.tooLarge = true;
        completionHandler(NSURLSessionResponseCancel);
        return;
    }
    completionHandler(NSURLSessionResponseAllow);
}

- (void)URLSession:(NSURLSession*)session
          dataTask:(NSURLSessionDataTask*)dataTask
    didReceiveData:(NSData*)data {
    const auto request = _pending.find(dataTask.taskIdentifier);
    if (request == _pending.end() || request->second.tooLarge) return;
    std::string& body = request->second.body;
    if (data.length > kMaxBodySize - body.size()) {
        request->second.tooLarge = true;
        body = std::string();
        [dataTask cancel];
        return;
    }
    body.append(static_cast<const char*>(data.bytes), data.length);
}

- (void)URLSession:(NSURLSession*)session
                    task:(NSURLSessionTask*)task
    didCompleteWithError:(NSError*)error {
    auto node = _pending.extract(task.taskIdentifier);
    if (node.empty()) return;
    PendingRequest& request = node.mapped();
    HttpResponse answer;
    if ([task.response isKindOfClass:[NSHTTPURLResponse class]])
        answer.statusCode = static_cast<long>(((NSHTTPURLResponse*)task.response).statusCode);
    if (request.tooLarge)
        answer.error = "the response body is larger than 1 MiB";
    else if (error)
        answer.error = vantor::mac::stdString(error.localizedDescription);
    else
        answer.body = std::move(request.body);
    request.completion(std::move(answer));
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

MacHttpClient::MacHttpClient() : delegate_([[VantorHttpDelegate alloc] init]) {
    const CurlHttpClient::Timeouts timeouts;
    NSURLSessionConfiguration* configuration =
        [NSURLSessionConfiguration ephemeralSessionConfiguration];
    // The session has no connect timeout of its own: the longest wait for data comes closest.
    configuration.timeoutIntervalForRequest = seconds(timeouts.connect);
    configuration.timeoutIntervalForResource = seconds(timeouts.total);
    // The delegate queue is the main queue, so every delegate call and completion runs on the
    // main thread.
    session_ = [NSURLSession sessionWithConfiguration:configuration
                                             delegate:delegate_
                                        delegateQueue:[NSOperationQueue mainQueue]];
}

MacHttpClient::~MacHttpClient() {
    *alive_ = false;
    [delegate_ abandonAll];
    [session_ invalidateAndCancel];
}

void MacHttpClient::get(std::string_view url, platform::HttpCompletion completion) {
    NSURL* address = [NSURL URLWithString:nsString(url)];
    if (!address || !isWebAddress(address)) {
        const std::shared_ptr<bool> alive = alive_;
        [[NSOperationQueue mainQueue] addOperationWithBlock:^{
          if (!*alive) return;
          HttpResponse failed;
          failed.error = "not an http or https address";
          completion(std::move(failed));
        }];
        return;
    }
    // A task made without a completion handler reports to the delegate as the body arrives.
    NSURLSessionDataTask* task = [session_ dataTaskWithURL:address];
    [delegate_ addTask:task completion:std::move(completion)];
    [task resume];
}

}  // namespace vantor::mac
