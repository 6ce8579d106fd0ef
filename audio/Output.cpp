// Opening the output: the attributes the game asks of OpenAL Soft, the device's clock and its periods.
#include "audio/Output.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <chrono>
#include <thread>
#include <vector>

namespace audio {

namespace {

constexpr int LoopbackRate = 44100;
constexpr int LoopbackPeriod = 1024; // frames: what OpenAL Soft mixes at a time on a default device

// Where the device will not limit the mix (OpenAL Soft lets its configuration overrule the context's
// request), the whole mix is turned down by the most the loudest moment of a game has been measured
// to exceed full scale, so that it is not clipped instead.
constexpr float UnlimitedGain = 0.6f;

} // namespace

bool Output::open(int monoSources, const Loopback* given, bool& noDevice) {
    isLoopback = given != nullptr && given->device != nullptr;
    if (isLoopback) loopback = *given;
    ALCdevice* dev = isLoopback ? static_cast<ALCdevice*>(loopback.device) : alcOpenDevice(nullptr);
    noDevice = dev == nullptr;
    if (noDevice) return false;
    // The limiter is OpenAL Soft's default only for some outputs; the game asks for it on all.
    std::vector<ALCint> attributes = {ALC_MONO_SOURCES, monoSources, ALC_OUTPUT_LIMITER_SOFT, ALC_TRUE};
    if (isLoopback)
        attributes.insert(attributes.end(), {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                                             ALC_FLOAT_SOFT, ALC_FREQUENCY, LoopbackRate});
    attributes.push_back(0);
    ALCcontext* ctx = alcCreateContext(dev, attributes.data());
    if (ctx == nullptr || alcMakeContextCurrent(ctx) != ALC_TRUE) {
        if (ctx != nullptr) alcDestroyContext(ctx);
        if (!isLoopback) alcCloseDevice(dev);
        return false;
    }
    device = dev;
    context = ctx;
    hasClock = alcIsExtensionPresent(dev, "ALC_SOFT_device_clock") == ALC_TRUE;
    ALCint refresh = 0, limiting = ALC_FALSE;
    if (!isLoopback) alcGetIntegerv(dev, ALC_REFRESH, 1, &refresh); // a loopback one refuses: it has no pace
    alcGetIntegerv(dev, ALC_OUTPUT_LIMITER_SOFT, 1, &limiting);
    mixPeriod =
        isLoopback || refresh <= 0 ? 1000000000LL * LoopbackPeriod / LoopbackRate : 1000000000LL / refresh;
    limiter = limiting == ALC_TRUE;
    alListenerf(AL_GAIN, limiter ? 1.0f : UnlimitedGain);
    return true;
}

void Output::close() {
    if (context == nullptr) return;
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context));
    alcCloseDevice(static_cast<ALCdevice*>(device));
    context = device = nullptr;
}

void Output::useOnThisThread(bool use) const {
    alcSetThreadContext(use ? static_cast<ALCcontext*>(context) : nullptr);
}

Time Output::now() const {
    if (hasClock) {
        ALCint64SOFT clock = 0;
        alcGetInteger64vSOFT(static_cast<ALCdevice*>(device), ALC_DEVICE_CLOCK_SOFT, 1, &clock);
        return clock;
    }
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Output::letMix(int periods) {
    if (isLoopback) {
        if (loopback.mix) loopback.mix(periods * LoopbackPeriod);
        return;
    }
    // A device that has stopped mixing is not waited for long: the caller is on its way out.
    const Time until = now() + periods * mixPeriod;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::nanoseconds(periods * mixPeriod) +
                        std::chrono::milliseconds(200);
    while (now() < until && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace audio
