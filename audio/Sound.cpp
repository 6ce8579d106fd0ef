// Loading a sound: whole into an OpenAL buffer, or, for a stream, only far enough to know it decodes.
#include "audio/Sound.h"

#include <AL/al.h>

#include <vector>

#include "audio/Decoder.h"

namespace audio {

namespace {

// Twenty minutes at 48 kHz: a longer sound is refused, since it belongs in a stream.
constexpr long long MaxSoundFrames = 48000LL * 60 * 20;

} // namespace

Sound* Sound::load(const char* path, Mode mode) {
    std::unique_ptr<Decoder> decoder = Decoder::open(path, (mode & Mode3D) != 0);
    if (!decoder) return nullptr;
    // Read piece by piece rather than trust the header's count: a damaged one can promise anything.
    const int channels = decoder->channels();
    const long long piece = 65536;
    std::vector<short> samples;
    long long frames = 0, got = 0;
    do {
        if (frames + piece > MaxSoundFrames) return nullptr;
        samples.resize(static_cast<size_t>((frames + piece) * channels));
        got = decoder->read(samples.data() + frames * channels, piece, false);
        frames += got;
    } while (got == piece);
    if (frames <= 0) return nullptr;

    ALuint buffer = 0;
    alGetError();
    alGenBuffers(1, &buffer);
    alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, samples.data(),
                 static_cast<ALsizei>(frames * channels * sizeof(short)), decoder->sampleRate());
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return nullptr;
    }
    Sound* sound = new Sound;
    sound->mode = mode;
    sound->rate = decoder->sampleRate();
    sound->frames = frames;
    sound->buffer = buffer;
    return sound;
}

Sound* Sound::openStream(const char* path, Mode mode) {
    std::unique_ptr<Decoder> decoder = Decoder::open(path, (mode & Mode3D) != 0);
    if (!decoder) return nullptr;
    Sound* sound = new Sound;
    sound->mode = mode;
    sound->rate = decoder->sampleRate();
    sound->frames = decoder->frames();
    sound->path = path;
    return sound;
}

void Sound::setMode(Mode newMode) { mode = (mode & ~LoopNormal) | (newMode & LoopNormal); }

double Sound::length() const { return rate > 0 ? static_cast<double>(frames) / rate : 0; }

} // namespace audio
