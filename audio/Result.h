// Result codes of the sound layer, each with its own error text.
#pragma once

namespace audio {

// The start-up error line prints a code's number, so each keeps the number it has always had.
enum Result {
    OK = 0,
    ERR_INVALID_HANDLE = 1, // a null or stale channel handle
    ERR_INVALID_PARAM = 2,
    ERR_OUTPUT_INIT = 5,     // no sound device could be opened
    ERR_UNINITIALIZED = 6,   // the system was used before init or after close
    ERR_OUTPUT_CONTEXT = 10, // the device opened but would not give a mixing context
    ERR_INITIALIZED = 11,    // init was called twice
    ERR_NEEDS_3D = 12,       // a position was given to a two-dimensional sound
};

const char* errorString(Result result);

} // namespace audio
