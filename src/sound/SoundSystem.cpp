#include "sound/SoundSystem.h"

#include "engine/Core.h"
#include "engine/Message.h"
#include "engine/Report.h"
#include "serialization/Serializer.h"

namespace Flurr {

namespace {
// One step of MusicRaise / MusicLower: the options menu's ten notches.
constexpr float kMusicStep = 0.1f;
} // namespace

SoundSystem::SoundSystem(std::string bankFile_, SoundLevels start_)
    : bankFile(std::move(bankFile_)), start(start_) {}

SoundSystem::~SoundSystem() {
    Free();
}

void SoundSystem::Initialize() {
    mixer.Open();
    muted = start.muted;
    masterVolume = start.master;
    effectsVolume = start.effects;
    if (Core* core = Core::Instance()) {
        for (int32_t id : {MessageId::MusicLower, MessageId::MusicRaise, MessageId::MusicMute,
                           MessageId::EffectsRaise, MessageId::EffectsLower, MessageId::PlaySound,
                           MessageId::StopSound, MessageId::StopAllSounds, MessageId::SetAllVolume,
                           MessageId::ButtonInput})
            core->RegisterForMessage(this, id);
    }
    LoadBank();
}

void SoundSystem::LoadBank() {
    if (!HasDataExtension(bankFile)) {
        Warn("the sound bank \"" + bankFile + "\" is not a data file; the game plays no sounds.");
        return;
    }
    ALoader loader(bankFile);
    if (loader.IsFileMissing()) {
        Warn("no sound bank at \"" + bankFile + "\"; the game plays no sounds.");
        return;
    }
    loader.Begin("Root");
    while (loader.Begin("Sound")) {
        std::string name, filename;
        BankSound sound;
        loader.StringField("Name", name);
        loader.BoolField("Stream", sound.stream);
        loader.BoolField("Music", sound.music);
        loader.FloatField("Volume", sound.volume);
        loader.StringField("Filename", filename);
        loader.End("Sound");

        if (mixer.IsOpen()) {
            std::string error;
            sound.chunk = mixer.Load(DataPath(filename), error);
            if (!sound.chunk)
                Warn(bankFile + ": the sound \"" + name + "\" cannot load \"" + filename + "\" (" +
                     error + "); it plays nothing.");
        }
        sounds[name] = std::move(sound);
    }
    loader.End("Sound");
    loader.End("Root");
}

void SoundSystem::Free() {
    channels.clear();
    // Chunks go before the device: freeing one halts the channels using it.
    sounds.clear();
    mixer.Close();
}

void SoundSystem::Update(float) {}

void SoundSystem::SendMessage(Message* message) {
    if (const auto* play = As<PlaySoundMessage>(message)) {
        Play(play->name, play->volume, play->loops);
        return;
    }
    if (const auto* stop = As<StopSoundMessage>(message)) {
        Stop(stop->name);
        return;
    }
    if (const auto* volume = As<SetAllVolumeMessage>(message)) {
        SetAllVolumes(volume->volume);
        return;
    }
    // Leaving the title for the game: silence, then the music and the
    // wind. Sent as messages, so whoever listens to sounds hears them.
    if (const auto* button = As<ButtonInputMessage>(message)) {
        if (button->name == "Play") {
            Core::Broadcast(StopAllSoundsMessage());
            Core::Broadcast(PlaySoundMessage("Elation", 1.0f, -1));
            Core::Broadcast(PlaySoundMessage("AmbientWindLoop", 1.0f, -1));
        }
        return;
    }
    switch (message->id) {
    case MessageId::StopAllSounds:
        StopAll();
        break;
    case MessageId::MusicRaise:
        if (masterVolume < 1.0f) {
            masterVolume += kMusicStep;
            SetAllVolumes(masterVolume);
        }
        break;
    case MessageId::MusicLower:
        if (masterVolume > 0.0f) {
            masterVolume -= kMusicStep;
            SetAllVolumes(masterVolume);
        }
        break;
    case MessageId::EffectsRaise:
        if (effectsVolume < 1.0f) {
            effectsVolume += kMusicStep;
            SetAllVolumes(masterVolume);
        }
        break;
    case MessageId::EffectsLower:
        if (effectsVolume > 0.0f) {
            effectsVolume -= kMusicStep;
            SetAllVolumes(masterVolume);
        }
        break;
    case MessageId::MusicMute:
        muted = !muted;
        SetAllVolumes(masterVolume);
        break;
    default:
        break;
    }
}

bool SoundSystem::CheckKnown(const std::string& name) {
    if (sounds.count(name) != 0)
        return true;
    // Once per name: a missing sound is usually asked for again and again.
    WarnOnce("the sound \"" + name + "\" is not in the sound bank \"" + bankFile +
             "\"; it plays nothing.");
    return false;
}

void SoundSystem::Play(const std::string& name, float volume, int32_t loops) {
    if (!CheckKnown(name))
        return;
    const BankSound& sound = sounds.at(name);
    // Only a stream loops; an effect asked to loop plays once.
    const int32_t mixerLoops = sound.stream ? (loops < 0 ? -1 : loops) : 0;
    auto tracked = channels.find(name);
    if (mixerLoops == -1 && tracked != channels.end() && tracked->second.loops == -1 &&
        mixer.IsLive(tracked->second.handle))
        return;
    if (!sound.chunk)
        return;
    const float level =
        muted ? 0.0f : sound.volume * masterVolume * volume * (sound.music ? 1.0f : effectsVolume);
    const ChannelHandle handle = mixer.Play(sound.chunk.get(), level, mixerLoops);
    // When nothing started (already reported), the previous instance stays
    // tracked, so a stop still reaches it.
    if (handle.Valid())
        channels[name] = Tracked{handle, mixerLoops};
}

void SoundSystem::Stop(const std::string& name) {
    if (!CheckKnown(name))
        return;
    auto tracked = channels.find(name);
    if (tracked != channels.end())
        mixer.Stop(tracked->second.handle);
}

void SoundSystem::StopAll() {
    for (const auto& [name, tracked] : channels)
        mixer.Stop(tracked.handle);
}

void SoundSystem::SetAllVolumes(float level) {
    for (const auto& [name, tracked] : channels) {
        auto sound = sounds.find(name);
        const float bankVolume =
            sound == sounds.end()
                ? 0.0f
                : sound->second.volume * (sound->second.music ? 1.0f : effectsVolume);
        mixer.SetVolume(tracked.handle, muted ? 0.0f : bankVolume * level);
    }
}

bool SoundSystem::IsMusic(const std::string& name) const {
    auto sound = sounds.find(name);
    return sound != sounds.end() && sound->second.music;
}

bool SoundSystem::IsLoaded(const std::string& name) const {
    auto sound = sounds.find(name);
    return sound != sounds.end() && sound->second.chunk != nullptr;
}

int32_t SoundSystem::PlayingChannel(const std::string& name) const {
    auto tracked = channels.find(name);
    if (tracked == channels.end() || !mixer.IsLive(tracked->second.handle))
        return -1;
    return tracked->second.handle.channel;
}

} // namespace Flurr
