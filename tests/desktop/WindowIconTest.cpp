// The window icon as a window manager sees it: the _NET_WM_ICON property
// of a real X11 window (run under xvfb-run).
// Before Xlib, whose None and Bool macros break gtest's names.
#include <gtest/gtest.h>
// clang-format off
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
// clang-format on

#include <cstdint>
#include <vector>

#include "desktop/IconImage.h"
#include "desktop/WindowIcon.h"

namespace {

// _NET_WM_ICON: width, height, then ARGB pixels row by row, one in the low
// 32 bits of each long.
std::vector<unsigned long> ReadIconProperty(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
    Display* display = info.info.x11.display;
    Atom type;
    int format;
    unsigned long count, remaining;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, "_NET_WM_ICON", False);
    if (XGetWindowProperty(display, info.info.x11.window, property, 0, 1 << 20, False, XA_CARDINAL,
                           &type, &format, &count, &remaining, &data) != Success ||
        data == nullptr) {
        return {};
    }
    const unsigned long* values = reinterpret_cast<unsigned long*>(data);
    std::vector<unsigned long> result(values, values + (format == 32 ? count : 0));
    XFree(data);
    return result;
}

TEST(WindowIconTest, TheWindowCarriesTheDrawnIcon) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_Window* window = SDL_CreateWindow("Korvessa", SDL_WINDOWPOS_UNDEFINED,
                                          SDL_WINDOWPOS_UNDEFINED, 64, 48, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    EXPECT_TRUE(ReadIconProperty(window).empty()) << "SDL set an icon of its own";

    SetWindowIcon(window);
    const std::vector<unsigned long> icon = ReadIconProperty(window);
    SDL_DestroyWindow(window);
    SDL_Quit();

    const IconImage expected(kWindowIconPixels);
    const std::size_t pixels = static_cast<std::size_t>(expected.Size()) * expected.Size();
    ASSERT_EQ(icon.size(), 2 + pixels);
    EXPECT_EQ(icon[0], static_cast<unsigned long>(expected.Size()));
    EXPECT_EQ(icon[1], static_cast<unsigned long>(expected.Size()));
    int mismatches = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned char* p = &expected.Pixels()[i * IconImage::kChannels];
        const std::uint32_t argb = (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[0]} << 16) |
                                   (std::uint32_t{p[1]} << 8) | p[2];
        if ((icon[2 + i] & 0xFFFFFFFFu) != argb) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
