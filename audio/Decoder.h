// Reads a sound file piece by piece through libsndfile, as 16-bit frames, optionally looping.
#pragma once

#include <memory>
#include <vector>

#include <sndfile.h>

namespace audio {

class Decoder {
  public:
    // mono: mix every channel of the file down to one; files of more than two channels always are.
    // Null when the file is missing, empty, corrupt or of a format libsndfile does not read.
    static std::unique_ptr<Decoder> open(const char* path, bool mono);
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    int sampleRate() const { return rate; }
    int channels() const { return outChannels; }
    long long frames() const { return length; }

    // Fills up to `count` interleaved frames and returns how many it wrote. When looping, it carries
    // on from the first frame after the last, so the output is the file repeated without a seam.
    long long read(short* out, long long count, bool loop);
    bool seek(long long frame);

  private:
    Decoder() = default;
    long long readOnce(short* out, long long count);

    SNDFILE* file = nullptr;
    int fileChannels = 0;
    int outChannels = 0;
    int rate = 0;
    long long length = 0;         // frames, as the file's header or the decoder tells
    std::vector<short> mixBuffer; // the file's own interleaved frames, before the down-mix
};

} // namespace audio
