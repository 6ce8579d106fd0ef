// Streaming: a quarter of a second decoded at a time, refilled as the source plays it; a loop wraps
// inside the decoder, so it comes round without a gap.
#include "audio/Stream.h"

#include <AL/al.h>

namespace audio {

std::unique_ptr<Stream> Stream::open(const char* path, bool mono, bool loop) {
    std::unique_ptr<Stream> stream(new Stream);
    stream->decoder = Decoder::open(path, mono);
    if (!stream->decoder) return nullptr;
    stream->loop = loop;
    alGetError();
    alGenBuffers(Buffers, stream->queue);
    if (alGetError() != AL_NO_ERROR) return nullptr;
    return stream;
}

Stream::~Stream() { alDeleteBuffers(Buffers, queue); }

void Stream::start(unsigned source, long long frame) {
    decoder->seek(frame);
    playedFrames = frame;
    decodeEnded = false;
    alSourcei(source, AL_LOOPING, AL_FALSE);
    for (ALuint buffer : queue) {
        if (!fill(buffer)) break;
        alSourceQueueBuffers(source, 1, &buffer);
    }
    // Taken up part-way through, it would begin in mid-wave; from its second frame OpenAL Soft fades it in.
    if (frame > 0) alSourcei(source, AL_SAMPLE_OFFSET, 1);
}

void Stream::feed(unsigned source, bool paused) {
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        ALint bytes = 0;
        alGetBufferi(buffer, AL_SIZE, &bytes);
        playedFrames += bytes / static_cast<ALint>(decoder->channels() * sizeof(short));
        if (fill(buffer)) alSourceQueueBuffers(source, 1, &buffer);
    }
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (!paused && state == AL_STOPPED) resume(source); // it ran dry and has been refilled
}

void Stream::resume(unsigned source) {
    ALint state = AL_INITIAL, queued = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    if (queued == 0) return;
    // Run dry, it has stopped: played from the head of its queue it would start in mid-wave, a click;
    // from the second frame on, OpenAL Soft fades it in.
    if (state == AL_STOPPED) alSourcei(source, AL_SAMPLE_OFFSET, 1);
    alSourcePlay(source);
}

long long Stream::played(unsigned source) const {
    ALint offset = 0;
    alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
    return playedFrames + offset;
}

bool Stream::fill(unsigned buffer) {
    if (decodeEnded) return false;
    const int channels = decoder->channels(), rate = decoder->sampleRate();
    long long frames = rate / Buffers;
    scratch.resize(static_cast<size_t>(frames * channels));
    long long got = decoder->read(scratch.data(), frames, loop);
    if (got < frames) decodeEnded = true;
    if (got <= 0) return false;
    alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, scratch.data(),
                 static_cast<ALsizei>(got * channels * sizeof(short)), rate);
    return true;
}

} // namespace audio
