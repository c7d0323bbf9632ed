// make_font: generates the game's bitmap font sheet and the shell's text sheet.
//
// Each sheet is a single row of 16x16 cells, one per ASCII code from ' ' (32) on: the game's
// runs to 'Z' (90), the text sheet on to '~' (126), lower case and all. Both draw the same
// glyphs, so the cells they share are identical.
// Glyphs are white on a magenta key colour so the loader can turn the background transparent.
// The artwork lives in this file as small text grids, doubled in size so strokes come out two
// pixels thick, which stays legible when drawn scaled on a black screen.
//
// Usage: make_font [game.bmp [text.bmp]]
//        (defaults: assets/tarvelin_16x16.bmp and assets/tarvelin_ascii_16x16.bmp)

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kDefaultGamePath = "assets/tarvelin_16x16.bmp";
constexpr const char* kDefaultTextPath = "assets/tarvelin_ascii_16x16.bmp";

constexpr int kFirstCode = 32;      // ' '
constexpr int kGameLastCode = 90;   // 'Z': the game's sheet stops here
constexpr int kTextLastCode = 126;  // '~': the text sheet holds every printable character
constexpr int kGameGlyphCount = kGameLastCode - kFirstCode + 1;
constexpr int kGlyphCount = kTextLastCode - kFirstCode + 1;

constexpr int kCellSize = 16;
constexpr int kImageHeight = kCellSize;

// Design grid for each glyph and how it is placed inside its cell.
constexpr int kGridWidth = 5;
constexpr int kGridHeight = 7;
// One more grid row under the baseline, for the tails of g, j, p, q, y and the underscore; the
// game's glyphs leave it blank.
constexpr int kDescenderRows = 1;
constexpr int kScale = 2;
constexpr int kGlyphPixelWidth = kGridWidth * kScale;
constexpr int kGlyphPixelHeight = kGridHeight * kScale;
constexpr int kOffsetX = (kCellSize - kGlyphPixelWidth) / 2;  // centred horizontally
constexpr int kBottomMargin = 2;                              // baseline sits 2 px above the bottom
constexpr int kOffsetY = kCellSize - kBottomMargin - kGlyphPixelHeight;
static_assert(kOffsetX >= 0 && kOffsetY >= 0, "glyph does not fit in its cell");
static_assert(kDescenderRows * kScale <= kBottomMargin, "descender does not fit in its cell");
// Side columns stay blank, so a glyph sampled across its cell's edge meets no neighbour's ink.
static_assert(kOffsetX >= 1, "glyphs touch their neighbours");

constexpr char kInk = 'X';
constexpr char kBlank = '.';

struct Rgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
};

// The loader keys out this exact colour, so it must never appear inside a glyph.
constexpr Rgb kKeyColour{238, 0, 252};
constexpr Rgb kInkColour{255, 255, 255};

// BMP layout constants.
constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kPixelDataOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr int kBitsPerPixel = 24;
constexpr int kBytesPerPixel = kBitsPerPixel / 8;
constexpr int kCompressionNone = 0;    // BI_RGB
constexpr int kPixelsPerMetre = 2835;  // ~72 DPI
constexpr int kRowAlignment = 4;

// A row left out (null) is blank: the game's glyphs give only the seven above the baseline.
struct Glyph {
    char ch;
    std::array<const char*, kGridHeight + kDescenderRows> rows;
};

// clang-format off
const std::array<Glyph, kGlyphCount> kGlyphs = {{
    // space
    {' ', {".....",
           ".....",
           ".....",
           ".....",
           ".....",
           ".....",
           "....."}},
    // exclamation mark
    {'!', {"..X..",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           ".....",
           "..X.."}},
    // double quote
    {'"', {".X.X.",
           ".X.X.",
           ".....",
           ".....",
           ".....",
           ".....",
           "....."}},
    // hash
    {'#', {".X.X.",
           ".X.X.",
           "XXXXX",
           ".X.X.",
           "XXXXX",
           ".X.X.",
           ".X.X."}},
    // dollar
    {'$', {"..X..",
           "XXXXX",
           "X.X..",
           "XXXXX",
           "..X.X",
           "XXXXX",
           "..X.."}},
    // percent
    {'%', {"XX..X",
           "XX..X",
           "...X.",
           "..X..",
           ".X...",
           "X..XX",
           "X..XX"}},
    // ampersand
    {'&', {".XX..",
           "X..X.",
           "X.X..",
           ".X...",
           "X.X.X",
           "X..X.",
           ".XX.X"}},
    // apostrophe
    {'\'', {"..X..",
            "..X..",
            ".....",
            ".....",
            ".....",
            ".....",
            "....."}},
    // left parenthesis
    {'(', {"...X.",
           "..X..",
           ".X...",
           ".X...",
           ".X...",
           "..X..",
           "...X."}},
    // right parenthesis
    {')', {".X...",
           "..X..",
           "...X.",
           "...X.",
           "...X.",
           "..X..",
           ".X..."}},
    // asterisk
    {'*', {".....",
           "X.X.X",
           ".XXX.",
           "XXXXX",
           ".XXX.",
           "X.X.X",
           "....."}},
    // plus
    {'+', {".....",
           "..X..",
           "..X..",
           "XXXXX",
           "..X..",
           "..X..",
           "....."}},
    // comma
    {',', {".....",
           ".....",
           ".....",
           ".....",
           "..X..",
           "..X..",
           ".X..."}},
    // minus
    {'-', {".....",
           ".....",
           ".....",
           "XXXXX",
           ".....",
           ".....",
           "....."}},
    // full stop
    {'.', {".....",
           ".....",
           ".....",
           ".....",
           ".....",
           ".....",
           "..X.."}},
    // slash
    {'/', {"....X",
           "....X",
           "...X.",
           "..X..",
           ".X...",
           "X....",
           "X...."}},
    // 0 (slashed so it never reads as the letter O)
    {'0', {"XXXXX",
           "X...X",
           "X..XX",
           "X.X.X",
           "XX..X",
           "X...X",
           "XXXXX"}},
    // 1 (flag and short foot, unlike the letter I)
    {'1', {"..X..",
           ".XX..",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           ".XXX."}},
    // 2
    {'2', {"XXXXX",
           "....X",
           "....X",
           "XXXXX",
           "X....",
           "X....",
           "XXXXX"}},
    // 3
    {'3', {"XXXXX",
           "....X",
           "....X",
           ".XXXX",
           "....X",
           "....X",
           "XXXXX"}},
    // 4
    {'4', {"X...X",
           "X...X",
           "X...X",
           "XXXXX",
           "....X",
           "....X",
           "....X"}},
    // 5 (square corners, unlike the letter S)
    {'5', {"XXXXX",
           "X....",
           "X....",
           "XXXXX",
           "....X",
           "....X",
           "XXXXX"}},
    // 6
    {'6', {"XXXXX",
           "X....",
           "X....",
           "XXXXX",
           "X...X",
           "X...X",
           "XXXXX"}},
    // 7
    {'7', {"XXXXX",
           "....X",
           "...X.",
           "..X..",
           "..X..",
           "..X..",
           "..X.."}},
    // 8
    {'8', {"XXXXX",
           "X...X",
           "X...X",
           "XXXXX",
           "X...X",
           "X...X",
           "XXXXX"}},
    // 9
    {'9', {"XXXXX",
           "X...X",
           "X...X",
           "XXXXX",
           "....X",
           "....X",
           "XXXXX"}},
    // colon
    {':', {".....",
           ".....",
           "..X..",
           ".....",
           ".....",
           "..X..",
           "....."}},
    // semicolon
    {';', {".....",
           ".....",
           "..X..",
           ".....",
           ".....",
           "..X..",
           ".X..."}},
    // less than
    {'<', {"...X.",
           "..X..",
           ".X...",
           "X....",
           ".X...",
           "..X..",
           "...X."}},
    // equals
    {'=', {".....",
           ".....",
           "XXXXX",
           ".....",
           "XXXXX",
           ".....",
           "....."}},
    // greater than
    {'>', {".X...",
           "..X..",
           "...X.",
           "....X",
           "...X.",
           "..X..",
           ".X..."}},
    // question mark
    {'?', {"XXXXX",
           "X...X",
           "....X",
           "..XXX",
           "..X..",
           ".....",
           "..X.."}},
    // at sign
    {'@', {".XXX.",
           "X...X",
           "X.XXX",
           "X.X.X",
           "X.XXX",
           "X....",
           ".XXXX"}},
    // A (pointed top so it never reads as a square H)
    {'A', {"..X..",
           ".X.X.",
           "X...X",
           "X...X",
           "XXXXX",
           "X...X",
           "X...X"}},
    // B (rounded right side, unlike 8)
    {'B', {"XXXX.",
           "X...X",
           "X...X",
           "XXXX.",
           "X...X",
           "X...X",
           "XXXX."}},
    // C
    {'C', {"XXXXX",
           "X....",
           "X....",
           "X....",
           "X....",
           "X....",
           "XXXXX"}},
    // D (rounded right side, unlike O)
    {'D', {"XXXX.",
           "X...X",
           "X...X",
           "X...X",
           "X...X",
           "X...X",
           "XXXX."}},
    // E
    {'E', {"XXXXX",
           "X....",
           "X....",
           "XXXX.",
           "X....",
           "X....",
           "XXXXX"}},
    // F
    {'F', {"XXXXX",
           "X....",
           "X....",
           "XXXX.",
           "X....",
           "X....",
           "X...."}},
    // G
    {'G', {"XXXXX",
           "X....",
           "X....",
           "X..XX",
           "X...X",
           "X...X",
           "XXXXX"}},
    // H
    {'H', {"X...X",
           "X...X",
           "X...X",
           "XXXXX",
           "X...X",
           "X...X",
           "X...X"}},
    // I (full-width serifs top and bottom, unlike 1)
    {'I', {"XXXXX",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           "XXXXX"}},
    // J
    {'J', {"....X",
           "....X",
           "....X",
           "....X",
           "....X",
           "X...X",
           "XXXXX"}},
    // K
    {'K', {"X...X",
           "X..X.",
           "X.X..",
           "XX...",
           "X.X..",
           "X..X.",
           "X...X"}},
    // L
    {'L', {"X....",
           "X....",
           "X....",
           "X....",
           "X....",
           "X....",
           "XXXXX"}},
    // M
    {'M', {"X...X",
           "XX.XX",
           "X.X.X",
           "X.X.X",
           "X...X",
           "X...X",
           "X...X"}},
    // N
    {'N', {"X...X",
           "XX..X",
           "XX..X",
           "X.X.X",
           "X..XX",
           "X..XX",
           "X...X"}},
    // O
    {'O', {"XXXXX",
           "X...X",
           "X...X",
           "X...X",
           "X...X",
           "X...X",
           "XXXXX"}},
    // P
    {'P', {"XXXXX",
           "X...X",
           "X...X",
           "XXXXX",
           "X....",
           "X....",
           "X...."}},
    // Q
    {'Q', {"XXXXX",
           "X...X",
           "X...X",
           "X...X",
           "X.X.X",
           "X..X.",
           "XXX.X"}},
    // R
    {'R', {"XXXXX",
           "X...X",
           "X...X",
           "XXXXX",
           "X.X..",
           "X..X.",
           "X...X"}},
    // S (soft corners, unlike 5)
    {'S', {".XXXX",
           "X....",
           "X....",
           ".XXX.",
           "....X",
           "....X",
           "XXXX."}},
    // T
    {'T', {"XXXXX",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           "..X.."}},
    // U
    {'U', {"X...X",
           "X...X",
           "X...X",
           "X...X",
           "X...X",
           "X...X",
           "XXXXX"}},
    // V
    {'V', {"X...X",
           "X...X",
           "X...X",
           "X...X",
           ".X.X.",
           ".X.X.",
           "..X.."}},
    // W
    {'W', {"X...X",
           "X...X",
           "X...X",
           "X.X.X",
           "X.X.X",
           "XX.XX",
           "X...X"}},
    // X
    {'X', {"X...X",
           "X...X",
           ".X.X.",
           "..X..",
           ".X.X.",
           "X...X",
           "X...X"}},
    // Y
    {'Y', {"X...X",
           "X...X",
           ".X.X.",
           "..X..",
           "..X..",
           "..X..",
           "..X.."}},
    // Z
    {'Z', {"XXXXX",
           "....X",
           "...X.",
           "..X..",
           ".X...",
           "X....",
           "XXXXX"}},
    // left bracket
    {'[', {".XXX.",
           ".X...",
           ".X...",
           ".X...",
           ".X...",
           ".X...",
           ".XXX."}},
    // backslash
    {'\\', {"X....",
            "X....",
            ".X...",
            "..X..",
            "...X.",
            "....X",
            "....X"}},
    // right bracket
    {']', {".XXX.",
           "...X.",
           "...X.",
           "...X.",
           "...X.",
           "...X.",
           ".XXX."}},
    // caret
    {'^', {"..X..",
           ".X.X.",
           "X...X",
           ".....",
           ".....",
           ".....",
           "....."}},
    // underscore (under the baseline, so it never joins the letters beside it)
    {'_', {".....",
           ".....",
           ".....",
           ".....",
           ".....",
           ".....",
           ".....",
           "XXXXX"}},
    // grave accent
    {'`', {".X...",
           "..X..",
           ".....",
           ".....",
           ".....",
           ".....",
           "....."}},
    // a (lower case: five rows high, square like the capitals)
    {'a', {".....",
           ".....",
           "XXXX.",
           "....X",
           "XXXXX",
           "X...X",
           "XXXXX"}},
    // b
    {'b', {"X....",
           "X....",
           "XXXXX",
           "X...X",
           "X...X",
           "X...X",
           "XXXXX"}},
    // c
    {'c', {".....",
           ".....",
           "XXXXX",
           "X....",
           "X....",
           "X....",
           "XXXXX"}},
    // d
    {'d', {"....X",
           "....X",
           "XXXXX",
           "X...X",
           "X...X",
           "X...X",
           "XXXXX"}},
    // e
    {'e', {".....",
           ".....",
           "XXXXX",
           "X...X",
           "XXXXX",
           "X....",
           "XXXXX"}},
    // f
    {'f', {"..XXX",
           "..X..",
           "XXXXX",
           "..X..",
           "..X..",
           "..X..",
           "..X.."}},
    // g
    {'g', {".....",
           ".....",
           "XXXXX",
           "X...X",
           "X...X",
           "XXXXX",
           "....X",
           "XXXXX"}},
    // h
    {'h', {"X....",
           "X....",
           "XXXXX",
           "X...X",
           "X...X",
           "X...X",
           "X...X"}},
    // i
    {'i', {"..X..",
           ".....",
           ".XX..",
           "..X..",
           "..X..",
           "..X..",
           ".XXX."}},
    // j
    {'j', {"...X.",
           ".....",
           "..XX.",
           "...X.",
           "...X.",
           "...X.",
           "...X.",
           "XXXX."}},
    // k
    {'k', {"X....",
           "X....",
           "X..X.",
           "X.X..",
           "XXX..",
           "X..X.",
           "X...X"}},
    // l
    {'l', {".XX..",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           "..XXX"}},
    // m
    {'m', {".....",
           ".....",
           "XXXXX",
           "X.X.X",
           "X.X.X",
           "X.X.X",
           "X.X.X"}},
    // n
    {'n', {".....",
           ".....",
           "XXXXX",
           "X...X",
           "X...X",
           "X...X",
           "X...X"}},
    // o
    {'o', {".....",
           ".....",
           "XXXXX",
           "X...X",
           "X...X",
           "X...X",
           "XXXXX"}},
    // p
    {'p', {".....",
           ".....",
           "XXXXX",
           "X...X",
           "X...X",
           "XXXXX",
           "X....",
           "X...."}},
    // q
    {'q', {".....",
           ".....",
           "XXXXX",
           "X...X",
           "X...X",
           "XXXXX",
           "....X",
           "....X"}},
    // r
    {'r', {".....",
           ".....",
           "X.XXX",
           "XX...",
           "X....",
           "X....",
           "X...."}},
    // s (soft corners, as the capital)
    {'s', {".....",
           ".....",
           ".XXXX",
           "X....",
           ".XXX.",
           "....X",
           "XXXX."}},
    // t
    {'t', {"..X..",
           "..X..",
           "XXXXX",
           "..X..",
           "..X..",
           "..X..",
           "..XXX"}},
    // u
    {'u', {".....",
           ".....",
           "X...X",
           "X...X",
           "X...X",
           "X...X",
           "XXXXX"}},
    // v
    {'v', {".....",
           ".....",
           "X...X",
           "X...X",
           ".X.X.",
           ".X.X.",
           "..X.."}},
    // w
    {'w', {".....",
           ".....",
           "X...X",
           "X...X",
           "X.X.X",
           "X.X.X",
           "XXXXX"}},
    // x
    {'x', {".....",
           ".....",
           "X...X",
           ".X.X.",
           "..X..",
           ".X.X.",
           "X...X"}},
    // y
    {'y', {".....",
           ".....",
           "X...X",
           "X...X",
           "X...X",
           "XXXXX",
           "....X",
           "XXXXX"}},
    // z
    {'z', {".....",
           ".....",
           "XXXXX",
           "...X.",
           "..X..",
           ".X...",
           "XXXXX"}},
    // left brace
    {'{', {"...XX",
           "..X..",
           "..X..",
           ".X...",
           "..X..",
           "..X..",
           "...XX"}},
    // vertical bar
    {'|', {"..X..",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           "..X..",
           "..X.."}},
    // right brace
    {'}', {"XX...",
           "..X..",
           "..X..",
           "...X.",
           "..X..",
           "..X..",
           "XX..."}},
    // tilde
    {'~', {".....",
           ".....",
           ".X...",
           "X.X.X",
           "...X.",
           ".....",
           "....."}},
}};
// clang-format on

// Catches table typos (wrong order, ragged rows, stray characters) before they reach the image.
bool validateGlyphs() {
    for (int g = 0; g < kGlyphCount; ++g) {
        const Glyph& glyph = kGlyphs[static_cast<std::size_t>(g)];
        if (glyph.ch != static_cast<char>(kFirstCode + g)) {
            std::fprintf(stderr, "make_font: glyph table out of order at cell %d\n", g);
            return false;
        }
        // The game's sheet was drawn without tails; one there would change it.
        if (g < kGameGlyphCount && glyph.rows[kGridHeight] != nullptr) {
            std::fprintf(stderr, "make_font: glyph '%c' of the game's sheet has a tail\n",
                         glyph.ch);
            return false;
        }
        for (const char* row : glyph.rows) {
            if (row == nullptr) continue;
            if (std::strlen(row) != static_cast<std::size_t>(kGridWidth)) {
                std::fprintf(stderr, "make_font: glyph '%c' has a row of wrong width\n", glyph.ch);
                return false;
            }
            for (const char* p = row; *p != '\0'; ++p) {
                if (*p != kInk && *p != kBlank) {
                    std::fprintf(stderr, "make_font: glyph '%c' has a stray character\n", glyph.ch);
                    return false;
                }
            }
        }
    }
    return true;
}

// Image held top-down (row 0 is the top of the glyphs); flipped only when written.
class Image {
public:
    Image(int width, int height, Rgb fill)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

    void set(int x, int y, Rgb colour) { pixels_[index(x, y)] = colour; }
    Rgb get(int x, int y) const { return pixels_[index(x, y)]; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

void drawGlyph(Image& image, int cell, const Glyph& glyph) {
    const int cellLeft = cell * kCellSize;
    for (int gy = 0; gy < kGridHeight + kDescenderRows; ++gy) {
        const char* row = glyph.rows[static_cast<std::size_t>(gy)];
        for (int gx = 0; row != nullptr && gx < kGridWidth; ++gx) {
            if (row[gx] != kInk) {
                continue;
            }
            for (int sy = 0; sy < kScale; ++sy) {
                for (int sx = 0; sx < kScale; ++sx) {
                    image.set(cellLeft + kOffsetX + gx * kScale + sx, kOffsetY + gy * kScale + sy,
                              kInkColour);
                }
            }
        }
    }
}

// The first `glyphCount` glyphs, from the space on.
Image renderSheet(int glyphCount) {
    Image image(glyphCount * kCellSize, kImageHeight, kKeyColour);
    for (int g = 0; g < glyphCount; ++g) {
        drawGlyph(image, g, kGlyphs[static_cast<std::size_t>(g)]);
    }
    return image;
}

void putU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFu));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    putU16(out, value & 0xFFFFu);
    putU16(out, (value >> 16) & 0xFFFFu);
}

int paddedRowBytes(int width) {
    const int raw = width * kBytesPerPixel;
    return (raw + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
}

// Serialises as a 24-bit uncompressed bottom-up BMP, the simplest form SDL_LoadBMP accepts.
std::vector<std::uint8_t> encodeBmp(const Image& image) {
    const int rowBytes = paddedRowBytes(image.width());
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * image.height());
    const std::uint32_t fileSize = kPixelDataOffset + pixelBytes;

    std::vector<std::uint8_t> out;
    out.reserve(fileSize);

    // File header.
    out.push_back('B');
    out.push_back('M');
    putU32(out, fileSize);
    putU16(out, 0);  // reserved
    putU16(out, 0);  // reserved
    putU32(out, kPixelDataOffset);

    // BITMAPINFOHEADER; a positive height means rows are stored bottom-up.
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<std::uint32_t>(image.width()));
    putU32(out, static_cast<std::uint32_t>(image.height()));
    putU16(out, 1);  // colour planes
    putU16(out, kBitsPerPixel);
    putU32(out, kCompressionNone);
    putU32(out, pixelBytes);
    putU32(out, kPixelsPerMetre);
    putU32(out, kPixelsPerMetre);
    putU32(out, 0);  // palette colours used
    putU32(out, 0);  // important colours

    const int padding = rowBytes - image.width() * kBytesPerPixel;
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = image.get(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        out.insert(out.end(), static_cast<std::size_t>(padding), 0);
    }
    return out;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::fprintf(stderr, "make_font: cannot open '%s' for writing\n", path.c_str());
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_font: failed while writing '%s'\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 3) {
        std::fprintf(stderr, "usage: %s [game.bmp [text.bmp]]\n", argv[0]);
        return 1;
    }
    const std::string gamePath = argc >= 2 ? argv[1] : kDefaultGamePath;
    const std::string textPath = argc == 3 ? argv[2] : kDefaultTextPath;

    if (!validateGlyphs()) {
        return 1;
    }
    if (!writeFile(gamePath, encodeBmp(renderSheet(kGameGlyphCount))) ||
        !writeFile(textPath, encodeBmp(renderSheet(kGlyphCount)))) {
        return 1;
    }
    return 0;
}
