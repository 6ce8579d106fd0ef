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

double rms(const std::vector<short>& s, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; i++)
        sum += static_cast<double>(s[i]) * s[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0;
}

// The encoder pads both ends of an MP3 with silence; mpg123 drops it again by the encoder's info
// frame. If it did not, a loop would be longer than written and gap at its seam.
TEST(SoundAssets, EachFileHasItsShapeAndLengthAndLoopsComeRoundWithoutGapOrClick) {
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
        std::unique_ptr<Decoder> d;
        ASSERT_EQ(Decoder::open((std::string("sounds/") + f.file).c_str(), false, d), audio::OK);
        const int ch = d->channels();
        const long long n = d->frames();
        if (f.channels) {
            EXPECT_EQ(ch, f.channels);
        }
        std::vector<short> once(static_cast<size_t>(n * ch));
        ASSERT_EQ(d->read(once.data(), n, false), n);
        const double overall = rms(once, 0, once.size());
        EXPECT_GT(overall, 1000.0) << "near silence";
        if (f.minSeconds < f.maxSeconds) {
            EXPECT_GE(n, f.minSeconds * d->sampleRate());
            EXPECT_LE(n, f.maxSeconds * d->sampleRate());
            continue;
        }
        EXPECT_EQ(n, std::llround(f.minSeconds * d->sampleRate()));

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
