#include "board/CurlLibrary.h"

#include <dlfcn.h>

namespace {

constexpr const char* kCannotLoad = "cannot load libcurl, so the board cannot be reached: ";

// dlerror()'s line, which names the file and what went wrong with it.
std::string LoaderProblem() {
    const char* why = dlerror();
    return std::string(kCannotLoad) + (why != nullptr ? why : "unknown loader error");
}

}  // namespace

template <typename Function>
bool CurlLibrary::Symbol(void* from, const char* name, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(dlsym(from, name));
    if (function == nullptr) error = LoaderProblem();
    return function != nullptr;
}

bool CurlLibrary::Load(std::string& error) {
    if (library != nullptr) return true;
    // RTLD_NODELETE: whatever happens to this handle, the TLS library stays.
    void* loaded = dlopen(kFileName, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (loaded == nullptr) {
        error = LoaderProblem();
        return false;
    }
    const bool found = Symbol(loaded, "curl_global_init", GlobalInit, error) &&
                       Symbol(loaded, "curl_easy_init", EasyInit, error) &&
                       Symbol(loaded, "curl_easy_cleanup", EasyCleanup, error) &&
                       Symbol(loaded, "curl_easy_reset", EasyReset, error) &&
                       Symbol(loaded, "curl_easy_setopt", EasySetopt, error) &&
                       Symbol(loaded, "curl_easy_getinfo", EasyGetinfo, error) &&
                       Symbol(loaded, "curl_easy_strerror", EasyStrerror, error) &&
                       Symbol(loaded, "curl_easy_escape", EasyEscape, error) &&
                       Symbol(loaded, "curl_free", Free, error) &&
                       Symbol(loaded, "curl_slist_append", SlistAppend, error) &&
                       Symbol(loaded, "curl_slist_free_all", SlistFreeAll, error) &&
                       Symbol(loaded, "curl_multi_init", MultiInit, error) &&
                       Symbol(loaded, "curl_multi_cleanup", MultiCleanup, error) &&
                       Symbol(loaded, "curl_multi_add_handle", MultiAddHandle, error) &&
                       Symbol(loaded, "curl_multi_remove_handle", MultiRemoveHandle, error) &&
                       Symbol(loaded, "curl_multi_perform", MultiPerform, error) &&
                       Symbol(loaded, "curl_multi_poll", MultiPoll, error) &&
                       Symbol(loaded, "curl_multi_info_read", MultiInfoRead, error) &&
                       Symbol(loaded, "curl_url", Url, error) &&
                       Symbol(loaded, "curl_url_cleanup", UrlCleanup, error) &&
                       Symbol(loaded, "curl_url_set", UrlSet, error) &&
                       Symbol(loaded, "curl_url_get", UrlGet, error);
    // A library without them all is of no use; it stays loaded all the same.
    if (found) library = loaded;
    return found;
}
