// The error texts of the sound layer's result codes.
#include "audio/Result.h"

namespace audio {

const char* errorString(Result result) {
    switch (result) {
    case OK: return "No errors.";
    case ERR_INVALID_HANDLE: return "The channel handle is null, or its sound has ended or been stopped.";
    case ERR_INVALID_PARAM: return "An invalid parameter was passed to the sound system.";
    case ERR_OUTPUT_INIT: return "No sound output device could be opened.";
    case ERR_UNINITIALIZED: return "The sound system is not initialised.";
    case ERR_OUTPUT_CONTEXT: return "The sound output device could not create a mixing context.";
    case ERR_INITIALIZED: return "The sound system is already initialised.";
    case ERR_NEEDS_3D: return "The sound is not positional; create it as a 3-D sound to place it.";
    }
    return "Unknown sound system error.";
}

} // namespace audio
