// HTTP requests (NSURLSession), as far as the update check needs them: one GET, its answer
// handed back on the main queue.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::platform {

// What a request ended with.
struct HttpResponse {
    // The HTTP status of the answer (statusCode of the NSHTTPURLResponse); 0 when no answer
    // arrived.
    long statusCode = 0;
    // The body's bytes as received; empty when the request failed.
    std::string body;
    // None on success (the error argument nil); otherwise what went wrong, for a person. A
    // status other than 200 is not an error.
    std::optional<std::string> error;
};

using HttpCompletion = std::function<void(HttpResponse)>;

class HttpClient {
public:
    virtual ~HttpClient() = default;

    // [[[NSURLSession sharedSession] dataTaskWithURL:completionHandler:] resume], with the
    // completion hopping to the main queue: returns at once; the completion runs once, later, on
    // the main thread. A client that is destroyed first may drop completions not yet run. A body
    // over 1 MiB is an error, found while it arrives. On the Mac, App Transport Security allows
    // https addresses only: a plain http request fails with an error.
    virtual void get(std::string_view url, HttpCompletion completion) = 0;
};

}  // namespace vantor::platform
