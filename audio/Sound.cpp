// Mode and length queries of a loaded sound.
#include "audio/Sound.h"

namespace audio {

Result Sound::setMode(Mode newMode) {
    const Mode loopBits = LoopOff | LoopNormal;
    if ((newMode & LoopOff) && (newMode & LoopNormal)) return ERR_INVALID_PARAM;
    // Only the loop mode changes after creation; dimensionality and streaming are fixed by then.
    mode = (mode & ~loopBits) | (newMode & loopBits);
    return OK;
}

Result Sound::getMode(Mode& out) const {
    out = mode;
    return OK;
}

Result Sound::getLength(double& seconds) const {
    seconds = rate > 0 ? static_cast<double>(frames) / rate : 0;
    return OK;
}

} // namespace audio
