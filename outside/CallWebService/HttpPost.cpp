#include "HttpPost.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "CallError.h"

namespace qmx::callws {
namespace {

struct Received {
    std::string Body;
    std::size_t Limit = 0;
    bool TooLarge = false;
};

std::size_t OnData(char* data, std::size_t size, std::size_t count, void* user) {
    auto& received = *static_cast<Received*>(user);
    const std::size_t length = size * count;
    if (received.Body.size() + length > received.Limit) {
        received.TooLarge = true;
        return 0; // ends the transfer with a write error
    }
    received.Body.append(data, length);
    return length;
}

void InitializeCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void Require(CURLcode code, const char* option) {
    if (code != CURLE_OK)
        throw CallError(CWS_INTERNAL_ERROR, std::string("Cannot set the transfer option ") + option + ": " +
                                                curl_easy_strerror(code));
}

std::string TooLargeText(const CallSettings& settings) {
    return "The answer of the web service exceeds the limit of " + std::to_string(settings.MaxResponseBytes) +
           " bytes.";
}

} // namespace

HttpAnswer HttpPost(const std::string& url, const std::string& body, const std::vector<std::string>& headers,
                    const CallSettings& settings) {
    InitializeCurlOnce();
    std::unique_ptr<CURL, EasyCleanup> curl(curl_easy_init());
    if (!curl) throw CallError(CWS_INTERNAL_ERROR, "Cannot start an HTTP transfer.");
    std::unique_ptr<curl_slist, ListCleanup> headerList;
    for (const std::string& header : headers) {
        curl_slist* extended = curl_slist_append(headerList.get(), header.c_str());
        if (!extended) throw CallError(CWS_INTERNAL_ERROR, "Cannot build the request headers.");
        headerList.release();
        headerList.reset(extended);
    }

    Received received;
    received.Limit = settings.MaxResponseBytes;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    CURL* handle = curl.get();
    Require(curl_easy_setopt(handle, CURLOPT_URL, url.c_str()), "URL");
    Require(curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https"), "PROTOCOLS_STR");
    Require(curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"), "REDIR_PROTOCOLS_STR");
    Require(curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L), "FOLLOWLOCATION");
    Require(curl_easy_setopt(handle, CURLOPT_MAXREDIRS, settings.MaxRedirects), "MAXREDIRS");
    // A redirected call stays a POST with its envelope.
    Require(curl_easy_setopt(handle, CURLOPT_POSTREDIR, static_cast<long>(CURL_REDIR_POST_ALL)), "POSTREDIR");
    Require(curl_easy_setopt(handle, CURLOPT_POST, 1L), "POST");
    Require(curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.data()), "POSTFIELDS");
    Require(curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size())),
            "POSTFIELDSIZE_LARGE");
    Require(curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get()), "HTTPHEADER");
    Require(curl_easy_setopt(handle, CURLOPT_USERAGENT, "CallWebService/1.0"), "USERAGENT");
    Require(curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, ""), "ACCEPT_ENCODING");
    Require(curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, settings.ConnectTimeoutSeconds), "CONNECTTIMEOUT");
    Require(curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L), "LOW_SPEED_LIMIT");
    Require(curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, settings.LowSpeedTimeSeconds), "LOW_SPEED_TIME");
    Require(curl_easy_setopt(handle, CURLOPT_TIMEOUT, settings.TotalTimeoutSeconds), "TIMEOUT");
    Require(curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(settings.MaxResponseBytes)),
            "MAXFILESIZE_LARGE");
    Require(curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L), "SSL_VERIFYPEER");
    Require(curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L), "SSL_VERIFYHOST");
    // The host process has its own signal handlers and threads.
    Require(curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L), "NOSIGNAL");
    Require(curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorBuffer), "ERRORBUFFER");
    Require(curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &OnData), "WRITEFUNCTION");
    Require(curl_easy_setopt(handle, CURLOPT_WRITEDATA, &received), "WRITEDATA");

    const CURLcode result = curl_easy_perform(handle);
    if (received.TooLarge || result == CURLE_FILESIZE_EXCEEDED) throw CallError(CWS_TOO_LARGE, TooLargeText(settings));
    if (result != CURLE_OK) {
        const std::string detail = errorBuffer[0] ? errorBuffer : curl_easy_strerror(result);
        std::string lead = "The web service at " + url + " cannot be reached: ";
        if (result == CURLE_OPERATION_TIMEDOUT)
            lead = "The web service at " + url + " did not answer in time (connect " +
                   std::to_string(settings.ConnectTimeoutSeconds) + " s, idle " +
                   std::to_string(settings.LowSpeedTimeSeconds) + " s, whole call " +
                   std::to_string(settings.TotalTimeoutSeconds) + " s): ";
        else if (result == CURLE_UNSUPPORTED_PROTOCOL || result == CURLE_TOO_MANY_REDIRECTS)
            lead = "The web service at " + url + " redirected the call where it may not go: ";
        throw CallError(CWS_TRANSPORT_ERROR, lead + detail);
    }

    HttpAnswer answer;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &answer.Status);
    const char* contentType = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType)
        answer.ContentType = contentType;
    answer.Body = std::move(received.Body);
    return answer;
}

} // namespace qmx::callws
