#include "desktop/WindowIcon.h"

#include <cstdio>

#include "desktop/IconImage.h"

void SetWindowIcon(SDL_Window* window) {
    if (window == nullptr) return;
    IconImage icon(kWindowIconPixels);
    // SDL copies the pixels, so the surface only borrows the image's.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<unsigned char*>(icon.Pixels().data()), icon.Size(), icon.Size(), 32,
        icon.Size() * IconImage::kChannels, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) {
        // Only the icon is missing: the game plays on without it.
        std::fprintf(stderr, "korvessa: cannot set the window icon: %s\n", SDL_GetError());
        return;
    }
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}
