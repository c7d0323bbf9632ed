#include "gfx/BitmapFont.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstring>
#include <stdexcept>

#include "common/AssetSearchPaths.h"
#include "common/RegularFile.h"

namespace {

// Pixels of exactly this colour are the background of the glyphs.
constexpr Uint8 kKeyRed = 238;
constexpr Uint8 kKeyGreen = 0;
constexpr Uint8 kKeyBlue = 252;

constexpr int kSpace = 32;
constexpr int kFirstCode = kSpace;  // the space is cell 0
constexpr int kLowerToUpper = 64;   // a lower-case code minus this is its capital's cell

// Refused unread: the bitmap is 45 KB.
constexpr std::size_t kMaxFileSize = 1u << 20;

// The lower-case letters the game's texts use; they are drawn as capitals.
constexpr const char* kLowerCaseLetters = "abcefgilmnoprstuv";

// Frees a surface when it goes out of scope, so no error path leaks one.
struct SurfaceGuard {
    SDL_Surface* surface;
    ~SurfaceGuard() { SDL_FreeSurface(surface); }
};

// Reads the first bitmap there is; fills `path` with where it was found.
SDL_Surface* OpenBitmap(const std::vector<std::string>& searchPaths, std::string& path) {
    std::string tried;
    for (const std::string& candidate : searchPaths) {
        std::string bytes, why;
        const regular_file::Outcome outcome =
            regular_file::Read(candidate, kMaxFileSize, bytes, why);
        if (outcome == regular_file::Outcome::kMissing) {
            tried += (tried.empty() ? "" : ", ") + candidate;
            continue;
        }
        path = candidate;
        // A file that exists but cannot be read is an error of its own: a
        // damaged copy should not silently be passed over.
        if (outcome != regular_file::Outcome::kRead) {
            throw std::runtime_error("cannot read font bitmap " + candidate + ": it " + why);
        }
        SDL_Surface* loaded =
            SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
        if (loaded == nullptr) {
            throw std::runtime_error("cannot read font bitmap " + candidate + ": " +
                                     SDL_GetError());
        }
        return loaded;
    }
    throw std::runtime_error("cannot open font bitmap " + std::string(CBitmapFont::kFileName) +
                             " (tried " + tried + "): no such file");
}

// A copy in ABGR8888 (bytes R, G, B, A in memory on a little-endian machine)
// in which key-coloured pixels are transparent black and all others opaque.
SDL_Surface* ConvertToRGBA(SDL_Surface* loaded, const std::string& path) {
    SDL_SetColorKey(loaded, 1, SDL_MapRGB(loaded->format, kKeyRed, kKeyGreen, kKeyBlue));
    int bits = 0;
    Uint32 red = 0, green = 0, blue = 0, alpha = 0;
    SDL_PixelFormatEnumToMasks(SDL_PIXELFORMAT_ABGR8888, &bits, &red, &green, &blue, &alpha);
    SDL_Surface* converted =
        SDL_CreateRGBSurface(0, loaded->w, loaded->h, bits, red, green, blue, alpha);
    if (converted == nullptr || SDL_UpperBlit(loaded, nullptr, converted, nullptr) != 0) {
        SDL_FreeSurface(converted);
        throw std::runtime_error("cannot convert font bitmap " + path + ": " + SDL_GetError());
    }
    return converted;
}

}  // namespace

CBitmapFont::CBitmapFont() : CBitmapFont(DefaultSearchPaths()) {}

CBitmapFont::CBitmapFont(const std::vector<std::string>& searchPaths) : glyphOf(), texture(0) {
    Load(searchPaths);
    FillGlyphTable();
}

std::vector<std::string> CBitmapFont::DefaultSearchPaths() { return AssetSearchPaths(kFileName); }

int CBitmapFont::NextPowerOfTwo(int n) {
    int value = 1;
    while (value < n) value *= 2;
    return value;
}

void CBitmapFont::Load(const std::vector<std::string>& searchPaths) {
    std::string path;
    SurfaceGuard loaded{OpenBitmap(searchPaths, path)};
    const int width = loaded.surface->w;
    const int height = loaded.surface->h;
    // Texture coordinates assume the exact layout; any other size would draw
    // the wrong glyphs, so it is refused.
    if (width != kBitmapWidth || height != kBitmapHeight) {
        throw std::runtime_error("font bitmap " + path + " is " + std::to_string(width) + "x" +
                                 std::to_string(height) + " pixels; it must be " +
                                 std::to_string(kBitmapWidth) + "x" +
                                 std::to_string(kBitmapHeight));
    }
    SurfaceGuard converted{ConvertToRGBA(loaded.surface, path)};

    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Storage is first defined at power-of-two size, then level 0 is
    // redefined at the bitmap's real size, which is the texture in use.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, NextPowerOfTwo(width), NextPowerOfTwo(height), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 converted.surface->pixels);
}

void CBitmapFont::FillGlyphTable() {
    // Every code starts as the blank space cell, so a character the table
    // does not know draws nothing visible instead of reading garbage.
    for (int& glyph : glyphOf) glyph = kSpace - kFirstCode;
    for (int code = '0'; code <= '9'; ++code) glyphOf[code] = code - kFirstCode;
    for (const char* c = kLowerCaseLetters; *c != '\0'; ++c) {
        const int code = static_cast<unsigned char>(*c);
        glyphOf[code] = code - kLowerToUpper;
    }
}

int CBitmapFont::GlyphOf(unsigned char code) const {
    return code < kTableSize ? glyphOf[code] : glyphOf[kSpace];
}

void CBitmapFont::DrawText(int x, int y, const char* text) {
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    const std::size_t len = std::strlen(text);
    glBegin(GL_QUADS);
    for (std::size_t i = 0; i < len; ++i) {
        int g = GlyphOf(static_cast<unsigned char>(text[i]));
        float u0 = static_cast<float>(kCellSize * g / static_cast<double>(kBitmapWidth));
        float u1 =
            static_cast<float>((kCellSize * g + kCellSize) / static_cast<double>(kBitmapWidth));
        float left = static_cast<float>(x + kCellSize * static_cast<int>(i));
        float right = left + kCellSize;
        float bottom = static_cast<float>(y);
        float top = static_cast<float>(y + kCellSize);
        // t = 1 at the bottom of the cell: the bitmap's first row is the top.
        glTexCoord2f(u0, 1.0f);
        glVertex2f(left, bottom);
        glTexCoord2f(u1, 1.0f);
        glVertex2f(right, bottom);
        glTexCoord2f(u1, 0.0f);
        glVertex2f(right, top);
        glTexCoord2f(u0, 0.0f);
        glVertex2f(left, top);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
