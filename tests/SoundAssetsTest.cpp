// The synthesised sound files: their shapes, lengths and headroom, and loops that come round without a
// seam; and the decoder at full scale.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "audio/Decoder.h"
#include "support/SoundProbe.h"
#include "support/TempDir.h"

using audio::Decoder;

namespace {

double rms(const std::vector<short>& s, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; i++)
        sum += static_cast<double>(s[i]) * s[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0;
}

// The encoder pads both ends of an MP3 with silence; mpg123 drops it again by the encoder's info
// frame. If it did not, a loop would be longer than written and gap at its seam.
TEST(SoundAssets, EachFileHasItsShapeLengthAndHeadroomAndLoopsComeRoundWithoutGapOrClick) {
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
        const double overall = rms(once, 0, once.size());
        EXPECT_GT(overall, 1000.0) << "near silence";
        // At least 0.5 dB below full scale as decoded: a sound that reaches it has been clipped.
        int peak = 0;
        for (short s : once)
            peak = std::max(peak, std::abs(s));
        EXPECT_LE(peak, 30934);
        EXPECT_TRUE(n >= f.minSeconds * d->sampleRate() && n <= f.maxSeconds * d->sampleRate())
            << n << " frames";
        if (f.minSeconds < f.maxSeconds) continue;

        // No gap: the last and first 20 ms carry sound like the rest.
        size_t edge = static_cast<size_t>(0.02 * d->sampleRate()) * ch;
        EXPECT_GT(rms(once, 0, edge), 0.2 * overall);
        EXPECT_GT(rms(once, once.size() - edge, once.size()), 0.2 * overall);

        // No click: the step from the last frame to the first is like the steps inside the file.
        for (int c = 0; c < ch; c++) {
            std::vector<int> steps;
            for (long long i = 1; i < n; i++)
                steps.push_back(std::abs(once[i * ch + c] - once[(i - 1) * ch + c]));
            std::sort(steps.begin(), steps.end());
            const int typical = steps[steps.size() * 999 / 1000]; // 99.9 % of the steps are within it
            EXPECT_LE(std::abs(once[c]), typical)
                << "channel " << c << ": the first start, from silence, clicks";
            EXPECT_LE(std::abs(once[c] - once[(n - 1) * ch + c]), typical)
                << "channel " << c << ": the seam clicks";
        }

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
    const std::string path = testing_support::writeTone(dir.path(), "square.mp3", 441.0, 0.25, 0.99, true);
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
        short got[2] = {};
        ASSERT_EQ(d->read(got, 2, false), 2);
        const short expected[2][2] = {{450, -150}, {700, -400}};
        EXPECT_TRUE(got[0] == expected[channels - 2][0] && got[1] == expected[channels - 2][1])
            << channels << " channels: " << got[0] << " " << got[1];
    }
}

} // namespace
