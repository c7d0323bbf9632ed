#include "tests/support/FontBitmap.h"

#include <SDL.h>

namespace testing_support {

std::string FontBitmapPath(const std::string& name) {
    char* base = SDL_GetBasePath();
    std::string path = std::string(base != nullptr ? base : "./") + "assets/" + name;
    SDL_free(base);
    return path;
}

FontBitmap::FontBitmap(const std::string& path) {
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (loaded == nullptr) return;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    if (rgb == nullptr) return;
    for (int y = 0; y < rgb->h; ++y) {
        const auto* row = static_cast<const Uint8*>(rgb->pixels) + y * rgb->pitch;
        for (int x = 0; x < rgb->w; ++x) {
            const Uint8* p = row + 3 * x;
            bool isKey = p[0] == 238 && p[1] == 0 && p[2] == 252;
            key.push_back(isKey);
            ink.push_back(!isKey);
        }
    }
    width = rgb->w;
    height = rgb->h;
    SDL_FreeSurface(rgb);
}

}  // namespace testing_support
