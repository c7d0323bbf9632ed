#include "board/BoardAddress.h"

#include <curl/curl.h>

#include <memory>

namespace {

constexpr const char* kNotHttp = "not an http or https URL";

// A part of a parsed URL; empty when it has none.
std::string Part(CURLU* url, CURLUPart part) {
    char* value = nullptr;
    if (curl_url_get(url, part, &value, 0) != CURLUE_OK || value == nullptr) return "";
    std::string text(value);
    curl_free(value);
    return text;
}

bool HasPart(CURLU* url, CURLUPart part) {
    char* value = nullptr;
    const bool has = curl_url_get(url, part, &value, 0) == CURLUE_OK && value != nullptr;
    curl_free(value);
    return has;
}

}  // namespace

BoardAddress::BoardAddress() : base(kDefault) {}

BoardAddress::BoardAddress(std::string url) : base(std::move(url)) {}

bool BoardAddress::Parse(const std::string& text, BoardAddress& address, std::string& problem) {
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), curl_url_cleanup);
    if (url == nullptr) {
        problem = "out of memory";
        return false;
    }
    // Only what the player wrote: no scheme guessed, none of curl's own.
    if (curl_url_set(url.get(), CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME) !=
        CURLUE_OK) {
        problem = kNotHttp;
        return false;
    }
    const std::string scheme = Part(url.get(), CURLUPART_SCHEME);
    if (scheme != "http" && scheme != "https") {
        problem = kNotHttp;
        return false;
    }
    if (Part(url.get(), CURLUPART_HOST).empty()) {
        problem = "no host";
        return false;
    }
    if (HasPart(url.get(), CURLUPART_USER) || HasPart(url.get(), CURLUPART_PASSWORD)) {
        problem = "a user or password in the address";
        return false;
    }
    if (HasPart(url.get(), CURLUPART_QUERY) || HasPart(url.get(), CURLUPART_FRAGMENT)) {
        problem = "a query or fragment in the address";
        return false;
    }
    std::string normalised = Part(url.get(), CURLUPART_URL);
    while (!normalised.empty() && normalised.back() == '/') normalised.pop_back();
    address = BoardAddress(normalised);
    return true;
}

std::string BoardAddress::Url(const std::string& path) const { return base + path; }
