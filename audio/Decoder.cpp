// libsndfile decoding: MP3 through mpg123 (which drops the encoder's padding), WAV and the rest.
#include "audio/Decoder.h"

#include <sys/stat.h>

namespace audio {

namespace {

// The highest rate in ordinary use. A header may claim any rate up to two billion, and a stream
// buffer holds a quarter of a second of it: such a claim would cost a buffer of gigabytes.
constexpr int MaxSampleRate = 384000;

} // namespace

std::unique_ptr<Decoder> Decoder::open(const char* path, bool mono) {
    struct stat st;
    if (path == nullptr || stat(path, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) return nullptr;

    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (file == nullptr) return nullptr;
    // MP3 decodes to floats that may overshoot full scale; as 16-bit they would wrap to the other sign.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    if (info.frames <= 0 || info.channels <= 0 || info.samplerate <= 0 || info.samplerate > MaxSampleRate) {
        sf_close(file);
        return nullptr;
    }
    std::unique_ptr<Decoder> d(new Decoder);
    d->file = file;
    d->fileChannels = info.channels;
    d->outChannels = (mono || info.channels > 2) ? 1 : info.channels;
    d->rate = info.samplerate;
    d->length = info.frames;

    // A header can promise frames that the data does not hold: insist on a first real frame.
    short probe[8];
    if (d->readOnce(probe, 1) != 1 || !d->seek(0)) return nullptr;
    return d;
}

Decoder::~Decoder() {
    if (file != nullptr) sf_close(file);
}

long long Decoder::readOnce(short* out, long long count) {
    if (fileChannels == outChannels) return sf_readf_short(file, out, count);
    mixBuffer.resize(static_cast<size_t>(count * fileChannels));
    long long got = sf_readf_short(file, mixBuffer.data(), count);
    for (long long f = 0; f < got; f++) {
        int sum = 0;
        for (int c = 0; c < fileChannels; c++)
            sum += mixBuffer[f * fileChannels + c];
        out[f] = static_cast<short>(sum / fileChannels);
    }
    return got;
}

long long Decoder::read(short* out, long long count, bool loop) {
    long long done = 0;
    bool rewound = false; // one rewind with nothing read after it means the file has gone empty
    while (done < count) {
        long long got = readOnce(out + done * outChannels, count - done);
        done += got;
        if (got > 0) rewound = false;
        if (done == count) break;
        if (!loop || rewound || !seek(0)) break;
        rewound = true;
    }
    return done;
}

bool Decoder::seek(long long frame) { return sf_seek(file, frame, SEEK_SET) == frame; }

} // namespace audio
