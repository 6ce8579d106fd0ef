// One loaded sound: decoded whole into an OpenAL buffer, or a file that each of its channels streams.
#pragma once

#include <string>

namespace audio {

// Creation modes; flags combine with +.
using Mode = unsigned;
constexpr Mode Default = 0x00;    // two-dimensional, played once
constexpr Mode LoopNormal = 0x02; // loops until its channel is stopped
constexpr Mode Mode3D = 0x10;     // positional: mixed down to mono, panned and attenuated

class Sound {
  public:
    // Null when the file is missing, empty, corrupt, of a format we do not read, or too long to hold
    // whole. Its buffer goes into the current OpenAL context.
    static Sound* load(const char* path, Mode mode);
    // Null when the file cannot be decoded; each channel that plays the stream opens the file anew.
    static Sound* openStream(const char* path, Mode mode);

    void setMode(Mode newMode); // only the loop mode changes after creation
    double length() const;      // seconds; a stream's as its file's header gives them

    bool is3D() const { return (mode & Mode3D) != 0; }
    bool loops() const { return (mode & LoopNormal) != 0; }
    bool isStream() const { return !path.empty(); }

  private:
    friend class SoundSystem;

    Mode mode = Default;
    int rate = 0;
    long long frames = 0;
    unsigned buffer = 0; // the whole sound; 0 for a stream
    std::string path;    // a stream's file
};

} // namespace audio
