// Voices and tails over OpenAL sources.
#include "audio/Voices.h"

#include <AL/al.h>

namespace audio {

namespace {

// What a voice's source is left as when nothing more is to be heard from it.
void silence(ALuint source) {
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
}

} // namespace

void Voices::open(int count, Time fade) {
    fadeTime = fade;
    alGetError();
    for (int i = 0; i < count; i++) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) break; // the device gives fewer voices than asked for
        sources.push_back(source);
        freeVoices.push_back(i);
    }
    for (size_t i = 0; i < sources.size(); i++) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) break; // a voice without a spare cuts off instead of fading
        spares.push_back(source);
    }
}

void Voices::close() {
    for (const Tail& t : tails)
        spares.push_back(t.source);
    for (std::vector<unsigned>* list : {&sources, &spares}) {
        for (ALuint source : *list)
            alDeleteSources(1, &source);
        list->clear();
    }
    tails.clear();
    freeVoices.clear();
}

int Voices::take() {
    int voice = freeVoices.back();
    freeVoices.pop_back();
    return voice;
}

void Voices::free(int voice, bool fade, Time now) {
    ALuint& source = sources[voice];
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (fade && state == AL_PLAYING && !spares.empty()) {
        alSourcef(source, AL_GAIN, 0.0f);
        tails.push_back({source, now + fadeTime});
        source = spares.back();
        spares.pop_back();
    } else {
        silence(source);
    }
    freeVoices.push_back(voice);
}

void Voices::retireTails(Time now) {
    for (size_t k = 0; k < tails.size();) {
        if (tails[k].end > now) {
            k++;
            continue;
        }
        silence(tails[k].source);
        spares.push_back(tails[k].source);
        tails[k] = tails.back();
        tails.pop_back();
    }
}

void Voices::turnDown() {
    for (ALuint source : sources)
        alSourcef(source, AL_GAIN, 0.0f);
}

} // namespace audio
