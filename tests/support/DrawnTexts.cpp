#include "tests/support/DrawnTexts.h"

#include <GL/gl.h>

#include <algorithm>
#include <cctype>

#include "gfx/TextFont.h"
#include "tests/gl/RecordingGL.h"

namespace testing_support {

namespace {

std::string Capitals(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::vector<std::string> DrawnTexts() {
    std::vector<std::string> texts;
    int corner = 0;
    for (const GLCall& call : recgl::Calls()) {
        if (call.name == "glBegin" && call.args[0] == GL_QUADS) {
            texts.emplace_back();
            corner = 0;
        } else if (call.name == "glTexCoord2f" && !texts.empty() && corner++ % 4 == 0) {
            const int cell = static_cast<int>(
                call.args[0] * TextFont::kBitmapWidth / TextFont::kCellSize + 0.5);
            texts.back() += static_cast<char>(TextFont::kFirstCode + cell);
        }
    }
    for (std::string& text : texts) text = Capitals(text);
    return texts;
}

bool WasDrawn(const std::string& text) {
    const std::vector<std::string> texts = DrawnTexts();
    return std::find(texts.begin(), texts.end(), Capitals(text)) != texts.end();
}

}  // namespace testing_support
