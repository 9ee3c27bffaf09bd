// HTTP requests on macOS: NSURLSession data tasks whose completions run on the main queue, with
// the Linux client's limits (connect 5 s, 15 s in all, 1 MiB of body, no redirects). App
// Transport Security lets them reach https addresses only; a plain http address fails.
#pragma once

#import <Foundation/Foundation.h>

#include <memory>

#include "platform/Http.h"

@class VantorHttpDelegate;

namespace vantor::mac {

class MacHttpClient final : public platform::HttpClient {
public:
    MacHttpClient();
    // Cancels the requests still running; their completions are dropped.
    ~MacHttpClient() override;
    MacHttpClient(const MacHttpClient&) = delete;
    MacHttpClient& operator=(const MacHttpClient&) = delete;

    void get(std::string_view url, platform::HttpCompletion completion) override;

private:
    VantorHttpDelegate* delegate_;
    NSURLSession* session_;
    // Whether this client still lives, for the completions that arrive later.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vantor::mac
