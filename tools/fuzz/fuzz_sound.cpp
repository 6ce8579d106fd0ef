// libFuzzer harness: any bytes as a sound file, loaded whole and streamed through our sound layer,
// played for a few updates on OpenAL Soft's null output.
#include <AL/al.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/SoundSystem.h"

using namespace audio;

namespace {

SoundSystem* sounds = nullptr;
std::string soundPath;

// The game never frees a sound; a fuzzer that loads thousands must, or it runs out of memory and
// file handles. The sound object goes with delete (the system only lists it); its OpenAL buffers
// go here: every channel is stopped by now, so none is attached to a source and each left can go.
void freeEveryBuffer() {
    for (ALuint name = 1; name <= 4096; ++name)
        if (alIsBuffer(name)) alDeleteBuffers(1, &name);
}

void play(Sound* sound) {
    Channel channel = sounds->playSound(sound, true);
    if (!channel) return;
    channel.setVolume(0.4f);
    if (sound->is3D()) channel.set3DAttributes(Vector3(100, 0, -50), Vector3(0, 0, 10));
    channel.setPaused(false);
    for (int i = 0; i < 3; ++i)
        sounds->update(); // a stream is fed here, beyond its first second
    channel.stop();
    const double seconds = sound->length();
    if (!(seconds >= 0 && std::isfinite(seconds))) {
        fprintf(stderr, "a loaded sound of %g seconds\n", seconds);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    sounds = createSoundSystem();
    if (sounds->setSoftwareChannels(4) != OK || sounds->init(16) != OK) {
        fprintf(stderr, "fuzz_sound: the sound system did not start\n");
        exit(1);
    }
    const char* tmp = getenv("TMPDIR");
    soundPath = std::string(tmp ? tmp : "/tmp") + "/gravimel-fuzz-sound-" + std::to_string(getpid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = fopen(soundPath.c_str(), "wb");
    if (!f || fwrite(data, 1, size, f) != size) abort();
    fclose(f);
    // The game's own ways in: positional and plain sounds decoded whole, the looping music stream,
    // and a positional one-shot stream.
    const struct {
        bool stream;
        Mode mode;
        bool loop;
    } ways[] = {{false, Mode3D, false}, {false, Default, true}, {true, Default, true}, {true, Mode3D, false}};
    for (const auto& way : ways) {
        Sound* sound = way.stream ? sounds->createStream(soundPath.c_str(), way.mode)
                                  : sounds->createSound(soundPath.c_str(), way.mode);
        if (!sound) continue;
        if (way.loop) sound->setMode(LoopNormal);
        play(sound);
        delete sound;
    }
    freeEveryBuffer();
    return 0;
}
