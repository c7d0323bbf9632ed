// make_icon: writes the game's application icon at every size the desktop
// asks for, as PNG files, and as one scalable SVG, all from IconDrawing.
//
// Usage: make_icon [folder]   (default: assets/icons)
// Writes <folder>/<N>x<N>/org.korvessa.Korvessa.png for each size and
// <folder>/scalable/org.korvessa.Korvessa.svg, the layout of
// share/icons/hicolor/ without its apps/ level.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "desktop/IconDrawing.h"
#include "desktop/IconImage.h"
#include "tools/PngWriter.h"

namespace {

const char kIconName[] = "org.korvessa.Korvessa";
// The sizes of the hicolor theme that desktops look up for applications.
constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Two decimals are far finer than any screen shows a 128-unit drawing.
std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::round(value * 100) / 100);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Hex(IconDrawing::Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string Svg(const IconDrawing& drawing) {
    const std::string side = Number(IconDrawing::kUnits);
    const double rim = drawing.rimWidth;
    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << side << "\" height=\"" << side
        << "\" viewBox=\"0 0 " << side << ' ' << side << "\">\n"
        << "  <rect width=\"" << side << "\" height=\"" << side << "\" rx=\""
        << Number(drawing.cornerRadius) << "\" fill=\"" << Hex(drawing.rim) << "\"/>\n"
        << "  <rect x=\"" << Number(rim) << "\" y=\"" << Number(rim) << "\" width=\""
        << Number(IconDrawing::kUnits - 2 * rim) << "\" height=\""
        << Number(IconDrawing::kUnits - 2 * rim) << "\" rx=\"" << Number(drawing.cornerRadius - rim)
        << "\" fill=\"" << Hex(drawing.screen) << "\"/>\n";
    for (const IconDrawing::Dot& star : drawing.stars) {
        svg << "  <circle cx=\"" << Number(star.centre.x) << "\" cy=\"" << Number(star.centre.y)
            << "\" r=\"" << Number(star.radius) << "\" fill=\"" << Hex(star.colour) << "\"/>\n";
    }
    for (const IconDrawing::Stroke& stroke : drawing.strokes) {
        svg << "  <" << (stroke.closed ? "polygon" : "polyline") << " points=\"";
        for (std::size_t i = 0; i < stroke.points.size(); ++i) {
            svg << (i == 0 ? "" : " ") << Number(stroke.points[i].x) << ','
                << Number(stroke.points[i].y);
        }
        svg << "\" fill=\"none\" stroke=\"" << Hex(stroke.colour) << "\" stroke-width=\""
            << Number(stroke.width) << "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n";
    }
    svg << "</svg>\n";
    return svg.str();
}

bool MakeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) std::fprintf(stderr, "make_icon: cannot create %s\n", folder.c_str());
    return !error;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [folder]\n", argv[0]);
        return 1;
    }
    const std::filesystem::path root = argc == 2 ? argv[1] : "assets/icons";

    for (int size : kSizes) {
        const std::filesystem::path folder =
            root / (std::to_string(size) + "x" + std::to_string(size));
        if (!MakeFolder(folder)) return 1;
        IconImage image(size);
        std::string error;
        if (!WritePng(folder / (std::string(kIconName) + ".png"), size, size, IconImage::kChannels,
                      image.Pixels(), error)) {
            std::fprintf(stderr, "make_icon: %s\n", error.c_str());
            return 1;
        }
    }

    const std::filesystem::path folder = root / "scalable";
    if (!MakeFolder(folder)) return 1;
    const std::filesystem::path svgPath = folder / (std::string(kIconName) + ".svg");
    std::ofstream svg(svgPath, std::ios::binary);
    svg << Svg(IconDrawing::Scalable());
    svg.flush();
    if (!svg) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", svgPath.c_str());
        return 1;
    }
    return 0;
}
