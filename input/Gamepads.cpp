#include "input/Gamepads.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "common/RegularFile.h"
#include "game/GameApp.h"
#include "input/Gamepad.h"

namespace {

constexpr const char* kMappingFileName = "gamecontrollerdb.txt";
constexpr const char* kPlatformField = "platform:";
constexpr std::size_t kGuidLength = 32;

std::string WithSlash(std::string folder) {
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string Trimmed(const std::string& text) {
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

// A mapping starts with the pad's GUID: 32 hexadecimal digits. SDL itself
// takes anything before the first comma, so a stray line of some other file
// would pass unnoticed without this check.
bool StartsWithGuid(const std::string& line) {
    if (line.size() <= kGuidLength || line[kGuidLength] != ',') return false;
    return std::all_of(line.begin(), line.begin() + kGuidLength,
                       [](unsigned char c) { return std::isxdigit(c) != 0; });
}

// The platform a mapping is for, or empty when it names none.
std::string PlatformOf(const std::string& line) {
    const std::size_t field = line.find(kPlatformField);
    if (field == std::string::npos) return std::string();
    const std::size_t start = field + std::strlen(kPlatformField);
    return line.substr(start, line.find(',', start) - start);
}

}  // namespace

Gamepads::Gamepads(const std::string& dataFolder, std::ostream& warningStream)
    : warnings(warningStream), started(false) {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        Warn(std::string("no game controllers: ") + SDL_GetError());
        return;
    }
    started = true;
    // SDL's built-in database is already in place. SDL read the variable when
    // it started, before our file; applying it again after the file lets the
    // player's variable win.
    if (!dataFolder.empty()) LoadMappingFile(WithSlash(dataFolder) + kMappingFileName);
    const char* config = SDL_GetHint(SDL_HINT_GAMECONTROLLERCONFIG);
    if (config != nullptr) LoadMappings(config, SDL_HINT_GAMECONTROLLERCONFIG);
    // A pad that only the file or the variable knows was not announced to us.
    OpenPlugged();
}

Gamepads::~Gamepads() {
    pads.clear();
    if (started && SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

void Gamepads::LoadMappingFile(const std::string& path) {
    std::string text, why;
    switch (regular_file::Read(path, Gamepads::kMaxMappingFileSize, text, why)) {
        case regular_file::Outcome::kRead:
            LoadMappings(text, path);
            return;
        case regular_file::Outcome::kMissing:
            return;  // the usual case: the player never needed one
        default:
            Warn(path + " " + why);
            return;
    }
}

void Gamepads::LoadMappings(const std::string& text, const std::string& source) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    int rejected = 0;
    int firstRejected = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        // A shared database carries mappings for every system; a line
        // written by hand may name none.
        const std::string platform = PlatformOf(line);
        if (!platform.empty() && SDL_strcasecmp(platform.c_str(), SDL_GetPlatform()) != 0) continue;
        if (StartsWithGuid(line) && SDL_GameControllerAddMapping(line.c_str()) >= 0) continue;
        if (rejected++ == 0) firstRejected = lineNumber;
    }
    if (rejected == 0) return;
    std::string message =
        source + ": line " + std::to_string(firstRejected) + " is not a game controller mapping";
    if (rejected > 1) message += " (" + std::to_string(rejected) + " such lines ignored)";
    Warn(message);
}

void Gamepads::OpenPlugged() {
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) Open(index);
}

void Gamepads::Open(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;  // a joystick no mapping knows
    // SDL also announces the pads present at start-up, which are open by then.
    if (Find(SDL_JoystickGetDeviceInstanceID(deviceIndex)) != nullptr) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) {
        Warn(std::string("cannot open a game controller: ") + SDL_GetError());
        return;
    }
    pads.push_back(std::make_unique<Gamepad>(controller));
}

void Gamepads::Close(SDL_JoystickID id) {
    const auto pad =
        std::find_if(pads.begin(), pads.end(),
                     [id](const std::unique_ptr<Gamepad>& p) { return p->Id() == id; });
    if (pad == pads.end()) return;
    pads.erase(pad);
    actions.push_back(Action::kPadRemoved);
}

bool Gamepads::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            Open(event.cdevice.which);  // a device index
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            Close(event.cdevice.which);  // an instance id
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            Button(event.cbutton);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (Gamepad* pad = Find(event.caxis.which)) Axis(*pad, event.caxis);
            return true;
        default:
            // Remapping, touchpads and sensors: controller events all the same.
            return event.type >= SDL_CONTROLLERAXISMOTION && event.type < SDL_FINGERDOWN;
    }
}

void Gamepads::Axis(Gamepad& pad, const SDL_ControllerAxisEvent& event) {
    const unsigned before = pad.HeldBits();
    pad.Axis(event.axis, event.value);
    const unsigned pushed = pad.HeldBits() & ~before;
    const std::pair<unsigned, SDL_GameControllerButton> directions[] = {
        {GameApp::kInputUp, SDL_CONTROLLER_BUTTON_DPAD_UP},
        {GameApp::kInputDown, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
        {GameApp::kInputLeft, SDL_CONTROLLER_BUTTON_DPAD_LEFT},
        {GameApp::kInputRight, SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
    };
    for (const auto& [bit, button] : directions) {
        if ((pushed & bit) != 0) presses.push_back(button);
    }
}

void Gamepads::Button(const SDL_ControllerButtonEvent& event) {
    Gamepad* pad = Find(event.which);
    if (pad == nullptr) return;
    const bool pressed = event.type == SDL_CONTROLLERBUTTONDOWN;
    const bool clicked = pad->Button(event.button, pressed);
    // SDL lets go of every button of a pad being unplugged, just before it
    // reports the removal; those releases are nobody's.
    if (!pad->Attached()) return;
    const auto button = static_cast<SDL_GameControllerButton>(event.button);
    if (pressed) presses.push_back(button);
    // Weapons fire on release, like their keys, so a held button fires
    // nothing; a button held through a pause fires nothing either. Firing on
    // press, the press alone fires.
    const bool fires = fireOnPress ? pressed : clicked;
    const Uint32 bit = event.button < 32 ? 1u << event.button : 0;
    if ((photonButtons & bit) != 0) {
        if (fires) actions.push_back(Action::kPhoton);
    } else if ((laserButtons & bit) != 0) {
        if (fires) actions.push_back(Action::kLaser);
    } else if (button == SDL_CONTROLLER_BUTTON_START && pressed) {
        actions.push_back(Action::kPause);
    }
}

unsigned Gamepads::HeldBits() const {
    unsigned held = 0;
    for (const auto& pad : pads) held |= pad->HeldBits();
    return held;
}

std::optional<Gamepads::Action> Gamepads::NextAction() {
    if (actions.empty()) return std::nullopt;
    const Action action = actions.front();
    actions.pop_front();
    return action;
}

void Gamepads::ReleaseAll() {
    for (const auto& pad : pads) pad->Release();
}

std::optional<SDL_GameControllerButton> Gamepads::NextPress() {
    if (presses.empty()) return std::nullopt;
    const SDL_GameControllerButton button = presses.front();
    presses.pop_front();
    return button;
}

void Gamepads::BindWeapons(Uint32 photon, Uint32 laser) {
    photonButtons = photon;
    laserButtons = laser;
}

int Gamepads::PadCount() const { return static_cast<int>(pads.size()); }

Gamepad* Gamepads::Find(SDL_JoystickID id) const {
    for (const auto& pad : pads) {
        if (pad->Id() == id) return pad.get();
    }
    return nullptr;
}

void Gamepads::Warn(const std::string& message) { warnings << "korvessa: " << message << '\n'; }
