// A handle to one logical sound channel; safe to use after its channel has ended, been stopped or reused.
#pragma once

#include "audio/Result.h"
#include "math/Vector3.h"

namespace audio {

class SoundSystem;
class Sound;

// A copyable value, null when default-constructed. The system keeps a generation count per channel
// slot, so a handle to a slot that has since been reused for another sound is recognised as stale:
// its commands return ERR_INVALID_HANDLE and change nothing, and its queries answer as for silence.
class Channel {
  public:
    Channel() = default;

    explicit operator bool() const { return system != nullptr; }
    bool operator==(const Channel& o) const {
        return system == o.system && slot == o.slot && generation == o.generation;
    }
    bool operator!=(const Channel& o) const { return !(*this == o); }

    bool isPlaying() const; // false once its sound has ended or it has been stopped
    Result stop() const;
    Result setPaused(bool paused) const;
    Result setVolume(float volume) const; // clamped to 0 to 1
    // Only a positional sound has a place; its velocity, still unless given, shifts its pitch.
    Result set3DAttributes(const Vector3& position, const Vector3& velocity = Vector3()) const;

    bool isPaused() const;
    float volume() const;
    Vector3 position() const;
    Sound* sound() const;
    bool isVirtual() const; // playing on, but not mixed for now

  private:
    friend class SoundSystem;
    Channel(SoundSystem* system, int slot, unsigned generation)
        : system(system), slot(slot), generation(generation) {}

    SoundSystem* system = nullptr; // the system that issued the handle; systems are never freed
    int slot = -1;
    unsigned generation = 0; // the slot's, when the handle was issued
};

} // namespace audio
