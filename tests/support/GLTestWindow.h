// Test fixture support: one real OpenGL window of the game's size (under Xvfb) and pixel read-back helpers.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "data/Constants.h"

namespace testing_support {

// For tests that draw: the window (opened on first use), cleared, in the game's initial GL state. Without a
// display the test fails; a fixture that sets up more calls this SetUp first and stops when
// HasFatalFailure().
class GLTest : public ::testing::Test {
  protected:
    void SetUp() override;
};

// An orthographic view down -Z centred on the window, `unitsPerPixel` game units a pixel (depth
// 1000 of them each way); the model-view stays as it is.
void flatProjection(float unitsPerPixel = 1);

std::vector<unsigned char> readFrame(); // the back buffer, RGB, bottom row first
// The pixels brighter than `threshold` in the rectangle [x0,x1) x [y0,y1) (y up from the bottom): how many,
// where their middle is, how far across they reach, how red and green and how bright (r + g + b) they are.
struct LitPixels {
    int count = 0;
    double x = 0, y = 0;
    int left = ScreenWidth, right = -1;
    long red = 0, green = 0, brightness = 0;
};
LitPixels litPixels(int x0, int y0, int x1, int y1, int threshold = 30);

// One corner of a triangle as GL's feedback mode hands it back: window coordinates, colour, texture
// coordinates.
struct FeedbackVertex {
    float x, y, z, colour[4], s, t;
};
// Every triangle that `draw` emits, in order, without touching the picture.
std::vector<std::vector<FeedbackVertex>> feedbackTriangles(const std::function<void()>& draw);

// Pixels in and around a text quad (bottom-left corner at (x, y)) that differ from `text` in the game's font
// at `points`, white, added to a grey `background` at the top left of a quad with sides powers of two; 0: it
// reads so.
int textMismatch(const std::string& text, int points, int x, int y, int background = 0);

} // namespace testing_support
