// One channel's playback of a streamed sound: its own reader of the file and its own queue of buffers.
#pragma once

#include <memory>
#include <vector>

#include "audio/Decoder.h"

namespace audio {

class Stream {
  public:
    // Null when the file no longer decodes or OpenAL has no buffers to give.
    static std::unique_ptr<Stream> open(const char* path, bool mono, bool loop);
    ~Stream(); // its buffers go with it: the source must have let go of them
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Queues the sound from `frame` on a source that holds nothing.
    void start(unsigned source, long long frame);
    // Refills the buffers the source has played; a source that ran dry has stopped, and unless the
    // channel is paused it carries on from the refill, faded in.
    void feed(unsigned source, bool paused);
    // Plays on from where the source stands; one that ran dry while paused starts again faded in.
    void resume(unsigned source);
    long long played(unsigned source) const;   // frames heard, as far as the source has got
    bool ended() const { return decodeEnded; } // the file has run out; never for a loop

  private:
    // A second of sound queued in four quarters: the feeding thread tops it up many times a second.
    static constexpr int Buffers = 4;

    Stream() = default;
    bool fill(unsigned buffer);

    std::unique_ptr<Decoder> decoder;
    bool loop = false;
    unsigned queue[Buffers] = {};
    long long playedFrames = 0; // frames before the source's first queued buffer
    bool decodeEnded = false;
    std::vector<short> scratch;
};

} // namespace audio
