#pragma once
// Mixer: the thin layer between the sound system and SDL_mixer. It opens
// the audio device (falling back to SDL's silent "dummy" driver), loads
// sound files into memory, and plays them on numbered mixer channels.
//
// SDL_mixer hands out channel numbers, and a number comes back into use as
// soon as its sound ends. A caller that kept the bare number would stop or
// turn down whatever plays there next. So a play returns a ChannelHandle:
// the number plus the channel's generation, which grows every time a sound
// starts on that channel. A handle is live only while its generation is the
// channel's current one and the sound still plays; every operation on a
// handle that is not live does nothing.
//
// Failing library calls print "Sound error! (code) text" on standard output
// and the game carries on; the codes are the SoundError values below.
//
// Only the main thread calls in; SDL_mixer mixes on SDL's audio thread and
// locks around its own state.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

struct Mix_Chunk;

namespace Flurr {

// Our codes in "Sound error! (%d) %s".
enum class SoundError : int32_t {
    InitAudio = 1,
    OpenDevice = 2,
    AllocateChannels = 3,
    InitDecoders = 4,
    Play = 5,
};

void ReportSoundError(SoundError code, const std::string& text);

struct ChunkDeleter {
    void operator()(Mix_Chunk* chunk) const;
};
// A sound decoded into memory in the device's format.
using Chunk = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

struct ChannelHandle {
    int32_t channel = -1;
    uint64_t generation = 0;
    bool Valid() const { return channel >= 0; }
};

class Mixer {
public:
    // As many channels as the game may have sounding at once.
    static constexpr int32_t kChannels = 100;
    // CD rate; every sound file of the game is made at this rate.
    static constexpr int32_t kFrequency = 44100;
    // Sample frames per device buffer: 512 at 44.1 kHz is 11.6 ms, so a
    // footstep starts within about one buffer of its message.
    static constexpr int32_t kBufferFrames = 512;

    Mixer() = default;
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Opens the device SDL picks (or the one SDL_AUDIODRIVER names). When
    // there is none, or it will not open, falls back to the dummy driver
    // and says once that the game runs silently. False only when even that
    // fails; every later call then does nothing.
    bool Open();
    // Stops everything and closes the device. Chunks must be gone first.
    void Close();
    bool IsOpen() const { return open; }
    // True when the game fell back to the dummy driver.
    bool IsSilent() const { return silent; }

    // Decodes a whole file. Null (with the library's reason in `error`)
    // when it is missing, unreadable or not a sound.
    Chunk Load(const std::string& path, std::string& error);

    // Starts `chunk` on a free channel at `volume` (0-1, clamped) so it
    // never sounds at another level first. `loops`: 0 once, -1 forever,
    // n: n more times. Returns an invalid handle when nothing started.
    ChannelHandle Play(Mix_Chunk* chunk, float volume, int32_t loops);
    bool IsLive(ChannelHandle handle) const;
    void SetVolume(ChannelHandle handle, float volume);
    void Stop(ChannelHandle handle);

    // The mixer's integer volume for a 0-1 level.
    static int32_t ToMixVolume(float volume);

private:
    std::array<uint64_t, kChannels> generations{};
    bool open = false;
    bool reportedBusy = false;
    bool silent = false;
    bool decodersStarted = false;
};

} // namespace Flurr
