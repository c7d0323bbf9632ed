#include "common/AssetSearchPaths.h"

#include <SDL.h>

std::vector<std::string> AssetSearchPaths(const std::string& name) {
    std::vector<std::string> paths{name};
    char* base = SDL_GetBasePath();
    if (base != nullptr) {
        std::string folder(base);
        SDL_free(base);
        paths.push_back(folder + "assets/" + name);
        paths.push_back(folder + "../share/korvessa/" + name);
    }
    return paths;
}
