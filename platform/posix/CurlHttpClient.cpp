#include "platform/posix/CurlHttpClient.h"

#include <curl/curl.h>

#include <cstdlib>
#include <utility>

namespace vantor::platform {

namespace {

// What the callbacks of one transfer share with it.
struct Transfer {
    std::string body;
    bool bodyTooLarge = false;
    const std::atomic<bool>* abandoning = nullptr;
};

std::size_t receiveBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (bytes > CurlHttpClient::kMaxBodySize - transfer.body.size()) {
        transfer.bodyTooLarge = true;
        return 0;  // anything but `bytes` aborts the transfer with CURLE_WRITE_ERROR
    }
    transfer.body.append(data, bytes);
    return bytes;
}

int checkAbandoned(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto& transfer = *static_cast<Transfer*>(user);
    return transfer.abandoning->load() ? 1 : 0;  // non-zero aborts the transfer
}

// The environment's no_proxy list with the loopback addresses added: a request to this machine
// never goes through a proxy.
std::string noProxyList() {
    std::string list = "localhost,127.0.0.1,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"}) {
        if (const char* value = std::getenv(name); value && value[0] != '\0') {
            return std::string(value) + "," + list;
        }
    }
    return list;
}

HttpResponse fetch(const std::string& url, const CurlHttpClient::Timeouts& timeouts,
                   const std::atomic<bool>& abandoning) {
    HttpResponse response;
    CURL* curl = curl_easy_init();
    if (!curl) {
        response.error = "could not start the request";
        return response;
    }
    Transfer transfer;
    transfer.abandoning = &abandoning;
    char message[CURL_ERROR_SIZE] = {};
    const std::string noProxy = noProxyList();

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
    // Timeouts by the clock, not by SIGALRM, which would reach the wrong thread.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.total.count()));
    // Refuses at once an answer that announces a larger body; receiveBody catches the rest.
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(CurlHttpClient::kMaxBodySize));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, receiveBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, checkAbandoned);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, message);

    const CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);

    response.statusCode = status;
    if (result == CURLE_OK) {
        response.body = std::move(transfer.body);
    } else if (transfer.bodyTooLarge || result == CURLE_FILESIZE_EXCEEDED) {
        response.error = "the response body is larger than 1 MiB";
    } else {
        response.error = message[0] != '\0' ? message : curl_easy_strerror(result);
    }
    return response;
}

}  // namespace

CurlHttpClient::CurlHttpClient(PostToMainQueue postToMainQueue, Timeouts timeouts)
    : postToMainQueue_(std::move(postToMainQueue)), timeouts_(timeouts) {
    // Once per process, before any transfer; never undone, as other clients may follow.
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlHttpClient::~CurlHttpClient() {
    abandoning_ = true;
    for (auto& request : requests_)
        request->thread.join();
}

void CurlHttpClient::get(std::string_view url, HttpCompletion completion) {
    joinFinished();
    {
        std::lock_guard lock(mutex_);
        ++pending_;
    }
    auto& request = *requests_.emplace_back(std::make_unique<Request>());
    request.thread = std::thread(
        [this, &request, url = std::string(url), completion = std::move(completion)]() mutable {
            perform(url, completion);
            request.finished = true;
        });
}

void CurlHttpClient::perform(const std::string& url, HttpCompletion& completion) {
    HttpResponse response = fetch(url, timeouts_, abandoning_);
    if (!abandoning_) {
        postToMainQueue_(
            [completion = std::move(completion), response = std::move(response)]() mutable {
                completion(std::move(response));
            });
    }
    std::lock_guard lock(mutex_);
    --pending_;
    idle_.notify_all();
}

bool CurlHttpClient::waitUntilIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, timeout, [this] { return pending_ == 0; });
}

void CurlHttpClient::joinFinished() {
    for (auto it = requests_.begin(); it != requests_.end();) {
        if ((*it)->finished) {
            (*it)->thread.join();
            it = requests_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace vantor::platform
