#include "gfx/TextFont.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstring>
#include <memory>
#include <stdexcept>

#include "common/AssetSearchPaths.h"

namespace {

// Pixels of exactly this colour are the background of the glyphs, as in the
// game's font.
constexpr Uint8 kKeyRed = 238;
constexpr Uint8 kKeyGreen = 0;
constexpr Uint8 kKeyBlue = 252;
constexpr Uint8 kOpaque = 255;

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// The first bitmap that can be opened, as bytes R, G, B, A in memory; a copy
// that exists but cannot be read is an error rather than passed over.
Surface OpenBitmap(const std::vector<std::string>& searchPaths) {
    std::string tried;
    for (const std::string& candidate : searchPaths) {
        SDL_RWops* stream = SDL_RWFromFile(candidate.c_str(), "rb");
        if (stream == nullptr) {
            tried += (tried.empty() ? "" : ", ") + candidate;
            continue;
        }
        const Surface loaded(SDL_LoadBMP_RW(stream, 1), SDL_FreeSurface);
        Surface converted(loaded == nullptr
                              ? nullptr
                              : SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ABGR8888, 0),
                          SDL_FreeSurface);
        if (converted == nullptr) {
            throw std::runtime_error("cannot read font bitmap " + candidate + ": " +
                                     SDL_GetError());
        }
        if (converted->w != TextFont::kBitmapWidth || converted->h != TextFont::kBitmapHeight) {
            throw std::runtime_error("font bitmap " + candidate + " is " +
                                     std::to_string(converted->w) + "x" +
                                     std::to_string(converted->h) + " pixels; it must be " +
                                     std::to_string(TextFont::kBitmapWidth) + "x" +
                                     std::to_string(TextFont::kBitmapHeight));
        }
        return converted;
    }
    throw std::runtime_error("cannot open font bitmap " + std::string(TextFont::kFileName) +
                             " (tried " + tried + "): " + SDL_GetError());
}

// Key-coloured pixels become transparent black and every other one opaque,
// so that the cells paint black where there is no ink, as the game's do.
void KeyOut(SDL_Surface& surface) {
    for (int y = 0; y < surface.h; ++y) {
        Uint8* pixel = static_cast<Uint8*>(surface.pixels) + y * surface.pitch;
        for (int x = 0; x < surface.w; ++x, pixel += 4) {
            const bool key = pixel[0] == kKeyRed && pixel[1] == kKeyGreen && pixel[2] == kKeyBlue;
            if (key) std::memset(pixel, 0, 4);
            pixel[3] = key ? 0 : kOpaque;
        }
    }
}

constexpr float kSheetWidth = static_cast<float>(TextFont::kBitmapWidth);
constexpr float kCellWidth = static_cast<float>(TextFont::kCellSize);

int CellOf(unsigned char code) {
    const bool printable = code >= TextFont::kFirstCode && code <= TextFont::kLastCode;
    return printable ? code - TextFont::kFirstCode : 0;  // cell 0 is the space
}

}  // namespace

TextFont::TextFont() : TextFont(AssetSearchPaths(kFileName)) {}

TextFont::TextFont(const std::vector<std::string>& searchPaths) {
    const Surface bitmap = OpenBitmap(searchPaths);
    KeyOut(*bitmap);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Scaled up (fullscreen, a large window) each screen pixel blends the
    // texels around it. Clamped, the bottom of a cell blends with its own
    // last row rather than wrapping round to the top row of the sheet, which
    // drew a faint line under every letter; across a cell's sides it meets
    // only the blank side columns every glyph keeps.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, bitmap->w, bitmap->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 bitmap->pixels);
}

TextFont::~TextFont() { glDeleteTextures(1, &texture); }

int TextFont::Width(std::size_t length) { return kCellSize * static_cast<int>(length); }

void TextFont::DrawText(int x, int y, const char* text) const {
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    const float bottom = static_cast<float>(y);
    const float top = static_cast<float>(y + kCellSize);
    float left = static_cast<float>(x);
    for (const char* c = text; *c != '\0'; ++c) {
        const int cell = CellOf(static_cast<unsigned char>(*c));
        const float u0 = static_cast<float>(cell * kCellSize) / kSheetWidth;
        const float u1 = static_cast<float>((cell + 1) * kCellSize) / kSheetWidth;
        const float right = left + kCellWidth;
        // t = 1 at the bottom of the cell: the bitmap's first row is the top.
        glTexCoord2f(u0, 1.0f);
        glVertex2f(left, bottom);
        glTexCoord2f(u1, 1.0f);
        glVertex2f(right, bottom);
        glTexCoord2f(u1, 0.0f);
        glVertex2f(right, top);
        glTexCoord2f(u0, 0.0f);
        glVertex2f(left, top);
        left = right;
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
