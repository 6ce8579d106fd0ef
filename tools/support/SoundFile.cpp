// The one libsndfile writer of the tools.
#include "tools/support/SoundFile.h"

#include <sndfile.h>

namespace soundfile {

int formatFor(const std::string& path) {
    bool mp3 = path.size() > 4 && path.compare(path.size() - 4, 4, ".mp3") == 0;
    return mp3 ? (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III) : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
}

bool write(const std::string& path, int format, int rate, int channels, const std::vector<float>& interleaved,
           double mp3Compression) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG && mp3Compression >= 0) {
        int mode = SF_BITRATE_MODE_VARIABLE;
        sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
        sf_command(file, SFC_SET_COMPRESSION_LEVEL, &mp3Compression, sizeof mp3Compression);
    }
    const sf_count_t frames = sf_count_t(interleaved.size() / size_t(channels));
    const sf_count_t written = sf_writef_float(file, interleaved.data(), frames);
    return sf_close(file) == 0 && written == frames;
}

} // namespace soundfile
