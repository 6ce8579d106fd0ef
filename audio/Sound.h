// One loaded sound: decoded whole into an OpenAL buffer, or a stream that decodes as it plays.
#pragma once

#include <memory>

#include "audio/Decoder.h"
#include "audio/Result.h"

namespace audio {

// Creation and play modes; flags combine with +.
using Mode = unsigned;
constexpr Mode Default = 0x00; // two-dimensional, played once, decoded whole
constexpr Mode LoopOff = 0x01;
constexpr Mode LoopNormal = 0x02; // loops until its channel is stopped
constexpr Mode Mode2D = 0x08;
constexpr Mode Mode3D = 0x10;       // positional: mixed down to mono, panned and attenuated
constexpr Mode Software = 0x40;     // accepted for compatibility; every sound is mixed in software
constexpr Mode CreateStream = 0x80; // decoded piece by piece while it plays

class SoundSystem;

class Sound {
  public:
    Result setMode(Mode newMode);
    Result getMode(Mode& out) const;
    Result getLength(double& seconds) const;

    bool is3D() const { return (mode & Mode3D) != 0; }
    bool loops() const { return (mode & LoopNormal) != 0; }
    bool isStream() const { return decoder != nullptr; }

  private:
    friend class SoundSystem;
    static constexpr int StreamBuffers = 4;

    Mode mode = Default;
    int rate = 0;
    int channels = 0;
    long long frames = 0;
    unsigned buffer = 0;              // the whole sound; 0 for a stream
    std::unique_ptr<Decoder> decoder; // streams only
    unsigned queue[StreamBuffers] = {};
    int streamSlot = -1;        // the one channel slot playing this stream
    long long playedFrames = 0; // stream frames before the source's first queued buffer
    bool decodeEnded = false;   // a one-shot stream has read its last frame
};

} // namespace audio
