// SDL2_mixer, loaded when sound is first opened rather than with the game.
#pragma once

#include <SDL_mixer.h>

#include <string>

// Linked the usual way, SDL2_mixer brings its codecs' libraries with it,
// dozens of them, and loading those at start-up puts the first frame off by
// milliseconds. Loaded here instead, once the first frame is shown, it
// offers the few functions the game's sound uses, under their own names.
// The library stays loaded for the rest of the run: some of those codecs'
// libraries do not survive being unloaded.
class MixerLibrary {
public:
    // The library's soname, as the package installs it.
    static constexpr const char* kFileName = "libSDL2_mixer-2.0.so.0";

    // Loads the library and finds every function; true if it already was.
    // False, with a one-line reason in `error`, when either fails.
    bool Load(std::string& error);

    decltype(&::Mix_OpenAudio) OpenAudio = nullptr;
    decltype(&::Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&::Mix_AllocateChannels) AllocateChannels = nullptr;
    decltype(&::Mix_ReserveChannels) ReserveChannels = nullptr;
    decltype(&::Mix_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&::Mix_FreeChunk) FreeChunk = nullptr;
    decltype(&::Mix_PlayChannelTimed) PlayChannelTimed = nullptr;
    decltype(&::Mix_FadeInChannelTimed) FadeInChannelTimed = nullptr;
    decltype(&::Mix_FadeOutChannel) FadeOutChannel = nullptr;
    decltype(&::Mix_HaltChannel) HaltChannel = nullptr;
    decltype(&::Mix_Pause) Pause = nullptr;
    decltype(&::Mix_Resume) Resume = nullptr;
    decltype(&::Mix_MasterVolume) MasterVolume = nullptr;

private:
    template <typename Function>
    bool Find(Function& function, const char* name, std::string& error);

    void* library = nullptr;
};
