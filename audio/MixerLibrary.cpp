#include "audio/MixerLibrary.h"

#include <SDL.h>

template <typename Function>
bool MixerLibrary::Find(Function& function, const char* name, std::string& error) {
    function = reinterpret_cast<Function>(SDL_LoadFunction(library, name));
    if (function == nullptr) error = std::string("cannot load SDL2_mixer: ") + SDL_GetError();
    return function != nullptr;
}

bool MixerLibrary::Load(std::string& error) {
    if (library != nullptr) return true;
    void* loaded = SDL_LoadObject(kFileName);
    if (loaded == nullptr) {
        error = std::string("cannot load SDL2_mixer: ") + SDL_GetError();
        return false;
    }
    library = loaded;
    const bool found =
        Find(OpenAudio, "Mix_OpenAudio", error) && Find(CloseAudio, "Mix_CloseAudio", error) &&
        Find(AllocateChannels, "Mix_AllocateChannels", error) &&
        Find(ReserveChannels, "Mix_ReserveChannels", error) &&
        Find(LoadWAV_RW, "Mix_LoadWAV_RW", error) && Find(FreeChunk, "Mix_FreeChunk", error) &&
        Find(PlayChannelTimed, "Mix_PlayChannelTimed", error) &&
        Find(FadeInChannelTimed, "Mix_FadeInChannelTimed", error) &&
        Find(FadeOutChannel, "Mix_FadeOutChannel", error) &&
        Find(HaltChannel, "Mix_HaltChannel", error) && Find(Pause, "Mix_Pause", error) &&
        Find(Resume, "Mix_Resume", error) && Find(MasterVolume, "Mix_MasterVolume", error);
    // A library without them all is of no use; it stays loaded all the same.
    if (!found) library = nullptr;
    return found;
}
