// The texts drawn through the recording GL, read back from their glyph cells.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// One per TextFont::DrawText since recgl::Reset(), in capitals whatever
// case the cells were drawn from.
std::vector<std::string> DrawnTexts();
// Whether `text` (in any case) was drawn whole, as one DrawText.
bool WasDrawn(const std::string& text);

}  // namespace testing_support
