// OpenAL Soft mixes, pans, attenuates and Doppler-shifts; this file decides which channels it hears.
#include "audio/SoundSystem.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <new>

namespace audio {

namespace {

constexpr float SpeedOfSound = 343.3f; // metres per second, scaled by the distance factor
constexpr float MinDistance = 1.0f;    // metres inside which a positional sound is not attenuated
// Twenty minutes at 48 kHz: a longer sound is refused, since it belongs in a stream.
constexpr long long MaxSoundFrames = 48000LL * 60 * 20;

// A stream keeps this many buffers of a quarter of a second queued: a second of sound, which rides
// out a frame that takes far longer than its 33 ms without running dry.
constexpr int StreamBufferDivisor = 4;

ALenum formatFor(int channels) { return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16; }

// A position that is not a number would poison the ranking of voices; such a vector is refused.
bool finite(const Vector3* v) {
    return v == nullptr || (std::isfinite(v->x) && std::isfinite(v->y) && std::isfinite(v->z));
}

} // namespace

// Every system ever created, newest first. Plain pointers: nothing here is destroyed at exit.
SoundSystem* SoundSystem::everySystem = nullptr;

// Exit closes the output devices, so that OpenAL Soft finds none left open (and has nothing to
// complain of) and a wave-writer output gets its header. The static objects destroyed after this
// handler still find their channels' system, which then refuses politely: it is never freed.
void SoundSystem::closeAllAtExit() {
    for (SoundSystem* s = everySystem; s != nullptr; s = s->nextSystem)
        if (s->initialised) s->close();
}

Result createSoundSystem(SoundSystem** system) {
    if (system == nullptr) return ERR_INVALID_PARAM;
    *system = new (std::nothrow) SoundSystem;
    if (*system == nullptr) return ERR_MEMORY;
    (*system)->nextSystem = SoundSystem::everySystem;
    SoundSystem::everySystem = *system;
    return OK;
}

Result SoundSystem::setSoftwareChannels(int count) {
    if (initialised || closed) return ERR_INITIALIZED;
    if (count < 1 || count > 255) return ERR_INVALID_PARAM;
    softwareChannels = count;
    return OK;
}

Result SoundSystem::init(int maxChannels, unsigned, void*) {
    if (initialised || closed) return ERR_INITIALIZED;
    if (maxChannels < 1 || maxChannels > MaxLogicalChannels) return ERR_INVALID_PARAM;

    ALCdevice* dev = alcOpenDevice(nullptr);
    if (dev == nullptr) return ERR_OUTPUT_INIT;
    // Twice the voices: a voice may leave its source to fade out and go on with a spare one.
    ALCint attributes[] = {ALC_MONO_SOURCES, 2 * std::max(softwareChannels, 1), 0};
    ALCcontext* ctx = alcCreateContext(dev, attributes);
    if (ctx == nullptr || alcMakeContextCurrent(ctx) != ALC_TRUE) {
        if (ctx != nullptr) alcDestroyContext(ctx);
        alcCloseDevice(dev);
        return ERR_OUTPUT_CONTEXT;
    }
    device = dev;
    context = ctx;

    alGetError();
    for (int i = 0; i < softwareChannels; i++) {
        Voice v;
        alGenSources(1, &v.source);
        if (alGetError() != AL_NO_ERROR) break; // the device gives fewer voices than asked for
        voices.push_back(v);
        freeVoices.push_back(static_cast<int>(voices.size()) - 1);
    }
    for (size_t i = 0; i < voices.size(); i++) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) break; // a voice without a spare cuts off instead of fading
        spareSources.push_back(source);
    }
    // OpenAL Soft ramps a change of gain over one mixing period, the next one or, when the change comes
    // while a period is being mixed, the one after; a third period is the margin.
    ALCint refresh = 0;
    alcGetIntegerv(dev, ALC_REFRESH, 1, &refresh);
    tailTime = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(3.0 / std::max(refresh, 10)));
    slots.resize(static_cast<size_t>(maxChannels));
    for (int i = 0; i < maxChannels; i++)
        freeSlots.push_back(i);
    active.reserve(static_cast<size_t>(maxChannels));
    ranking.reserve(static_cast<size_t>(maxChannels));

    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    initialised = true;
    static bool closesAtExit = false;
    if (!closesAtExit) closesAtExit = atexit(closeAllAtExit) == 0;
    return set3DSettings(dopplerScale, distanceFactor, rolloffScale);
}

Result SoundSystem::close() {
    if (!initialised) return ERR_UNINITIALIZED;
    while (!active.empty())
        release(active.back());
    for (const Tail& t : tails)
        spareSources.push_back(t.source);
    tails.clear();
    for (Voice& v : voices)
        alDeleteSources(1, &v.source);
    for (ALuint source : spareSources)
        alDeleteSources(1, &source);
    voices.clear();
    freeVoices.clear();
    spareSources.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context));
    alcCloseDevice(static_cast<ALCdevice*>(device));
    context = device = nullptr;
    initialised = false;
    closed = true; // the sounds' buffers went with the device: nothing can play again
    return OK;
}

Result SoundSystem::set3DSettings(float doppler, float factor, float rolloff) {
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

Result SoundSystem::createSound(const char* path, Mode mode, void*, Sound** sound) {
    if (sound == nullptr) return ERR_INVALID_PARAM;
    *sound = nullptr;
    if (!initialised) return ERR_UNINITIALIZED;
    if (mode & CreateStream) return createStream(path, mode & ~CreateStream, nullptr, sound);

    std::unique_ptr<Decoder> decoder;
    if (Result r = Decoder::open(path, (mode & Mode3D) != 0, decoder); r != OK) return r;
    // Read piece by piece rather than trust the header's count: a damaged one can promise anything.
    const int ch = decoder->channels();
    const long long piece = 65536;
    std::vector<short> samples;
    long long frames = 0, got = 0;
    do {
        if (frames + piece > MaxSoundFrames) return ERR_MEMORY;
        samples.resize(static_cast<size_t>((frames + piece) * ch));
        got = decoder->read(samples.data() + frames * ch, piece, false);
        frames += got;
    } while (got == piece);
    if (frames <= 0) return ERR_FORMAT;

    Sound* s = new (std::nothrow) Sound;
    if (s == nullptr) return ERR_MEMORY;
    s->mode = mode;
    s->rate = decoder->sampleRate();
    s->channels = decoder->channels();
    s->frames = frames;
    alGetError();
    alGenBuffers(1, &s->buffer);
    alBufferData(s->buffer, formatFor(s->channels), samples.data(),
                 static_cast<ALsizei>(frames * s->channels * sizeof(short)), s->rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &s->buffer);
        delete s;
        return ERR_MEMORY;
    }
    sounds.push_back(s);
    *sound = s;
    return OK;
}

Result SoundSystem::createStream(const char* path, Mode mode, void*, Sound** sound) {
    if (sound == nullptr) return ERR_INVALID_PARAM;
    *sound = nullptr;
    if (!initialised) return ERR_UNINITIALIZED;

    std::unique_ptr<Decoder> decoder;
    if (Result r = Decoder::open(path, (mode & Mode3D) != 0, decoder); r != OK) return r;
    Sound* s = new (std::nothrow) Sound;
    if (s == nullptr) return ERR_MEMORY;
    s->mode = mode | CreateStream;
    s->rate = decoder->sampleRate();
    s->channels = decoder->channels();
    s->frames = decoder->frames();
    s->decoder = std::move(decoder);
    alGetError();
    alGenBuffers(Sound::StreamBuffers, s->queue);
    if (alGetError() != AL_NO_ERROR) {
        delete s;
        return ERR_MEMORY;
    }
    sounds.push_back(s);
    *sound = s;
    return OK;
}

Result SoundSystem::playSound(int channelIndex, Sound* sound, bool paused, Channel* channel) {
    if (channel != nullptr) *channel = Channel();
    if (!initialised) return ERR_UNINITIALIZED;
    if (sound == nullptr || channelIndex != ChannelFree) return ERR_INVALID_PARAM;
    if (sound->isStream() && sound->streamSlot >= 0) release(sound->streamSlot); // one reader per file
    if (freeSlots.empty()) return ERR_CHANNEL_ALLOC;

    int index = freeSlots.front();
    freeSlots.pop_front();
    Slot& s = slots[index];
    Clock::time_point now = Clock::now();
    s.inUse = true;
    s.sound = sound;
    s.loop = sound->loops();
    s.paused = paused;
    s.volume = 1;
    s.position = Vector3();
    s.velocity = Vector3();
    s.voice = -1;
    s.cursor = 0;
    s.cursorTime = now;
    s.activeIndex = static_cast<int>(active.size());
    active.push_back(index);
    if (sound->isStream()) {
        sound->streamSlot = index;
        sound->playedFrames = 0;
        sound->decodeEnded = false;
    }
    if (!freeVoices.empty()) attach(index, now);
    if (channel != nullptr) *channel = Channel(this, index, s.generation);
    return OK;
}

Result SoundSystem::update() {
    if (!initialised) return ERR_UNINITIALIZED;
    Clock::time_point now = Clock::now();
    for (size_t k = 0; k < active.size();) {
        int index = active[k];
        Slot& s = slots[index];
        if (s.voice >= 0 && s.sound->isStream()) feedStream(s);
        if (hasEnded(s, now)) {
            release(index); // moves the last active slot into place k
            continue;
        }
        k++;
    }
    retireTails(now); // first, so that their sources are spare again for this frame's hand-overs
    assignVoices(now);
    return OK;
}

Result SoundSystem::set3DListenerAttributes(int listener, const Vector3* position, const Vector3* velocity,
                                            const Vector3* forward, const Vector3* up) {
    if (!initialised) return ERR_UNINITIALIZED;
    if (listener != 0) return ERR_INVALID_PARAM;
    if (!finite(position) || !finite(velocity) || !finite(forward) || !finite(up)) return ERR_INVALID_PARAM;
    if (position != nullptr) {
        listenerPosition = *position;
        alListener3f(AL_POSITION, position->x, position->y, position->z);
    }
    if (velocity != nullptr) {
        listenerVelocity = *velocity;
        alListener3f(AL_VELOCITY, velocity->x, velocity->y, velocity->z);
    }
    if (forward != nullptr) listenerForward = *forward;
    if (up != nullptr) listenerUp = *up;
    // OpenAL wants the direction faced, which is minus the Z axis we are given.
    ALfloat orientation[6] = {-listenerForward.x, -listenerForward.y, -listenerForward.z,
                              listenerUp.x,       listenerUp.y,       listenerUp.z};
    alListenerfv(AL_ORIENTATION, orientation);
    return OK;
}

Result SoundSystem::get3DListenerAttributes(int listener, Vector3* position, Vector3* velocity,
                                            Vector3* forward, Vector3* up) {
    if (!initialised) return ERR_UNINITIALIZED;
    if (listener != 0) return ERR_INVALID_PARAM;
    if (position != nullptr) *position = listenerPosition;
    if (velocity != nullptr) *velocity = listenerVelocity;
    if (forward != nullptr) *forward = listenerForward;
    if (up != nullptr) *up = listenerUp;
    return OK;
}

Result SoundSystem::getChannel(int index, Channel* channel) {
    if (channel == nullptr) return ERR_INVALID_PARAM;
    *channel = Channel();
    if (!initialised) return ERR_UNINITIALIZED;
    if (index < 0 || index >= static_cast<int>(slots.size())) return ERR_INVALID_PARAM;
    *channel = Channel(this, index, slots[index].generation);
    return OK;
}

Result SoundSystem::getChannelsPlaying(int& playing, int& real) {
    playing = real = 0;
    if (!initialised) return ERR_UNINITIALIZED;
    Clock::time_point now = Clock::now();
    for (int index : active) {
        Slot& s = slots[index];
        if (hasEnded(s, now)) continue;
        playing++;
        if (s.voice >= 0) real++;
    }
    return OK;
}

SoundSystem::Slot* SoundSystem::live(const Channel& channel) {
    if (!initialised || channel.owner() != this) return nullptr;
    int index = channel.slot();
    if (index < 0 || index >= static_cast<int>(slots.size())) return nullptr;
    Slot& s = slots[index];
    if (!s.inUse || s.generation != channel.serial()) return nullptr;
    if (hasEnded(s, Clock::now())) {
        release(index);
        return nullptr;
    }
    return &s;
}

bool SoundSystem::hasEnded(Slot& s, Clock::time_point now) {
    if (s.voice >= 0) {
        ALint state = AL_INITIAL;
        alGetSourcei(voices[s.voice].source, AL_SOURCE_STATE, &state);
        if (state != AL_STOPPED) return false;
        // A stream stops when its queue runs dry; that is its end only once the file has run out.
        return !s.sound->isStream() || s.sound->decodeEnded;
    }
    return !s.loop && cursorOf(s, now) >= static_cast<double>(s.sound->frames);
}

double SoundSystem::cursorOf(const Slot& s, Clock::time_point now) {
    if (s.voice >= 0) {
        ALuint source = voices[s.voice].source;
        ALint offset = 0, state = AL_INITIAL;
        alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (s.sound->isStream()) return static_cast<double>(s.sound->playedFrames + offset);
        if (state == AL_STOPPED) return s.loop ? 0.0 : static_cast<double>(s.sound->frames);
        if (state == AL_INITIAL) return s.cursor; // not started since it took the voice
        return offset;
    }
    double cursor = s.cursor;
    if (!s.paused) cursor += std::chrono::duration<double>(now - s.cursorTime).count() * s.sound->rate;
    return cursor;
}

float SoundSystem::audibility(const Slot& s) const {
    if (!s.sound->is3D()) return s.volume;
    Vector3 d(s.position.x - listenerPosition.x, s.position.y - listenerPosition.y,
              s.position.z - listenerPosition.z);
    float distance = d.length();
    float reference = MinDistance * distanceFactor;
    if (distance <= reference) return s.volume;
    return s.volume * reference / (reference + rolloffScale * (distance - reference));
}

void SoundSystem::release(int index) {
    Slot& s = slots[index];
    if (s.voice >= 0) letGo(s);
    if (s.sound->isStream() && s.sound->streamSlot == index) s.sound->streamSlot = -1;
    int last = active.back();
    active[s.activeIndex] = last;
    slots[last].activeIndex = s.activeIndex;
    active.pop_back();
    s.activeIndex = -1;
    s.inUse = false;
    s.sound = nullptr;
    s.generation++;
    freeSlots.push_back(index);
}

void SoundSystem::attach(int index, Clock::time_point now) {
    Slot& s = slots[index];
    int voiceIndex = freeVoices.back();
    freeVoices.pop_back();
    Voice& v = voices[voiceIndex];
    double cursor = cursorOf(s, now);
    v.slot = index;
    s.voice = voiceIndex;

    Sound& sound = *s.sound;
    if (s.loop && sound.frames > 0) cursor = std::fmod(cursor, static_cast<double>(sound.frames));
    s.cursor = cursor;
    ALuint source = v.source;
    // Back to the initial state: a voice that played a sound to its end is left stopped, and a
    // stopped voice would make its new channel look ended before it began.
    alSourceRewind(source);
    alSourcei(source, AL_BUFFER, 0);
    alSourcef(source, AL_GAIN, s.volume);
    alSourcef(source, AL_PITCH, 1.0f);
    applyPlacement(s);
    if (sound.isStream()) {
        long long start = static_cast<long long>(cursor);
        if (sound.frames > 0) start %= sound.frames;
        sound.decoder->seek(start);
        sound.playedFrames = start;
        sound.decodeEnded = false;
        startStream(s, source);
    } else {
        alSourcei(source, AL_BUFFER, static_cast<ALint>(sound.buffer));
        alSourcei(source, AL_LOOPING, s.loop ? AL_TRUE : AL_FALSE);
        long long offset = static_cast<long long>(cursor);
        if (s.loop) offset %= sound.frames;
        alSourcei(source, AL_SAMPLE_OFFSET, static_cast<ALint>(std::min(offset, sound.frames - 1)));
    }
    if (!s.paused) alSourcePlay(source);
}

void SoundSystem::detach(int index, Clock::time_point now) {
    Slot& s = slots[index];
    s.cursor = cursorOf(s, now);
    s.cursorTime = now;
    letGo(s);
}

// Frees the slot's voice. Stopped in mid-sound, a source would jump to silence in one sample, a click;
// one still playing is turned down instead and left to fade out as a tail, and the voice goes on with
// a spare source. A stream's source is stopped: its buffers are refilled for the stream's next channel.
void SoundSystem::letGo(Slot& s) {
    Voice& v = voices[s.voice];
    ALint state = AL_STOPPED;
    alGetSourcei(v.source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING && !s.sound->isStream() && !spareSources.empty()) {
        alSourcef(v.source, AL_GAIN, 0.0f);
        tails.push_back({v.source, Clock::now() + tailTime});
        v.source = spareSources.back();
        spareSources.pop_back();
    } else {
        alSourceStop(v.source);
        alSourcei(v.source, AL_BUFFER, 0);
    }
    v.slot = -1;
    freeVoices.push_back(s.voice);
    s.voice = -1;
}

void SoundSystem::retireTails(Clock::time_point now) {
    for (size_t k = 0; k < tails.size();) {
        if (tails[k].end > now) {
            k++;
            continue;
        }
        alSourceStop(tails[k].source);
        alSourcei(tails[k].source, AL_BUFFER, 0);
        spareSources.push_back(tails[k].source);
        tails[k] = tails.back();
        tails.pop_back();
    }
}

void SoundSystem::applyPlacement(const Slot& s) {
    ALuint source = voices[s.voice].source;
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

void SoundSystem::startStream(Slot& s, unsigned source) {
    Sound& sound = *s.sound;
    alSourcei(source, AL_LOOPING, AL_FALSE);
    for (ALuint buffer : sound.queue) {
        if (!fillStreamBuffer(sound, buffer)) break;
        alSourceQueueBuffers(source, 1, &buffer);
    }
}

void SoundSystem::feedStream(Slot& s) {
    Sound& sound = *s.sound;
    ALuint source = voices[s.voice].source;
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        ALint bytes = 0;
        alGetBufferi(buffer, AL_SIZE, &bytes);
        sound.playedFrames += bytes / static_cast<ALint>(sound.channels * sizeof(short));
        if (fillStreamBuffer(sound, buffer)) alSourceQueueBuffers(source, 1, &buffer);
    }
    ALint state = AL_INITIAL, queued = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    // After a stall long enough to drain the queue the source has stopped: carry on from the refill.
    if (!s.paused && state == AL_STOPPED && queued > 0) alSourcePlay(source);
}

bool SoundSystem::fillStreamBuffer(Sound& sound, unsigned buffer) {
    if (sound.decodeEnded) return false;
    long long frames = sound.rate / StreamBufferDivisor;
    streamScratch.resize(static_cast<size_t>(frames * sound.channels));
    long long got = sound.decoder->read(streamScratch.data(), frames, sound.loops());
    if (got < frames) sound.decodeEnded = true;
    if (got <= 0) return false;
    alBufferData(buffer, formatFor(sound.channels), streamScratch.data(),
                 static_cast<ALsizei>(got * sound.channels * sizeof(short)), sound.rate);
    return true;
}

void SoundSystem::assignVoices(Clock::time_point now) {
    size_t voiceCount = voices.size();
    if (active.size() <= voiceCount) {
        for (size_t k = 0; k < active.size(); k++)
            if (slots[active[k]].voice < 0) attach(active[k], now);
        return;
    }
    // Streams first, then the most audible; paused channels last. A channel that has a voice keeps
    // it against an equal rival, so two like sounds do not trade places every frame.
    ranking.clear();
    for (int index : active) {
        const Slot& s = slots[index];
        float key = s.paused ? -1.0f : audibility(s);
        if (s.sound->isStream())
            key = FLT_MAX;
        else if (s.voice >= 0)
            key += std::fabs(key) * 1e-4f + 1e-7f;
        ranking.emplace_back(key, index);
    }
    std::nth_element(
        ranking.begin(), ranking.begin() + static_cast<long>(voiceCount), ranking.end(),
        [](const std::pair<float, int>& a, const std::pair<float, int>& b) { return a.first > b.first; });
    for (size_t k = voiceCount; k < ranking.size(); k++)
        if (slots[ranking[k].second].voice >= 0) detach(ranking[k].second, now);
    for (size_t k = 0; k < voiceCount; k++)
        if (slots[ranking[k].second].voice < 0) attach(ranking[k].second, now);
}

Result SoundSystem::channelIsPlaying(const Channel& c, bool& playing) {
    playing = live(c) != nullptr;
    return playing ? OK : ERR_INVALID_HANDLE;
}

Result SoundSystem::channelStop(const Channel& c) {
    Slot* s = live(c);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    release(c.slot());
    return OK;
}

Result SoundSystem::channelSetPaused(const Channel& c, bool paused) {
    Slot* s = live(c);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    if (s->paused == paused) return OK;
    Clock::time_point now = Clock::now();
    s->cursor = cursorOf(*s, now);
    s->cursorTime = now;
    s->paused = paused;
    if (s->voice >= 0) {
        ALuint source = voices[s->voice].source;
        if (!paused) {
            alSourcePlay(source); // from the offset it waits at, which OpenAL Soft fades in
        } else if (s->sound->isStream()) {
            alSourcePause(source);
        } else {
            // A pause would cut: the source fades out as a tail, and the channel waits on a fresh
            // source at the offset it has reached.
            letGo(*s);
            attach(c.slot(), now);
        }
    } else if (!paused && !freeVoices.empty()) {
        attach(c.slot(), now);
    }
    return OK;
}

Result SoundSystem::channelGetPaused(const Channel& c, bool& paused) {
    Slot* s = live(c);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    paused = s->paused;
    return OK;
}

Result SoundSystem::channelSetVolume(const Channel& c, float volume) {
    Slot* s = live(c);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    s->volume = std::clamp(std::isnan(volume) ? 0.0f : volume, 0.0f, 1.0f);
    if (s->voice >= 0) alSourcef(voices[s->voice].source, AL_GAIN, s->volume);
    return OK;
}

Result SoundSystem::channelGetVolume(const Channel& c, float& volume) {
    Slot* s = live(c);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    volume = s->volume;
    return OK;
}

Result SoundSystem::channelSet3DAttributes(const Channel& c, const Vector3* position,
                                           const Vector3* velocity) {
    Slot* s = live(c);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    if (!s->sound->is3D()) return ERR_NEEDS_3D;
    if (!finite(position) || !finite(velocity)) return ERR_INVALID_PARAM;
    if (position != nullptr) s->position = *position;
    if (velocity != nullptr) s->velocity = *velocity;
    if (s->voice >= 0) {
        ALuint source = voices[s->voice].source;
        alSource3f(source, AL_POSITION, s->position.x, s->position.y, s->position.z);
        alSource3f(source, AL_VELOCITY, s->velocity.x, s->velocity.y, s->velocity.z);
    }
    return OK;
}

Result SoundSystem::channelGet3DAttributes(const Channel& c, Vector3* position, Vector3* velocity) {
    Slot* s = live(c);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    if (position != nullptr) *position = s->position;
    if (velocity != nullptr) *velocity = s->velocity;
    return OK;
}

Result SoundSystem::channelIsVirtual(const Channel& c, bool& isVirtual) {
    Slot* s = live(c);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    isVirtual = s->voice < 0;
    return OK;
}

Result SoundSystem::channelGetCurrentSound(const Channel& c, Sound*& sound) {
    Slot* s = live(c);
    if (s == nullptr) return ERR_INVALID_HANDLE;
    sound = s->sound;
    return OK;
}

} // namespace audio
