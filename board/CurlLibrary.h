// libcurl, loaded when the board is first used rather than with the game.
#pragma once

#include <curl/curl.h>

#include <string>

// Linked the usual way, libcurl brings its TLS, compression, name and
// directory libraries with it, more than twenty, and loading those at
// start-up puts the first frame off by milliseconds. Loaded here instead,
// when a send, a fetch, --submit or an address needs it, it offers the few
// functions the board uses, under their own names. Call them through these
// pointers: curl_easy_setopt and curl_easy_getinfo are variadic, so each
// value must already be of the type its option takes (long, a pointer,
// curl_off_t), as with the functions themselves.
//
// The library is never unloaded: each object loads it (cheaply, once it is
// loaded) and leaves it loaded, since libcurl's TLS library does not
// survive being unloaded. Any number of objects may be used at once, on any
// threads; curl's own rules about its handles still apply.
class CurlLibrary {
public:
    // The library's soname, as Debian's libcurl4 installs it.
    static constexpr const char* kFileName = "libcurl.so.4";

    // Loads the library and finds every function; true if it already was.
    // False, with a one-line reason in `error`, when either fails.
    bool Load(std::string& error);
    bool Loaded() const { return library != nullptr; }

    decltype(&::curl_global_init) GlobalInit = nullptr;
    decltype(&::curl_easy_init) EasyInit = nullptr;
    decltype(&::curl_easy_cleanup) EasyCleanup = nullptr;
    decltype(&::curl_easy_reset) EasyReset = nullptr;
    decltype(&::curl_easy_setopt) EasySetopt = nullptr;
    decltype(&::curl_easy_getinfo) EasyGetinfo = nullptr;
    decltype(&::curl_easy_strerror) EasyStrerror = nullptr;
    decltype(&::curl_easy_escape) EasyEscape = nullptr;
    decltype(&::curl_free) Free = nullptr;
    decltype(&::curl_slist_append) SlistAppend = nullptr;
    decltype(&::curl_slist_free_all) SlistFreeAll = nullptr;
    decltype(&::curl_multi_init) MultiInit = nullptr;
    decltype(&::curl_multi_cleanup) MultiCleanup = nullptr;
    decltype(&::curl_multi_add_handle) MultiAddHandle = nullptr;
    decltype(&::curl_multi_remove_handle) MultiRemoveHandle = nullptr;
    decltype(&::curl_multi_perform) MultiPerform = nullptr;
    decltype(&::curl_multi_poll) MultiPoll = nullptr;
    decltype(&::curl_multi_info_read) MultiInfoRead = nullptr;
    decltype(&::curl_url) Url = nullptr;
    decltype(&::curl_url_cleanup) UrlCleanup = nullptr;
    decltype(&::curl_url_set) UrlSet = nullptr;
    decltype(&::curl_url_get) UrlGet = nullptr;

private:
    // Looks up one function by name; false once one is missing.
    template <typename Function>
    bool Symbol(void* from, const char* name, Function& function, std::string& error);

    void* library = nullptr;
};
