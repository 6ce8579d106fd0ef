// Test fixture support: one real OpenGL window of the game's size (under Xvfb) and pixel read-back helpers.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Constants.h"

namespace testing_support {

// Opens the window on first use; later calls return at once. Returns false when no display is there.
bool openGLWindow();
// The game's own initial GL state: viewport, identity matrices, depth test, lighting, 2-D textures.
void resetGameGLState();

// For tests that draw: the window, in the game's initial state. Without a display the test fails; a
// fixture that sets up more calls this SetUp first and stops when HasFatalFailure().
class GLTest : public ::testing::Test {
  protected:
    void SetUp() override;
};

// An orthographic view down -Z centred on the window, `unitsPerPixel` game units a pixel (depth
// 1000 of them each way); the model-view stays as it is.
void flatProjection(float unitsPerPixel = 1);

struct Pixel {
    int r = 0, g = 0, b = 0;
    int brightness() const { return r + g + b; }
};

Pixel readPixel(int x, int y);          // from the back buffer, y up from the bottom
std::vector<unsigned char> readFrame(); // the window, RGB, bottom row first
int countLitPixels(int x0, int y0, int x1, int y1, int threshold = 30); // in the rectangle [x0,x1) x [y0,y1)
// The same pixels: how many, where their middle is, how far across they reach and how red and green they are.
struct LitPixels {
    int count = 0;
    double x = 0, y = 0;
    int left = ScreenWidth, right = -1;
    long red = 0, green = 0;
};
LitPixels litPixels(int x0, int y0, int x1, int y1, int threshold = 30);
long differingBytes(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);

// One corner of a triangle as GL hands it back in feedback mode: window coordinates, colour and
// texture coordinates.
struct FeedbackVertex {
    float x, y, z;
    float colour[4];
    float s, t;
};
// Every triangle that `draw` emits, in order, without touching the picture.
std::vector<std::vector<FeedbackVertex>> feedbackTriangles(void (*draw)(void*), void* context);
template <class Draw> std::vector<std::vector<FeedbackVertex>> feedbackTriangles(Draw draw) {
    return feedbackTriangles([](void* d) { (*static_cast<Draw*>(d))(); }, &draw);
}

// Pixels in and around a string's quad that differ from `text` as the game shows it: the font
// ("fonts/arial.ttf") at `points`, white, added to a grey background of `background`, upright in the
// upper-left part of a quad whose sides are powers of two and whose bottom-left corner is (x, y).
// 0 when the picture reads exactly that text there.
int textMismatch(const std::string& text, int points, int x, int y, int background = 0);
// The size of `text` rendered in that font, as the game's text drawing reports it.
void textSize(const std::string& text, int points, int& width, int& height);

// The 18 bytes that open a TGA file: the image type (1 colour-mapped, 2 true colour), the size, bits per
// pixel, the descriptor (alpha bits, origin) and the number of 24-bit colour map entries that follow.
std::string tgaHeader(int type, int width, int height, int bits, int descriptor, int mapEntries = 0);

} // namespace testing_support
