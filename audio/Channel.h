// A handle to one logical sound channel; safe to use after its channel has ended, been stopped or reused.
#pragma once

#include "audio/Result.h"
#include "math/Vector3.h"

namespace audio {

class SoundSystem;
class Sound;

// A copyable value, null when default-constructed. The system keeps a generation count per channel
// slot, so a handle to a slot that has since been reused for another sound is recognised as stale.
class Channel {
  public:
    Channel() = default;
    Channel(SoundSystem* system, int index, unsigned generation)
        : system(system), index(index), generation(generation) {}

    explicit operator bool() const { return system != nullptr; }
    bool operator==(const Channel& o) const {
        return system == o.system && index == o.index && generation == o.generation;
    }
    bool operator!=(const Channel& o) const { return !(*this == o); }

    Result isPlaying(bool& playing) const;
    Result stop() const;
    Result setPaused(bool paused) const;
    Result getPaused(bool& paused) const;
    Result setVolume(float volume) const; // 0 to 1
    Result getVolume(float& volume) const;
    Result set3DAttributes(const Vector3* position, const Vector3* velocity) const; // null: unchanged
    Result get3DAttributes(Vector3* position, Vector3* velocity) const;
    Result getCurrentSound(Sound*& sound) const;
    Result isVirtual(bool& isVirtual) const; // playing on, but not mixed for now

    SoundSystem* owner() const { return system; }
    int slot() const { return index; }
    unsigned serial() const { return generation; }

  private:
    SoundSystem* system = nullptr; // not owned
    int index = -1;
    unsigned generation = 0;
};

} // namespace audio
