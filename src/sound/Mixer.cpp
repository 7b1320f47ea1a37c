#include "sound/Mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdio>

namespace Flurr {

namespace {

// Starts SDL's audio and opens the device at the game's fixed format, with
// no changes allowed, so the mixed output is exactly 16-bit stereo at
// 44.1 kHz wherever it goes.
bool TryOpenDevice(std::string& reason) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reason = SDL_GetError();
        return false;
    }
    if (Mix_OpenAudioDevice(Mixer::kFrequency, AUDIO_S16SYS, 2, Mixer::kBufferFrames, nullptr, 0) !=
        0) {
        reason = Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

} // namespace

void ReportSoundError(SoundError code, const std::string& text) {
    std::printf("Sound error! (%d) %s\n", static_cast<int>(code), text.c_str());
    std::fflush(stdout);
}

void ChunkDeleter::operator()(Mix_Chunk* chunk) const {
    Mix_FreeChunk(chunk);
}

Mixer::~Mixer() {
    Close();
}

bool Mixer::Open() {
    if (open)
        return true;
    std::string reason;
    if (!TryOpenDevice(reason)) {
        // The hint outranks SDL_AUDIODRIVER from the environment only with
        // override priority; reset it afterwards so the next open (a test,
        // a restart of the system) chooses afresh.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        std::string dummyReason;
        const bool opened = TryOpenDevice(dummyReason);
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (!opened) {
            ReportSoundError(SoundError::OpenDevice, dummyReason);
            return false;
        }
        silent = true;
        std::printf("Sound: no audio device could be opened (%s); the game runs silently.\n",
                    reason.c_str());
        std::fflush(stdout);
    }
    open = true;

    const int32_t allocated = Mix_AllocateChannels(kChannels);
    if (allocated != kChannels)
        ReportSoundError(SoundError::AllocateChannels, "got " + std::to_string(allocated) + " of " +
                                                           std::to_string(kChannels) + " channels");
    // Without the Ogg decoder every sound of the game fails to load, and
    // each says so when it does.
    if ((Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) == 0)
        ReportSoundError(SoundError::InitDecoders, Mix_GetError());
    else
        decodersStarted = true;
    generations.fill(0);
    return true;
}

void Mixer::Close() {
    if (!open)
        return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    if (decodersStarted)
        Mix_Quit();
    decodersStarted = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open = false;
    silent = false;
}

Chunk Mixer::Load(const std::string& path, std::string& error) {
    if (!open) {
        error = "no audio device is open";
        return nullptr;
    }
    Chunk chunk(Mix_LoadWAV(path.c_str()));
    if (!chunk)
        error = Mix_GetError();
    return chunk;
}

int32_t Mixer::ToMixVolume(float volume) {
    // `!(volume > 0)` also catches NaN.
    if (!(volume > 0.0f))
        return 0;
    if (volume >= 1.0f)
        return MIX_MAX_VOLUME;
    return static_cast<int32_t>(std::lround(volume * MIX_MAX_VOLUME));
}

ChannelHandle Mixer::Play(Mix_Chunk* chunk, float volume, int32_t loops) {
    if (!open || !chunk)
        return {};
    // Pick the channel ourselves so its volume is set before the sound
    // starts; only this thread starts sounds, so a free channel stays free.
    int32_t channel = -1;
    for (int32_t i = 0; i < kChannels; ++i) {
        if (Mix_Playing(i) == 0) {
            channel = i;
            break;
        }
    }
    if (channel < 0) {
        // Said once until a channel is free again: a burst of effects, or
        // a run going faster than real time, would say it for every sound.
        if (!reportedBusy)
            ReportSoundError(SoundError::Play,
                             "every one of the " + std::to_string(kChannels) + " channels is busy");
        reportedBusy = true;
        return {};
    }
    reportedBusy = false;
    Mix_Volume(channel, ToMixVolume(volume));
    if (Mix_PlayChannel(channel, chunk, loops < -1 ? -1 : loops) < 0) {
        ReportSoundError(SoundError::Play, Mix_GetError());
        return {};
    }
    return {channel, ++generations[static_cast<size_t>(channel)]};
}

bool Mixer::IsLive(ChannelHandle handle) const {
    if (!open || handle.channel < 0 || handle.channel >= kChannels)
        return false;
    return generations[static_cast<size_t>(handle.channel)] == handle.generation &&
           Mix_Playing(handle.channel) != 0;
}

void Mixer::SetVolume(ChannelHandle handle, float volume) {
    if (IsLive(handle))
        Mix_Volume(handle.channel, ToMixVolume(volume));
}

void Mixer::Stop(ChannelHandle handle) {
    if (IsLive(handle))
        Mix_HaltChannel(handle.channel);
}

} // namespace Flurr
