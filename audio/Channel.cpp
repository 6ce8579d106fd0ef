// Channel handle operations: each goes to the system that issued the handle, which checks it first.
#include "audio/Channel.h"

#include "audio/SoundSystem.h"

namespace audio {

Result Channel::isPlaying(bool& playing) const {
    playing = false;
    return system ? system->channelIsPlaying(*this, playing) : ERR_INVALID_HANDLE;
}

Result Channel::stop() const { return system ? system->channelStop(*this) : ERR_INVALID_HANDLE; }

Result Channel::setPaused(bool paused) const {
    return system ? system->channelSetPaused(*this, paused) : ERR_INVALID_HANDLE;
}

Result Channel::getPaused(bool& paused) const {
    paused = false;
    return system ? system->channelGetPaused(*this, paused) : ERR_INVALID_HANDLE;
}

Result Channel::setVolume(float volume) const {
    return system ? system->channelSetVolume(*this, volume) : ERR_INVALID_HANDLE;
}

Result Channel::getVolume(float& volume) const {
    volume = 0;
    return system ? system->channelGetVolume(*this, volume) : ERR_INVALID_HANDLE;
}

Result Channel::set3DAttributes(const Vector3* position, const Vector3* velocity) const {
    return system ? system->channelSet3DAttributes(*this, position, velocity) : ERR_INVALID_HANDLE;
}

Result Channel::get3DAttributes(Vector3* position, Vector3* velocity) const {
    return system ? system->channelGet3DAttributes(*this, position, velocity) : ERR_INVALID_HANDLE;
}

Result Channel::isVirtual(bool& isVirtual) const {
    isVirtual = false;
    return system ? system->channelIsVirtual(*this, isVirtual) : ERR_INVALID_HANDLE;
}

Result Channel::getCurrentSound(Sound*& sound) const {
    sound = nullptr;
    return system ? system->channelGetCurrentSound(*this, sound) : ERR_INVALID_HANDLE;
}

} // namespace audio
