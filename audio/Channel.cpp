// Channel handle operations: each finds its slot through the system that issued it, if still live.
#include "audio/Channel.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>

#include "audio/SoundSystem.h"

namespace audio {

bool Channel::isPlaying() const {
    const auto lock = SoundSystem::lockOf(system);
    return SoundSystem::live(*this) != nullptr;
}

Result Channel::stop() const {
    const auto lock = SoundSystem::lockOf(system);
    if (SoundSystem::live(*this) == nullptr) return ERR_INVALID_HANDLE;
    system->release(slot);
    return OK;
}

Result Channel::setPaused(bool paused) const {
    const auto lock = SoundSystem::lockOf(system);
    if (SoundSystem::live(*this) == nullptr) return ERR_INVALID_HANDLE;
    system->setPaused(slot, paused);
    return OK;
}

Result Channel::setVolume(float volume) const {
    const auto lock = SoundSystem::lockOf(system);
    SoundSystem::Slot* s = SoundSystem::live(*this);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    s->volume = std::clamp(std::isnan(volume) ? 0.0f : volume, 0.0f, 1.0f);
    if (s->voice >= 0) alSourcef(system->voices.source(s->voice), AL_GAIN, s->volume);
    return OK;
}

Result Channel::set3DAttributes(const Vector3& position, const Vector3& velocity) const {
    const auto lock = SoundSystem::lockOf(system);
    SoundSystem::Slot* s = SoundSystem::live(*this);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    if (!s->sound->is3D()) return ERR_NEEDS_3D;
    if (!SoundSystem::finite(position) || !SoundSystem::finite(velocity)) return ERR_INVALID_PARAM;
    s->position = position;
    s->velocity = velocity;
    if (s->voice >= 0) {
        ALuint source = system->voices.source(s->voice);
        alSource3f(source, AL_POSITION, position.x, position.y, position.z);
        alSource3f(source, AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    }
    return OK;
}

bool Channel::isPaused() const {
    const auto lock = SoundSystem::lockOf(system);
    SoundSystem::Slot* s = SoundSystem::live(*this);
    return s != nullptr && s->paused;
}

float Channel::volume() const {
    const auto lock = SoundSystem::lockOf(system);
    SoundSystem::Slot* s = SoundSystem::live(*this);
    return s != nullptr ? s->volume : 0.0f;
}

Vector3 Channel::position() const {
    const auto lock = SoundSystem::lockOf(system);
    SoundSystem::Slot* s = SoundSystem::live(*this);
    return s != nullptr ? s->position : Vector3();
}

Sound* Channel::sound() const {
    const auto lock = SoundSystem::lockOf(system);
    SoundSystem::Slot* s = SoundSystem::live(*this);
    return s != nullptr ? s->sound : nullptr;
}

bool Channel::isVirtual() const {
    const auto lock = SoundSystem::lockOf(system);
    SoundSystem::Slot* s = SoundSystem::live(*this);
    return s != nullptr && s->voice < 0;
}

} // namespace audio
