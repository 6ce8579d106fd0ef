// Our sound system over OpenAL Soft: logical channels, at most so many mixed voices, 3-D listener.
#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "audio/Channel.h"
#include "audio/Feeder.h"
#include "audio/Output.h"
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

// For tests and tools that decide themselves when time passes: the next system to be initialised mixes
// on this loopback device instead of opening the default output. The game never calls it.
void mixNextSystemOn(const Loopback& loopback);

// Channels are logical: any number up to init's maximum may play, and the most audible ones are
// given one of the mixer's voices (the "software channels"). The others are virtual: their time
// runs on, they report playing until a one-shot would have ended, and they take a voice back,
// from where they would be by then, as soon as they are among the most audible again. A sound that
// is heard never stops in one sample (streams apart): pausing, stopping and handing a voice over fade
// it out over one of the mixer's periods, and a voice that takes over part-way through fades in.
// Closing fades out everything that plays before it lets go of the device.
//
// Streams are kept fed by a thread of their own, so that the music plays on through a frame that
// takes seconds. Every call locks the system, so the game's thread and the feeder never meet inside it.
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
    void close(); // fades out and stops everything and closes the device; exit does it for the game
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
    Listener get3DListenerAttributes();

    Channel channel(int slot); // the handle of what a slot holds now; null out of range
    ChannelCount channelsPlaying();
    // Returns once the feeding thread has topped up every stream after the call; at once without one.
    void waitForFeed() { feeder.waitForRound(); }

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
        Time cursorTime = 0;
        int activeIndex = -1; // place in `active`
    };

    SoundSystem() = default;
    friend SoundSystem* createSoundSystem();

    // For tests and tools that decide themselves when time passes: the next system to be initialised mixes
    // on this loopback device instead of opening the default output. The game never calls it.
    void mixNextSystemOn(const Loopback& loopback);

    // The issuing system's lock, held for the whole of a handle operation; none for a null handle.
    static std::unique_lock<std::mutex> lockOf(SoundSystem* system) {
        return system != nullptr ? std::unique_lock<std::mutex>(system->mutex)
                                 : std::unique_lock<std::mutex>();
    }
    // The handle's slot if it is still live; a slot whose sound has ended is released on the way.
    static Slot* live(const Channel& channel);
    // A place that is not a number would poison the ranking of voices; such a vector is refused.
    static bool finite(const Vector3& v);
    // Virtual channels' time is the device's; these read its clock only for them.
    bool hasEnded(Slot& slot);
    double cursorOf(const Slot& slot);
    float audibility(const Slot& slot) const;
    void release(int slot);
    void setPaused(int slot, bool paused);
    void attach(int slot);
    void detach(int slot);
    void letGo(Slot& slot);
    void applyPlacement(const Slot& slot);
    void assignVoices();
    void feedStreams(); // with the lock held

    Feeder feeder;
    std::mutex mutex; // held by every call, the handles' too, and by the feeder; guards all below
    bool initialised = false;
    bool closed = false;
    int softwareChannels = 32;
    Output output;
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
