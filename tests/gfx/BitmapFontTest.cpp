#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "gfx/BitmapFont.h"
#include "tests/gl/RecordingGL.h"
#include "tests/support/FontBitmap.h"

namespace {

using testing_support::FontBitmap;
using testing_support::FontBitmapPath;

class BitmapFontTest : public ::testing::Test {
protected:
    void SetUp() override { recgl::Reset(); }

    // The u coordinates of cell g, as floats.
    static float U0(int g) { return static_cast<float>(16 * g / 944.0); }
    static float U1(int g) { return static_cast<float>((16 * g + 16) / 944.0); }

    // The cell that the n-th quad of the last DrawText took, from its first
    // texture coordinate.
    static int CellOfQuad(int n) {
        std::vector<GLCall> coords = recgl::CallsNamed("glTexCoord2f");
        return static_cast<int>(coords.at(static_cast<std::size_t>(4 * n)).args[0] * 944 / 16 +
                                0.5);
    }
};

// Message of the error a font load throws, or "" when it loads.
std::string LoadError(const std::vector<std::string>& paths) {
    try {
        CBitmapFont font(paths);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

// A temporary file that is removed again.
struct TempFile {
    std::string path;
    explicit TempFile(const std::string& name) : path(testing::TempDir() + name) {}
    ~TempFile() { std::remove(path.c_str()); }
};

TEST(NextPowerOfTwoTest, SmallestPowerAtLeastN) {
    EXPECT_EQ(CBitmapFont::NextPowerOfTwo(0), 1);
    EXPECT_EQ(CBitmapFont::NextPowerOfTwo(1), 1);
    EXPECT_EQ(CBitmapFont::NextPowerOfTwo(-5), 1);
    EXPECT_EQ(CBitmapFont::NextPowerOfTwo(2), 2);
    EXPECT_EQ(CBitmapFont::NextPowerOfTwo(16), 16);
    EXPECT_EQ(CBitmapFont::NextPowerOfTwo(17), 32);
    EXPECT_EQ(CBitmapFont::NextPowerOfTwo(944), 1024);
    EXPECT_EQ(CBitmapFont::NextPowerOfTwo(1 << 30), 1 << 30);
}

TEST_F(BitmapFontTest, CommittedBitmapHasTheLayoutAndKeyColour) {
    FontBitmap bitmap;
    ASSERT_TRUE(bitmap.Loaded()) << FontBitmapPath();
    EXPECT_EQ(bitmap.width, 944);
    EXPECT_EQ(bitmap.height, 16);
    // Cell 0 is the space: all background. Every other cell has a glyph and
    // some background around it.
    for (int cell = 0; cell < 59; ++cell) {
        int inkPixels = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 16 * cell; x < 16 * cell + 16; ++x) inkPixels += bitmap.Ink(x, y);
        }
        if (cell == 0) {
            EXPECT_EQ(inkPixels, 0);
        } else {
            EXPECT_GT(inkPixels, 0) << "cell " << cell << " is empty";
            EXPECT_LT(inkPixels, 256) << "cell " << cell << " has no background";
        }
    }
}

TEST_F(BitmapFontTest, LoadsTextureInTwoStepsWithLinearFilters) {
    CBitmapFont font;
    EXPECT_NE(font.texture, 0u);
    std::vector<GLCall> images = recgl::CallsNamed("glTexImage2D");
    ASSERT_EQ(images.size(), 2u);
    // Power-of-two storage first, without pixels; then the real 944 x 16.
    EXPECT_EQ(images[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGBA, 1024, 16, 0, GL_RGBA,
                                                   GL_UNSIGNED_BYTE, 0}));
    EXPECT_EQ(images[1].args, (std::vector<double>{GL_TEXTURE_2D, 0, GL_RGBA, 944, 16, 0, GL_RGBA,
                                                   GL_UNSIGNED_BYTE, 1}));
    std::vector<GLCall> params = recgl::CallsNamed("glTexParameteri");
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(params[0].args,
              (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}));
    EXPECT_EQ(params[1].args,
              (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
    std::vector<std::string> names = recgl::Names();
    EXPECT_EQ(names,
              (std::vector<std::string>{"glGenTextures", "glBindTexture", "glTexImage2D",
                                        "glTexParameteri", "glTexParameteri", "glTexImage2D"}));
}

TEST_F(BitmapFontTest, KeyColourBecomesTransparentBlackAndInkOpaque) {
    CBitmapFont font;
    FontBitmap bitmap;
    ASSERT_TRUE(bitmap.Loaded());
    const std::vector<unsigned char>& pixels = recgl::LastTexturePixels();
    ASSERT_EQ(pixels.size(), 944u * 16u * 4u);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 944; ++x) {
            const unsigned char* p = &pixels[static_cast<std::size_t>(4 * (y * 944 + x))];
            if (bitmap.Key(x, y)) {
                ASSERT_EQ(p[0] | p[1] | p[2] | p[3], 0) << x << ", " << y;
            } else {
                ASSERT_EQ(p[3], 255) << x << ", " << y;
                ASSERT_EQ(p[0], 255) << x << ", " << y;  // the glyphs are white
            }
        }
    }
}

TEST_F(BitmapFontTest, TableMapsDigitsSpaceAndTheGamesLowerCaseLetters) {
    CBitmapFont font;
    EXPECT_EQ(font.glyphOf[int(' ')], 0);
    for (int c = '0'; c <= '9'; ++c) EXPECT_EQ(font.glyphOf[c], c - 32);
    for (char c : std::string("abcefgilmnoprstuv")) EXPECT_EQ(font.glyphOf[int(c)], c - 64);
    EXPECT_EQ(font.glyphOf[int('a')], 33);  // the cell of the capital A
    // Everything else draws the blank space cell.
    EXPECT_EQ(font.glyphOf[int('d')], 0);
    EXPECT_EQ(font.glyphOf[int('A')], 0);
    EXPECT_EQ(font.glyphOf[0], 0);
    EXPECT_EQ(font.glyphOf[254], 0);
}

TEST_F(BitmapFontTest, DrawTextSendsOneQuadPerCharacter) {
    CBitmapFont font;
    recgl::Reset();
    font.DrawText(100, 752, "score 0");
    std::vector<std::string> names = recgl::Names();
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(names[0], "glEnable");
    EXPECT_EQ(names[1], "glColor3f");
    EXPECT_EQ(names[2], "glBindTexture");
    EXPECT_EQ(names[3], "glBegin");
    EXPECT_EQ(names[names.size() - 2], "glEnd");
    EXPECT_EQ(names.back(), "glDisable");
    EXPECT_EQ(recgl::CallsNamed("glBindTexture")[0].args[1], font.texture);

    auto vertices = recgl::Vertices(GL_QUADS);
    std::vector<GLCall> coords = recgl::CallsNamed("glTexCoord2f");
    ASSERT_EQ(vertices.size(), 28u);
    ASSERT_EQ(coords.size(), 28u);
    for (int i = 0; i < 7; ++i) {
        double left = 100 + 16 * i;
        EXPECT_EQ(vertices[4 * i], std::make_pair(left, 752.0));
        EXPECT_EQ(vertices[4 * i + 1], std::make_pair(left + 16, 752.0));
        EXPECT_EQ(vertices[4 * i + 2], std::make_pair(left + 16, 768.0));
        EXPECT_EQ(vertices[4 * i + 3], std::make_pair(left, 768.0));
    }
    const int cells[7] = {51, 35, 47, 50, 37, 0, 16};  // S C O R E space 0
    for (int i = 0; i < 7; ++i) {
        int g = cells[i];
        EXPECT_EQ(coords[4 * i].args, (std::vector<double>{U0(g), 1})) << "char " << i;
        EXPECT_EQ(coords[4 * i + 1].args, (std::vector<double>{U1(g), 1}));
        EXPECT_EQ(coords[4 * i + 2].args, (std::vector<double>{U1(g), 0}));
        EXPECT_EQ(coords[4 * i + 3].args, (std::vector<double>{U0(g), 0}));
    }
    EXPECT_EQ(U0(51), static_cast<float>(816 / 944.0));
    EXPECT_EQ(vertices[27], std::make_pair(196.0, 768.0));
}

TEST_F(BitmapFontTest, EmptyTextDrawsNoQuad) {
    CBitmapFont font;
    recgl::Reset();
    font.DrawText(0, 0, "");
    EXPECT_TRUE(recgl::CallsNamed("glVertex2f").empty());
}

TEST_F(BitmapFontTest, CharactersWithoutAGlyphDrawTheSpaceCell) {
    CBitmapFont font;
    recgl::Reset();
    // Unmapped ASCII, a byte above 127 (a negative plain char), and 255,
    // which lies outside the 255-entry table.
    const char text[] = {'A', 'd', '!', static_cast<char>(0xE9), static_cast<char>(0xFF), '1', 0};
    font.DrawText(0, 0, text);
    ASSERT_EQ(recgl::CallsNamed("glTexCoord2f").size(), 24u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(CellOfQuad(i), 0) << "char " << i;
    EXPECT_EQ(CellOfQuad(5), 17);
}

TEST_F(BitmapFontTest, MissingFontNamesEveryPlaceTried) {
    std::string message = LoadError({"/nonexistent/a.bmp", "/nonexistent/b.bmp"});
    EXPECT_NE(message.find("tarvelin_16x16.bmp"), std::string::npos) << message;
    EXPECT_NE(message.find("/nonexistent/a.bmp"), std::string::npos) << message;
    EXPECT_NE(message.find("/nonexistent/b.bmp"), std::string::npos) << message;
    EXPECT_TRUE(recgl::CallsNamed("glGenTextures").empty());
}

TEST_F(BitmapFontTest, LaterPlacesAreTriedWhenEarlierOnesAreMissing) {
    EXPECT_EQ(LoadError({"/nonexistent/a.bmp", FontBitmapPath()}), "");
}

TEST_F(BitmapFontTest, DamagedOrMisfitFontsAreRefused) {
    TempFile garbage("not_a_bitmap.bmp");
    std::ofstream(garbage.path) << "hello, this is not a bitmap";
    std::string message = LoadError({garbage.path, FontBitmapPath()});
    EXPECT_NE(message.find(garbage.path), std::string::npos) << message;

    TempFile truncated("truncated.bmp");
    {
        std::ifstream in(FontBitmapPath(), std::ios::binary);
        std::vector<char> bytes(3000);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::ofstream(truncated.path, std::ios::binary).write(bytes.data(), in.gcount());
    }
    message = LoadError({truncated.path});
    EXPECT_NE(message.find(truncated.path), std::string::npos) << message;

    TempFile narrow("narrow.bmp");
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 100, 16, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(SDL_SaveBMP(surface, narrow.path.c_str()), 0);
    SDL_FreeSurface(surface);
    message = LoadError({narrow.path});
    EXPECT_NE(message.find("100x16"), std::string::npos) << message;
    EXPECT_NE(message.find("944x16"), std::string::npos) << message;
    EXPECT_TRUE(recgl::CallsNamed("glTexImage2D").empty());
}

}  // namespace
