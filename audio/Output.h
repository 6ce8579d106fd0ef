// The OpenAL device and context a sound system mixes on: the default output, or a loopback device
// that a test or tool renders itself.
#pragma once

#include <functional>

namespace audio {

// Nanoseconds of the device's own clock: the time it has mixed, which is what a listener hears pass.
using Time = long long;

// A device opened with alcLoopbackOpenDeviceSOFT, mixed only when its owner renders it: stereo 32-bit
// floats at 44100 frames a second. `mix(frames)` renders that many frames wherever the owner keeps them;
// the system calls it itself only when it closes, to let its fade out be heard.
struct Loopback {
    void* device = nullptr; // ALCdevice; the system closes it when it closes
    std::function<void(int frames)> mix;
    bool feeder = true; // false: streams are topped up only by update, so the owner can let one run dry
};

class Output {
  public:
    // Opens the default device, or takes `loopback` when it has a device. False when there is no
    // device (`noDevice` then tells the two failures apart) or it gives no context.
    bool open(int monoSources, const Loopback* loopback, bool& noDevice);
    void close();

    // Makes the context the calling thread's own, whatever another system has made current since, or
    // with false lets go of it again, as a thread must before it ends.
    void useOnThisThread(bool use) const;
    Time now() const;
    Time period() const { return mixPeriod; } // one mixing period, over which OpenAL Soft ramps a change
    bool limited() const { return limiter; }  // the device limits the mix to full scale
    bool feeds() const { return !isLoopback || loopback.feeder; }
    // Returns once the device has mixed `periods` more periods (a real device is waited for, a
    // loopback one rendered), so that what was asked of it before is heard.
    void letMix(int periods);

  private:
    void* device = nullptr;  // ALCdevice
    void* context = nullptr; // ALCcontext
    bool isLoopback = false;
    Loopback loopback;
    bool hasClock = false;
    Time mixPeriod = 0;
    bool limiter = false;
};

} // namespace audio
