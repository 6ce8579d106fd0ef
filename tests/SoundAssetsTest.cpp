// The synthesised sound files: their shapes and lengths, and loops that come round without a seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "audio/Decoder.h"

using audio::Decoder;

namespace {

std::vector<short> decodeAll(Decoder& d) {
    std::vector<short> samples(static_cast<size_t>(d.frames() * d.channels()));
    long long got = d.read(samples.data(), d.frames(), false);
    samples.resize(static_cast<size_t>(got * d.channels()));
    return samples;
}

double rms(const std::vector<short>& s, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; i++)
        sum += static_cast<double>(s[i]) * s[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0;
}

TEST(SoundAssets, EachFileHasItsShapeAndLength) {
    const struct {
        const char* file;
        int channels;
        double minSeconds, maxSeconds;
    } files[] = {
        {"background.mp3", 2, 60.0, 300.0}, {"laser.mp3", 1, 0.1, 0.6},      {"explosion.mp3", 1, 2.0, 3.0},
        {"shimmer.mp3", 1, 0.5, 10.0},      {"game_start.wav", 0, 0.5, 5.0}, {"spawn.wav", 0, 0.3, 5.0},
        {"death.mp3", 0, 0.5, 5.0},         {"winner.wav", 0, 0.5, 6.0},     {"loser.mp3", 0, 0.5, 6.0},
        {"planet.mp3", 1, 0.5, 10.0},       {"ship.mp3", 1, 0.5, 10.0},
    };
    for (const auto& f : files) {
        std::unique_ptr<Decoder> d;
        ASSERT_EQ(Decoder::open((std::string("sounds/") + f.file).c_str(), false, d), audio::OK) << f.file;
        if (f.channels) {
            EXPECT_EQ(d->channels(), f.channels) << f.file << ": positional sounds are mono";
        }
        double seconds = static_cast<double>(d->frames()) / d->sampleRate();
        EXPECT_GE(seconds, f.minSeconds) << f.file;
        EXPECT_LE(seconds, f.maxSeconds) << f.file;
        std::vector<short> all = decodeAll(*d);
        EXPECT_GT(rms(all, 0, all.size()), 1000.0) << f.file << " is not near silence";
    }
}

// The encoder pads both ends of an MP3 with silence; mpg123 drops it again by the encoder's info
// frame. If it did not, the loop would be longer than written and gap at its seam.
TEST(SoundAssets, LoopsDecodeToTheirWrittenLengthAndComeRoundWithoutGapOrClick) {
    const struct {
        const char* file;
        double seconds;
    } loops[] = {{"background.mp3", 64.0}, {"shimmer.mp3", 2.0}, {"planet.mp3", 3.0}, {"ship.mp3", 1.0}};
    for (const auto& loop : loops) {
        SCOPED_TRACE(loop.file);
        std::unique_ptr<Decoder> d;
        ASSERT_EQ(Decoder::open((std::string("sounds/") + loop.file).c_str(), false, d), audio::OK);
        const int ch = d->channels();
        const long long n = d->frames();
        EXPECT_EQ(n, std::llround(loop.seconds * d->sampleRate()));
        std::vector<short> once = decodeAll(*d);
        ASSERT_EQ(static_cast<long long>(once.size()), n * ch);

        // No gap: the last and first 20 ms carry sound like the rest.
        size_t edge = static_cast<size_t>(0.02 * d->sampleRate()) * ch;
        double overall = rms(once, 0, once.size());
        EXPECT_GT(rms(once, 0, edge), 0.2 * overall);
        EXPECT_GT(rms(once, once.size() - edge, once.size()), 0.2 * overall);

        // No click: the step from the last frame to the first is like the steps inside the file.
        for (int c = 0; c < ch; c++) {
            std::vector<int> steps;
            for (long long i = 1; i < n; i++)
                steps.push_back(std::abs(once[i * ch + c] - once[(i - 1) * ch + c]));
            std::sort(steps.begin(), steps.end());
            int typical = steps[steps.size() * 999 / 1000];
            int seam = std::abs(once[c] - once[(n - 1) * ch + c]);
            EXPECT_LE(std::abs(once[c]), typical)
                << "channel " << c << ": the first start, from silence, clicks";
            EXPECT_LE(seam, typical) << "channel " << c << ": seam step " << seam
                                     << ", 99.9% of steps within " << typical;
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

} // namespace
