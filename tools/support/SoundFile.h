// Writing sound files with libsndfile, for the sound generator and the fuzzing seeds.
#pragma once

#include <string>
#include <vector>

namespace soundfile {

// libsndfile's format for a file's name: MPEG layer III for ".mp3", 16-bit PCM WAV for anything else.
int formatFor(const std::string& path);

// Writes interleaved frames of the given number of channels. An MP3 is encoded at a variable bit rate
// when mp3Compression (0 best, 1 smallest) is given, at libsndfile's default otherwise. False when the
// file cannot be opened or not all of it is written; libsndfile's sf_strerror(nullptr) tells why.
bool write(const std::string& path, int format, int rate, int channels, const std::vector<float>& interleaved,
           double mp3Compression = -1);

} // namespace soundfile
