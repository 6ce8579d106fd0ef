// Our sound system over OpenAL Soft: logical channels, at most so many mixed voices, 3-D listener.
#pragma once

#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "audio/Channel.h"
#include "audio/Result.h"
#include "audio/Sound.h"
#include "audio/Stream.h"
#include "audio/Voices.h"
#include "math/Vector3.h"

namespace audio {

constexpr int MaxLogicalChannels = 4093;

class SoundSystem;

// Allocates a system that lives until the process ends; nothing of it is ever freed, so static
// destructors that stop channels at exit always find it in one piece. The exit processing closes its
// output device before it destroys the static objects built ahead of the system; their channel calls
// then find the system closed and do nothing.
SoundSystem* createSoundSystem();

// Channels are logical: any number up to init's maximum may play, and the most audible ones are
// given one of the mixer's voices (the "software channels"). The others are virtual: their time
// runs on, they report playing until a one-shot would have ended, and they take a voice back,
// from where they would be by then, as soon as they are among the most audible again. A sound that
// is heard never stops in one sample (streams apart): pausing, stopping and handing a voice over fade
// it out over one of the mixer's periods, and a voice that takes over part-way through fades in.
//
// Coordinates are the game's right-handed world units. The listener is oriented as a camera is:
// `forward` is its Z axis, which points out of the back of its head (it faces along -Z), and
// `up` its Y axis, so its right hand lies along up x forward.
class SoundSystem {
  public:
    struct Listener {
        Vector3 position;
        Vector3 velocity;
        Vector3 forward{0, 0, 1};
        Vector3 up{0, 1, 0};
    };
    struct ChannelCount {
        int playing = 0; // ended channels not counted, whether retired yet or not
        int real = 0;    // of those, the ones with a voice
    };

    Result setSoftwareChannels(int count); // the voices, before init
    Result init(int maxChannels);
    void close(); // stops everything and closes the device; exit does it for the game
    Result set3DSettings(float dopplerScale, float distanceFactor, float rolloffScale);

    // Null when the system is not running or the file cannot be used.
    Sound* createSound(const char* path, Mode mode);
    Sound* createStream(const char* path, Mode mode);
    // A new channel on the free slot released longest ago; null when the sound is null, every slot is
    // in use or a stream's file no longer decodes. Each channel of a stream reads the file on its own.
    Channel playSound(Sound* sound, bool paused);

    void update(); // once a frame: retires ended channels, feeds streams, hands out voices
    Result set3DListenerAttributes(const Vector3& position, const Vector3& velocity, const Vector3& forward,
                                   const Vector3& up);
    Listener get3DListenerAttributes() const { return listener; }

    Channel channel(int slot); // the handle of what a slot holds now; null out of range
    ChannelCount channelsPlaying();

  private:
    friend class Channel;

    struct Slot {                // one logical channel
        unsigned generation = 0; // +1 each time the slot is released
        bool inUse = false;
        Sound* sound = nullptr;
        std::unique_ptr<Stream> stream; // for a stream, this channel's own reading of it
        bool loop = false;
        bool paused = true;
        float volume = 1;
        Vector3 position;
        Vector3 velocity;
        int voice = -1;    // -1 while virtual
        double cursor = 0; // frames played, as of cursorTime, while virtual
        Clock::time_point cursorTime;
        int activeIndex = -1; // place in `active`
    };

    SoundSystem() = default;
    friend SoundSystem* createSoundSystem();

    // The handle's slot if it is still live; a slot whose sound has ended is released on the way.
    static Slot* live(const Channel& channel);
    // A place that is not a number would poison the ranking of voices; such a vector is refused.
    static bool finite(const Vector3& v);
    bool hasEnded(Slot& slot, Clock::time_point now);
    double cursorOf(const Slot& slot, Clock::time_point now);
    float audibility(const Slot& slot) const;
    void release(int slot);
    void setPaused(int slot, bool paused);
    void attach(int slot, Clock::time_point now);
    void detach(int slot, Clock::time_point now);
    void letGo(Slot& slot);
    void applyPlacement(const Slot& slot);
    void assignVoices(Clock::time_point now);

    bool initialised = false;
    bool closed = false;
    int softwareChannels = 32;
    void* device = nullptr;  // ALCdevice
    void* context = nullptr; // ALCcontext
    float dopplerScale = 1;
    float distanceFactor = 1; // world units per metre
    float rolloffScale = 1;
    Listener listener;
    std::vector<Slot> slots;
    std::deque<int> freeSlots; // oldest released first, so a slot is reused late
    std::vector<int> active;   // slots in use, in no order
    Voices voices;
    std::vector<std::pair<float, int>> ranking; // scratch for assignVoices
    std::vector<Sound*> sounds;                 // every sound created; like the system, never freed
};

} // namespace audio
