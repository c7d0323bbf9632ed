#include "shell/settings/Accessibility.h"

#include <iterator>

#include "common/Text.h"

namespace {

constexpr const char* kLineWidthName = "line-width";
constexpr const char* kStarsName = "stars";
constexpr const char* kClearSaucerName = "clear-saucer";
constexpr const char* kClearPhotonsName = "clear-photons";
constexpr const char* kSpeedName = "speed";
constexpr const char* kFireOnPressName = "fire-on-press";

struct LineWidth {
    const char* text;
    float factor;
};
constexpr LineWidth kLineWidths[] = {{"1", 1.0f}, {"1.5", 1.5f}, {"2", 2.0f}, {"3", 3.0f}};
// In the order of Accessibility::Stars.
constexpr const char* kStarTexts[] = {"on", "dim", "off"};
constexpr const char* kOn = "on";
constexpr const char* kOff = "off";

// "1, 1.5, 2 or 3".
std::string Alternatives(const std::vector<std::string>& texts) {
    std::string list;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) list += i + 1 == texts.size() ? " or " : ", ";
        list += texts[i];
    }
    return list;
}

std::vector<std::string> AllowedTexts(const std::string& name) {
    std::vector<std::string> texts;
    if (name == kLineWidthName) {
        for (const LineWidth& width : kLineWidths) texts.push_back(width.text);
    } else if (name == kStarsName) {
        texts.assign(std::begin(kStarTexts), std::end(kStarTexts));
    } else if (name == kSpeedName) {
        for (int percent : game_speed::kChoices) texts.push_back(std::to_string(percent));
    } else {
        texts = {kOn, kOff};
    }
    return texts;
}

}  // namespace

const std::vector<std::string>& Accessibility::Names() {
    static const std::vector<std::string> names = {kLineWidthName,    kStarsName, kClearSaucerName,
                                                   kClearPhotonsName, kSpeedName, kFireOnPressName};
    return names;
}

bool Accessibility::Set(const std::string& name, const std::string& text, std::string& error) {
    bool read = false;
    if (name == kLineWidthName) {
        read = ParseLineWidth(text, lineWidth);
    } else if (name == kStarsName) {
        read = ParseStars(text, stars);
    } else if (name == kClearSaucerName) {
        read = ParseSwitch(text, clearSaucer);
    } else if (name == kClearPhotonsName) {
        read = ParseSwitch(text, clearPhotons);
    } else if (name == kSpeedName) {
        read = ParseSpeed(text, speed);
    } else if (name == kFireOnPressName) {
        read = ParseSwitch(text, fireOnPress);
    } else {
        error = "unknown accessibility option '" + plain_text::Echoed(name) + "'";
        return false;
    }
    if (!read) {
        error = "bad " + name + " '" + plain_text::Echoed(text) +
                "': " + Alternatives(AllowedTexts(name));
    }
    return read;
}

std::string Accessibility::Get(const std::string& name) const {
    if (name == kLineWidthName) return FormatLineWidth(lineWidth);
    if (name == kStarsName) return FormatStars(stars);
    if (name == kClearSaucerName) return FormatSwitch(clearSaucer);
    if (name == kClearPhotonsName) return FormatSwitch(clearPhotons);
    if (name == kSpeedName) return FormatSpeed(speed);
    if (name == kFireOnPressName) return FormatSwitch(fireOnPress);
    return "";
}

std::string Accessibility::FormatLineWidth(float factor) {
    for (const LineWidth& width : kLineWidths) {
        if (width.factor == factor) return width.text;
    }
    return "";
}

bool Accessibility::ParseLineWidth(const std::string& text, float& factor) {
    for (const LineWidth& width : kLineWidths) {
        if (text == width.text) {
            factor = width.factor;
            return true;
        }
    }
    return false;
}

std::string Accessibility::FormatStars(Stars stars) {
    return kStarTexts[static_cast<std::size_t>(stars)];
}

bool Accessibility::ParseStars(const std::string& text, Stars& stars) {
    for (std::size_t i = 0; i < std::size(kStarTexts); ++i) {
        if (text == kStarTexts[i]) {
            stars = static_cast<Stars>(i);
            return true;
        }
    }
    return false;
}

std::string Accessibility::FormatSwitch(bool on) { return on ? kOn : kOff; }

bool Accessibility::ParseSwitch(const std::string& text, bool& on) {
    if (text != kOn && text != kOff) return false;
    on = text == kOn;
    return true;
}

std::string Accessibility::FormatSpeed(int percent) { return std::to_string(percent); }

bool Accessibility::ParseSpeed(const std::string& text, int& percent) {
    for (int choice : game_speed::kChoices) {
        if (text == std::to_string(choice)) {
            percent = choice;
            return true;
        }
    }
    return false;
}

bool Accessibility::operator==(const Accessibility& other) const {
    return lineWidth == other.lineWidth && stars == other.stars &&
           clearSaucer == other.clearSaucer && clearPhotons == other.clearPhotons &&
           speed == other.speed && fireOnPress == other.fireOnPress;
}
