// The synthesised sound files as the game decodes them: their shapes and lengths, and loops read on
// round their seam (the generator checks what is heard there); and the decoder at full scale.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "audio/Decoder.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"

using audio::Decoder;

namespace {

// The encoder pads both ends of an MP3 with silence; mpg123 drops it again by the encoder's info
// frame. If it did not, a loop would be longer than written and gap at its seam.
TEST(SoundAssets, EachFileHasItsShapeAndLengthAndLoopsReadOnRoundTheirSeam) {
    const struct {
        const char* file;
        int channels;                  // 0 where either will do; positional sounds are mono
        double minSeconds, maxSeconds; // the same for a loop: its written length
    } files[] = {
        {"background.mp3", 2, 64.0, 64.0}, {"laser.mp3", 1, 0.1, 0.6},      {"explosion.mp3", 1, 2.0, 3.0},
        {"shimmer.mp3", 1, 2.0, 2.0},      {"game_start.wav", 0, 0.5, 5.0}, {"spawn.wav", 0, 0.3, 5.0},
        {"death.mp3", 0, 0.5, 5.0},        {"winner.wav", 0, 0.5, 6.0},     {"loser.mp3", 0, 0.5, 6.0},
        {"planet.mp3", 1, 3.0, 3.0},       {"ship.mp3", 1, 1.0, 1.0},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        const std::unique_ptr<Decoder> d = Decoder::open((std::string("sounds/") + f.file).c_str(), false);
        ASSERT_TRUE(d);
        const int ch = d->channels();
        const long long n = d->frames();
        EXPECT_TRUE(f.channels == 0 || ch == f.channels) << ch << " channels";
        std::vector<short> once(static_cast<size_t>(n * ch));
        ASSERT_EQ(d->read(once.data(), n, false), n);
        EXPECT_TRUE(n >= f.minSeconds * d->sampleRate() && n <= f.maxSeconds * d->sampleRate())
            << n << " frames";
        if (f.minSeconds < f.maxSeconds) continue;

        // Played as a stream, the decoder runs on from the last frame into the first, time after time.
        ASSERT_TRUE(d->seek(0));
        std::vector<short> looped(static_cast<size_t>((2 * n + n / 2) * ch));
        ASSERT_EQ(d->read(looped.data(), 2 * n + n / 2, true), 2 * n + n / 2);
        long long mismatches = 0;
        for (size_t i = 0; i < looped.size(); i++)
            mismatches += looped[i] != once[i % once.size()];
        EXPECT_EQ(mismatches, 0);
    }
}

// A loud square wave comes out of MP3 decoding well past full scale at every edge. Read as 16 bits, those
// samples must stay at full scale of their own sign: wrapped round to the other, each is a click.
TEST(SoundDecoder, SamplesPastFullScaleSaturateInsteadOfWrapping) {
    const testing_support::TempDir dir;
    const std::string path = testing_support::writeTone(dir.path(), "square.mp3", 441.0, 0.25, 0.99,
                                                        testing_support::Wave::Square);
    testing_support::Recording exact; // libsndfile's floats, unclipped
    ASSERT_TRUE(exact.read(path));
    const std::unique_ptr<Decoder> d = Decoder::open(path.c_str(), true);
    ASSERT_TRUE(d);
    std::vector<short> got(exact.samples.size());
    ASSERT_EQ(d->read(got.data(), exact.frames(), false), exact.frames());
    long over = 0, wrong = 0;
    for (size_t i = 0; i < got.size(); i++) {
        const float x = exact.samples[i];
        const bool past = std::fabs(x) >= 1.0f;
        over += past;
        const double expected = past ? (x > 0 ? 32767 : -32768) : x * 32768.0;
        wrong += std::fabs(got[i] - expected) > 1;
    }
    EXPECT_GT(over, 1000) << "the square should overshoot on every edge";
    EXPECT_EQ(wrong, 0) << "of " << got.size() << " samples";
}

// A positional sound is played from one channel: a file of two or three is heard as their average.
TEST(SoundDecoder, ChannelsAreAveragedIntoOneForAPositionalSound) {
    const testing_support::TempDir dir;
    for (int channels : {2, 3}) {
        const std::string path = dir.file("channels" + std::to_string(channels) + ".wav");
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = channels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr);
        const short frames[2][3] = {{300, 600, 1200}, {-300, 0, -900}};
        for (const auto& frame : frames)
            ASSERT_EQ(sf_writef_short(file, frame, 1), 1);
        sf_close(file);

        const std::unique_ptr<Decoder> d = Decoder::open(path.c_str(), true);
        ASSERT_TRUE(d && d->channels() == 1);
        std::vector<short> got(2);
        ASSERT_EQ(d->read(got.data(), 2, false), 2);
        EXPECT_EQ(got, (channels == 2 ? std::vector<short>{450, -150} : std::vector<short>{700, -400}));
    }
}

} // namespace
