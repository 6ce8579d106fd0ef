// OpenAL Soft mixes, pans, attenuates and Doppler-shifts; this file decides which channels it hears.
#include "audio/SoundSystem.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace audio {

namespace {

constexpr float SpeedOfSound = 343.3f; // metres per second, scaled by the distance factor
constexpr float MinDistance = 1.0f;    // metres inside which a positional sound is not attenuated
// The feeder tops the streams up twenty times a second, well inside the second they hold.
constexpr std::chrono::milliseconds FeedInterval(50);

Loopback nextLoopback; // for the next init only

} // namespace

void mixNextSystemOn(const Loopback& loopback) { nextLoopback = loopback; }

SoundSystem* createSoundSystem() {
    // Every system ever created, for the exit to close the open ones. The list itself is never freed
    // either: static objects destroyed after the exit handler still find their channels' system.
    static auto* everySystem = new std::vector<SoundSystem*>;
    // Closing the output devices at exit leaves OpenAL Soft none to complain of, and gives a
    // wave-writer output its header.
    if (everySystem->empty())
        atexit([] {
            for (auto system = everySystem->rbegin(); system != everySystem->rend(); ++system)
                (*system)->close(); // the newest first: its context is the current one
        });
    everySystem->push_back(new SoundSystem);
    return everySystem->back();
}

Result SoundSystem::setSoftwareChannels(int count) {
    std::lock_guard<std::mutex> lock(mutex);
    if (initialised || closed) return ERR_INITIALIZED;
    if (count < 1 || count > 255) return ERR_INVALID_PARAM;
    softwareChannels = count;
    return OK;
}

Result SoundSystem::init(int maxChannels) {
    std::unique_lock<std::mutex> lock(mutex);
    if (initialised || closed) return ERR_INITIALIZED;
    if (maxChannels < 1 || maxChannels > MaxLogicalChannels) return ERR_INVALID_PARAM;

    const Loopback loopback = nextLoopback;
    nextLoopback = Loopback();
    bool noDevice = false;
    // Twice the voices: a voice may leave its source to fade out and go on with a spare one.
    if (!output.open(2 * softwareChannels, &loopback, noDevice))
        return noDevice ? ERR_OUTPUT_INIT : ERR_OUTPUT_CONTEXT;

    // OpenAL Soft ramps a change of gain over one mixing period, the next one or, when the change comes
    // while a period is being mixed, the one after; a third period is the margin.
    voices.open(softwareChannels, 3 * output.period());
    slots.resize(static_cast<size_t>(maxChannels));
    for (int i = 0; i < maxChannels; i++)
        freeSlots.push_back(i);
    active.reserve(static_cast<size_t>(maxChannels));
    ranking.reserve(static_cast<size_t>(maxChannels));

    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    initialised = true;
    alDopplerFactor(dopplerScale);
    alSpeedOfSound(SpeedOfSound * distanceFactor);
    if (output.feeds())
        feeder.start(
            [this] {
                std::lock_guard<std::mutex> lock(mutex);
                output.useOnThisThread(true);
                feedStreams();
                output.useOnThisThread(false);
            },
            FeedInterval);
    return OK;
}

void SoundSystem::close() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!initialised) return;
    }
    feeder.stop(); // outside the lock, which its last round may be waiting for
    std::lock_guard<std::mutex> lock(mutex);
    // Deleted while heard, a source would stop in one sample. Turned down, it falls silent over a
    // period, which the device is given to mix before anything goes.
    voices.turnDown();
    output.letMix(3);
    while (!active.empty())
        release(active.back());
    voices.close();
    output.close();
    initialised = false;
    closed = true; // the sounds' buffers went with the device: nothing can play again
}

Result SoundSystem::set3DSettings(float doppler, float factor, float rolloff) {
    std::lock_guard<std::mutex> lock(mutex);
    if (doppler < 0 || factor <= 0 || rolloff < 0) return ERR_INVALID_PARAM;
    dopplerScale = doppler;
    distanceFactor = factor;
    rolloffScale = rolloff;
    if (!initialised) return OK;
    alDopplerFactor(dopplerScale);
    alSpeedOfSound(SpeedOfSound * distanceFactor);
    for (int i : active)
        if (slots[i].voice >= 0) applyPlacement(slots[i]);
    return OK;
}

Sound* SoundSystem::createSound(const char* path, Mode mode) {
    std::lock_guard<std::mutex> lock(mutex);
    Sound* sound = initialised ? Sound::load(path, mode) : nullptr;
    if (sound != nullptr) sounds.push_back(sound);
    return sound;
}

Sound* SoundSystem::createStream(const char* path, Mode mode) {
    std::lock_guard<std::mutex> lock(mutex);
    Sound* sound = initialised ? Sound::openStream(path, mode) : nullptr;
    if (sound != nullptr) sounds.push_back(sound);
    return sound;
}

Channel SoundSystem::playSound(Sound* sound, bool paused) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!initialised || sound == nullptr || freeSlots.empty()) return Channel();
    std::unique_ptr<Stream> stream;
    if (sound->isStream()) {
        stream = Stream::open(sound->path.c_str(), sound->is3D(), sound->loops());
        if (!stream) return Channel();
    }
    int index = freeSlots.front();
    freeSlots.pop_front();
    Slot& s = slots[index];
    s.inUse = true;
    s.sound = sound;
    s.stream = std::move(stream);
    s.loop = sound->loops();
    s.paused = paused;
    s.cursorTime = output.now();
    s.activeIndex = static_cast<int>(active.size());
    active.push_back(index);
    if (voices.anyFree()) attach(index);
    return Channel(this, index, s.generation);
}

void SoundSystem::update() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!initialised) return;
    feedStreams(); // also here: a system on a loopback device may have no feeder
    for (size_t k = 0; k < active.size();) {
        int index = active[k];
        if (hasEnded(slots[index])) {
            release(index); // moves the last active slot into place k
            continue;
        }
        k++;
    }
    voices.retireTails(output.now()); // first, so that their sources are spare again for the hand-overs
    assignVoices();
}

void SoundSystem::feedStreams() {
    if (!initialised) return;
    for (int index : active) {
        Slot& s = slots[index];
        if (s.voice >= 0 && s.stream) s.stream->feed(voices.source(s.voice), s.paused);
    }
}

Result SoundSystem::set3DListenerAttributes(const Vector3& position, const Vector3& velocity,
                                            const Vector3& forward, const Vector3& up) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!initialised) return ERR_UNINITIALIZED;
    if (!finite(position) || !finite(velocity) || !finite(forward) || !finite(up)) return ERR_INVALID_PARAM;
    listener = {position, velocity, forward, up};
    alListener3f(AL_POSITION, position.x, position.y, position.z);
    alListener3f(AL_VELOCITY, velocity.x, velocity.y, velocity.z);
    // OpenAL wants the direction faced, which is minus the Z axis we are given.
    ALfloat orientation[6] = {-forward.x, -forward.y, -forward.z, up.x, up.y, up.z};
    alListenerfv(AL_ORIENTATION, orientation);
    return OK;
}

SoundSystem::Listener SoundSystem::get3DListenerAttributes() {
    std::lock_guard<std::mutex> lock(mutex);
    return listener;
}

Channel SoundSystem::channel(int index) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!initialised || index < 0 || index >= static_cast<int>(slots.size())) return Channel();
    return Channel(this, index, slots[index].generation);
}

SoundSystem::ChannelCount SoundSystem::channelsPlaying() {
    std::lock_guard<std::mutex> lock(mutex);
    ChannelCount count;
    if (!initialised) return count;
    for (int index : active) {
        Slot& s = slots[index];
        if (hasEnded(s)) continue;
        count.playing++;
        if (s.voice >= 0) count.real++;
    }
    return count;
}

bool SoundSystem::finite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

SoundSystem::Slot* SoundSystem::live(const Channel& channel) {
    SoundSystem* system = channel.system;
    if (system == nullptr || !system->initialised) return nullptr;
    Slot& s = system->slots[channel.slot];
    if (!s.inUse || s.generation != channel.generation) return nullptr;
    if (system->hasEnded(s)) {
        system->release(channel.slot);
        return nullptr;
    }
    return &s;
}

bool SoundSystem::hasEnded(Slot& s) {
    if (s.voice >= 0) {
        ALint state = AL_INITIAL;
        alGetSourcei(voices.source(s.voice), AL_SOURCE_STATE, &state);
        if (state != AL_STOPPED) return false;
        // A stream stops when its queue runs dry; that is its end only once the file has run out.
        return !s.stream || s.stream->ended();
    }
    return !s.loop && cursorOf(s) >= static_cast<double>(s.sound->frames);
}

double SoundSystem::cursorOf(const Slot& s) {
    if (s.voice >= 0) {
        ALuint source = voices.source(s.voice);
        if (s.stream) return static_cast<double>(s.stream->played(source));
        ALint offset = 0, state = AL_INITIAL;
        alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state == AL_STOPPED) return s.loop ? 0.0 : static_cast<double>(s.sound->frames);
        if (state == AL_INITIAL) return s.cursor; // not started since it took the voice
        return offset;
    }
    double cursor = s.cursor;
    if (!s.paused) cursor += static_cast<double>(output.now() - s.cursorTime) * 1e-9 * s.sound->rate;
    return cursor;
}

float SoundSystem::audibility(const Slot& s) const {
    if (!s.sound->is3D()) return s.volume;
    Vector3 d(s.position.x - listener.position.x, s.position.y - listener.position.y,
              s.position.z - listener.position.z);
    float distance = d.length();
    float reference = MinDistance * distanceFactor;
    if (distance <= reference) return s.volume;
    return s.volume * reference / (reference + rolloffScale * (distance - reference));
}

void SoundSystem::release(int index) {
    Slot& s = slots[index];
    if (s.voice >= 0) letGo(s);
    int last = active.back();
    active[s.activeIndex] = last;
    slots[last].activeIndex = s.activeIndex;
    active.pop_back();
    const unsigned generation = s.generation + 1;
    s = Slot(); // a free slot holds nothing; playSound sets only what differs
    s.generation = generation;
    freeSlots.push_back(index);
}

void SoundSystem::setPaused(int index, bool paused) {
    Slot& s = slots[index];
    if (s.paused == paused) return;
    s.cursor = cursorOf(s);
    s.cursorTime = output.now();
    s.paused = paused;
    if (s.voice >= 0) {
        ALuint source = voices.source(s.voice);
        if (!paused && s.stream) {
            s.stream->resume(source);
        } else if (!paused) {
            alSourcePlay(source); // from the offset it waits at, which OpenAL Soft fades in
        } else if (s.stream) {
            alSourcePause(source);
        } else {
            // A pause would cut: the source fades out as a tail, and the channel waits on a fresh
            // source at the offset it has reached.
            letGo(s);
            attach(index);
        }
    } else if (!paused && voices.anyFree()) {
        attach(index);
    }
}

void SoundSystem::attach(int index) {
    Slot& s = slots[index];
    double cursor = cursorOf(s);
    s.voice = voices.take();

    Sound& sound = *s.sound;
    if (s.loop && sound.frames > 0) cursor = std::fmod(cursor, static_cast<double>(sound.frames));
    s.cursor = cursor;
    ALuint source = voices.source(s.voice);
    // Back to the initial state: a voice that played a sound to its end is left stopped, and a
    // stopped voice would make its new channel look ended before it began.
    alSourceRewind(source);
    alSourcei(source, AL_BUFFER, 0);
    alSourcef(source, AL_GAIN, s.volume);
    alSourcef(source, AL_PITCH, 1.0f);
    applyPlacement(s);
    if (s.stream) {
        long long start = static_cast<long long>(cursor);
        if (sound.frames > 0) start %= sound.frames;
        s.stream->start(source, start);
    } else {
        alSourcei(source, AL_BUFFER, static_cast<ALint>(sound.buffer));
        alSourcei(source, AL_LOOPING, s.loop ? AL_TRUE : AL_FALSE);
        long long offset = static_cast<long long>(cursor);
        if (s.loop) offset %= sound.frames;
        alSourcei(source, AL_SAMPLE_OFFSET, static_cast<ALint>(std::min(offset, sound.frames - 1)));
    }
    if (!s.paused) alSourcePlay(source);
}

void SoundSystem::detach(int index) {
    Slot& s = slots[index];
    s.cursor = cursorOf(s);
    s.cursorTime = output.now();
    letGo(s);
}

// A stream's source is stopped outright rather than left to fade: its buffers go back to its stream.
void SoundSystem::letGo(Slot& s) {
    voices.free(s.voice, !s.stream, output.now());
    s.voice = -1;
}

void SoundSystem::applyPlacement(const Slot& s) {
    ALuint source = voices.source(s.voice);
    bool positional = s.sound->is3D();
    alSourcei(source, AL_SOURCE_RELATIVE, positional ? AL_FALSE : AL_TRUE);
    alSourcef(source, AL_REFERENCE_DISTANCE, MinDistance * distanceFactor);
    alSourcef(source, AL_MAX_DISTANCE, FLT_MAX);
    alSourcef(source, AL_ROLLOFF_FACTOR, positional ? rolloffScale : 0.0f);
    alSourcef(source, AL_DOPPLER_FACTOR, positional ? 1.0f : 0.0f);
    if (positional) {
        alSource3f(source, AL_POSITION, s.position.x, s.position.y, s.position.z);
        alSource3f(source, AL_VELOCITY, s.velocity.x, s.velocity.y, s.velocity.z);
    } else {
        alSource3f(source, AL_POSITION, 0, 0, 0);
        alSource3f(source, AL_VELOCITY, 0, 0, 0);
    }
}

void SoundSystem::assignVoices() {
    size_t voiceCount = static_cast<size_t>(voices.size());
    if (active.size() <= voiceCount) {
        for (size_t k = 0; k < active.size(); k++)
            if (slots[active[k]].voice < 0) attach(active[k]);
        return;
    }
    // Streams first, then the most audible; paused channels last. A channel that has a voice keeps
    // it against an equal rival, so two like sounds do not trade places every frame.
    ranking.clear();
    for (int index : active) {
        const Slot& s = slots[index];
        float key = s.paused ? -1.0f : audibility(s);
        if (s.stream)
            key = FLT_MAX;
        else if (s.voice >= 0)
            key += std::fabs(key) * 1e-4f + 1e-7f;
        ranking.emplace_back(key, index);
    }
    std::nth_element(
        ranking.begin(), ranking.begin() + static_cast<long>(voiceCount), ranking.end(),
        [](const std::pair<float, int>& a, const std::pair<float, int>& b) { return a.first > b.first; });
    for (size_t k = voiceCount; k < ranking.size(); k++)
        if (slots[ranking[k].second].voice >= 0) detach(ranking[k].second);
    for (size_t k = 0; k < voiceCount; k++)
        if (slots[ranking[k].second].voice < 0) attach(ranking[k].second);
}

} // namespace audio
