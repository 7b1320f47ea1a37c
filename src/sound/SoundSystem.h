#pragma once
// SoundSystem: plays every sound of the game -- steps, cheers, the jet
// pack, the wind and the music -- by bank name.
//
// Driven by messages only; no other system holds a pointer to it. It takes
//   PlaySoundMessage (39)      start a name at bank x master x message volume
//   StopSoundMessage (40)      stop the name's tracked channel
//   StopAllSoundsMessage (41)  stop every tracked channel
//   SetAllVolumeMessage (42)   every tracked channel to bank x the given level
//                              (the master level is left as it is)
//   MusicRaise / MusicLower (43, 44)  master level up or down a 0.1 step,
//                              then every tracked channel to bank x master
//   MusicMute (45)             toggles silence; unmuting sets bank x master
//   EffectsRaise / EffectsLower (66, 67)  the effects level up or down a
//                              0.1 step, as the master level moves; it
//                              multiplies every sound the bank does not
//                              mark "Music" (the music keeps its level)
//   ButtonInputMessage (51)    "Play" (the title menu's button) sends
//                              StopAllSounds, then "Elation" and
//                              "AmbientWindLoop" looping forever
// The three are sent as messages, so every listener hears them.
// Update() has nothing to do: SDL_mixer mixes on SDL's own audio thread.
//
// It owns the mixer (the audio device), one decoded sound per bank name,
// read once at Initialize() from "Resources/Banks/SoundBank.zorvel"
// ("Sound" objects with "Name", "Stream", "Volume", "Filename"; a later
// entry of a name replaces the earlier), and one tracked channel per name:
// the channel that name last started on.
//
// Invariants and rules:
// - A new play of a name tracks the new channel; the old one plays on,
//   untracked, until it ends: no message reaches it any more.
// - A tracked channel whose sound ended is dead, even when its mixer
//   channel now plays something else (see Mixer.h); messages for the old
//   name never touch the newcomer.
// - A play with loop count -1 of a name whose tracked channel still loops
//   forever does nothing, so music and the jet pack are never doubled.
// - Only "Stream" sounds loop: the bank marks the music, the wind and the
//   flight loops as streams, and a one-shot effect asked to loop plays
//   once, as the bank's flag says.
// - The master level moves in float steps of 0.1 and is never clamped, so
//   ten lowers from 1.0 leave it just below 0 (about -7.45e-8) and further
//   lowers do nothing; volumes given to the mixer are clamped to 0-1.
// - Bad data never stops the game: a name not in the bank is warned of
//   once and plays nothing; a sound file that will not load is reported
//   once and its name plays nothing; no audio device means the dummy driver
//   and silence.

#include <cstdint>
#include <map>
#include <string>

#include "engine/GameSystem.h"
#include "sound/Mixer.h"

namespace Flurr {

// The levels a run starts with (the player's settings).
struct SoundLevels {
    float master = 1.0f;
    float effects = 1.0f;
    bool muted = false;
};

struct SoundSystemName {
    static constexpr const char* value = "SoundSystem";
};

class SoundSystem : public ISystem<SoundSystem, SoundSystemName> {
public:
    // `bankFile`: the sound bank read at Initialize.
    explicit SoundSystem(std::string bankFile, SoundLevels start = {});
    ~SoundSystem() override;

    // Opens the device, registers for the sound messages, reads the bank.
    void Initialize() override;
    void SendMessage(Message* message) override;
    void Update(float dt) override;
    // Stops everything, drops the sounds and closes the device.
    void Free() override;

    // Reads the bank; with the device closed (the data tool) only the
    // entries, no sound files.
    void LoadBank();

    // For tests and tools.
    float MasterVolume() const { return masterVolume; }
    bool Muted() const { return muted; }
    float EffectsVolume() const { return effectsVolume; }
    // Whether the bank marks the name as music.
    bool IsMusic(const std::string& name) const;
    bool IsSilent() const { return mixer.IsSilent(); }
    // Whether the bank names it, and whether its file loaded.
    bool InBank(const std::string& name) const { return sounds.count(name) != 0; }
    bool IsLoaded(const std::string& name) const;
    // The mixer channel of the name's tracked instance while it sounds,
    // else -1.
    int32_t PlayingChannel(const std::string& name) const;

private:
    struct BankSound {
        Chunk chunk; // null when the file would not load
        float volume = 1.0f;
        bool stream = false;
        // The effects level leaves it alone.
        bool music = false;
    };
    struct Tracked {
        ChannelHandle handle;
        int32_t loops = 0; // as the mixer was asked to play it
    };

    void Play(const std::string& name, float volume, int32_t loops);
    void Stop(const std::string& name);
    void StopAll();
    // Every tracked channel to bank volume x `level` (0 while muted).
    void SetAllVolumes(float level);
    // False (after one warning per name) when the bank lacks `name`.
    bool CheckKnown(const std::string& name);

    std::string bankFile;
    Mixer mixer;
    std::map<std::string, BankSound> sounds;
    std::map<std::string, Tracked> channels;
    SoundLevels start;
    float masterVolume = 1.0f;
    float effectsVolume = 1.0f;
    bool muted = false;
};

} // namespace Flurr
