// Result codes of the sound layer, each with its own error text.
#pragma once

namespace audio {

enum Result {
    OK = 0,
    ERR_INVALID_HANDLE, // a null or stale channel handle
    ERR_INVALID_PARAM,
    ERR_FILE_NOT_FOUND,
    ERR_FORMAT,        // the file could not be decoded
    ERR_OUTPUT_INIT,   // no sound device could be opened
    ERR_UNINITIALIZED, // the system was used before init or after close
    ERR_CHANNEL_ALLOC, // every logical channel is in use
    ERR_MEMORY,
    ERR_INTERNAL,
    ERR_OUTPUT_CONTEXT, // the device opened but would not give a mixing context
    ERR_INITIALIZED,    // init was called twice
    ERR_NEEDS_3D,       // a position was given to a two-dimensional sound
};

const char* errorString(Result result);

} // namespace audio
