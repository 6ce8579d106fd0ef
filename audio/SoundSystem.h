// Our sound system over OpenAL Soft: logical channels, at most so many mixed voices, 3-D listener.
#pragma once

#include <chrono>
#include <deque>
#include <utility>
#include <vector>

#include "audio/Channel.h"
#include "audio/Result.h"
#include "audio/Sound.h"
#include "math/Vector3.h"

namespace audio {

constexpr int ChannelFree = -1; // playSound picks any free channel
constexpr unsigned InitNormal = 0;
constexpr int MaxLogicalChannels = 4093;

class SoundSystem;

// Allocates a system that lives until the process ends; nothing of it is ever freed, so static
// destructors that stop channels at exit always find it in one piece. The exit processing closes its
// output device before it destroys the static objects built ahead of init; their channel calls then
// find the system closed and do nothing.
Result createSoundSystem(SoundSystem** system);

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
    Result setSoftwareChannels(int count);
    Result init(int maxChannels, unsigned flags, void* extraDriverData);
    Result close(); // stops everything and closes the device; exit does it for the game
    Result set3DSettings(float dopplerScale, float distanceFactor, float rolloffScale);

    Result createSound(const char* path, Mode mode, void* extraInfo, Sound** sound);
    Result createStream(const char* path, Mode mode, void* extraInfo, Sound** sound);
    Result playSound(int channelIndex, Sound* sound, bool paused, Channel* channel);

    Result update(); // once a frame: retires ended channels, feeds streams, hands out voices
    Result set3DListenerAttributes(int listener, const Vector3* position, const Vector3* velocity,
                                   const Vector3* forward, const Vector3* up);
    Result get3DListenerAttributes(int listener, Vector3* position, Vector3* velocity, Vector3* forward,
                                   Vector3* up);

    Result getChannel(int index, Channel* channel);
    Result getChannelsPlaying(int& playing, int& real);

  private:
    friend class Channel;
    using Clock = std::chrono::steady_clock;

    struct Slot {                // one logical channel
        unsigned generation = 0; // +1 each time the slot is released
        bool inUse = false;
        Sound* sound = nullptr;
        bool loop = false;
        bool paused = true;
        float volume = 1;
        Vector3 position;
        Vector3 velocity;
        int voice = -1;    // index in voices, -1 while virtual
        double cursor = 0; // frames played, as of cursorTime, while virtual
        Clock::time_point cursorTime;
        int activeIndex = -1; // place in `active`
    };
    struct Voice {           // one of the mixer's places for a channel
        unsigned source = 0; // an OpenAL source; another takes over when this one is left to fade
        int slot = -1;       // -1 while free
    };
    struct Tail { // a source taken off its channel, fading out on its own
        unsigned source = 0;
        Clock::time_point end; // by when its fade is surely over and it can be stopped unheard
    };

    SoundSystem() = default;
    friend Result createSoundSystem(SoundSystem** system);
    static void closeAllAtExit();
    static SoundSystem* everySystem;

    // The handle's slot if it is still live; a slot whose sound has ended is released on the way.
    Slot* live(const Channel& channel);
    bool hasEnded(Slot& slot, Clock::time_point now);
    double cursorOf(const Slot& slot, Clock::time_point now);
    float audibility(const Slot& slot) const;
    void release(int index);
    void attach(int index, Clock::time_point now);
    void detach(int index, Clock::time_point now);
    void letGo(Slot& slot);
    void retireTails(Clock::time_point now);
    void applyPlacement(const Slot& slot);
    void startStream(Slot& slot, unsigned source);
    void feedStream(Slot& slot);
    bool fillStreamBuffer(Sound& sound, unsigned buffer);
    void assignVoices(Clock::time_point now);

    Result channelIsPlaying(const Channel& c, bool& playing);
    Result channelStop(const Channel& c);
    Result channelSetPaused(const Channel& c, bool paused);
    Result channelGetPaused(const Channel& c, bool& paused);
    Result channelSetVolume(const Channel& c, float volume);
    Result channelGetVolume(const Channel& c, float& volume);
    Result channelSet3DAttributes(const Channel& c, const Vector3* position, const Vector3* velocity);
    Result channelGet3DAttributes(const Channel& c, Vector3* position, Vector3* velocity);
    Result channelGetCurrentSound(const Channel& c, Sound*& sound);
    Result channelIsVirtual(const Channel& c, bool& isVirtual);

    bool initialised = false;
    bool closed = false;
    int softwareChannels = 32;
    void* device = nullptr;  // ALCdevice
    void* context = nullptr; // ALCcontext
    float dopplerScale = 1;
    float distanceFactor = 1; // world units per metre
    float rolloffScale = 1;
    Vector3 listenerPosition;
    Vector3 listenerVelocity;
    Vector3 listenerForward{0, 0, 1};
    Vector3 listenerUp{0, 1, 0};
    std::vector<Slot> slots;
    std::deque<int> freeSlots; // oldest released first, so a slot is reused late
    std::vector<int> active;   // slots in use, in no order
    std::vector<Voice> voices;
    std::vector<int> freeVoices;
    std::vector<Tail> tails;
    std::vector<unsigned> spareSources;         // for voices whose own source is left to fade
    Clock::duration tailTime{};                 // long enough for the mixer to have ramped a tail to silence
    std::vector<std::pair<float, int>> ranking; // scratch for assignVoices
    std::vector<short> streamScratch;
    std::vector<Sound*> sounds; // every sound created; like the system, never freed
    SoundSystem* nextSystem = nullptr;
};

} // namespace audio
