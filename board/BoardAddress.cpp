#include "board/BoardAddress.h"

#include <memory>

#include "board/CurlLibrary.h"

namespace {

constexpr const char* kNotHttp = "not an http or https URL";

// A part of a parsed URL; empty when it has none.
std::string Part(const CurlLibrary& curl, CURLU* url, CURLUPart part) {
    char* value = nullptr;
    const bool has = curl.UrlGet(url, part, &value, 0) == CURLUE_OK && value != nullptr;
    std::string text = has ? value : "";
    curl.Free(value);
    return text;
}

bool HasPart(const CurlLibrary& curl, CURLU* url, CURLUPart part) {
    char* value = nullptr;
    const bool has = curl.UrlGet(url, part, &value, 0) == CURLUE_OK && value != nullptr;
    curl.Free(value);
    return has;
}

std::string WithoutTrailingSlashes(std::string url) {
    while (!url.empty() && url.back() == '/') url.pop_back();
    return url;
}

}  // namespace

BoardAddress::BoardAddress() : base(kDefault) {}

BoardAddress::BoardAddress(std::string url) : base(std::move(url)) {}

bool BoardAddress::Parse(const std::string& text, BoardAddress& address, std::string& problem) {
    CurlLibrary curl;
    std::string unloaded;
    if (!curl.Load(unloaded)) {
        // Nothing will reach any board this run; the game still plays, and
        // each send says why it went nowhere.
        address = BoardAddress(WithoutTrailingSlashes(text));
        return true;
    }
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl.Url(), curl.UrlCleanup);
    if (url == nullptr) {
        problem = "out of memory";
        return false;
    }
    // Only what the player wrote: no scheme guessed, none of curl's own.
    if (curl.UrlSet(url.get(), CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME) !=
        CURLUE_OK) {
        problem = kNotHttp;
        return false;
    }
    const std::string scheme = Part(curl, url.get(), CURLUPART_SCHEME);
    if (scheme != "http" && scheme != "https") {
        problem = kNotHttp;
        return false;
    }
    if (Part(curl, url.get(), CURLUPART_HOST).empty()) {
        problem = "no host";
        return false;
    }
    if (HasPart(curl, url.get(), CURLUPART_USER) || HasPart(curl, url.get(), CURLUPART_PASSWORD)) {
        problem = "a user or password in the address";
        return false;
    }
    if (HasPart(curl, url.get(), CURLUPART_QUERY) || HasPart(curl, url.get(), CURLUPART_FRAGMENT)) {
        problem = "a query or fragment in the address";
        return false;
    }
    address = BoardAddress(WithoutTrailingSlashes(Part(curl, url.get(), CURLUPART_URL)));
    return true;
}

std::string BoardAddress::Url(const std::string& path) const { return base + path; }
