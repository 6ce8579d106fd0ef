// Test fixture support: one real 800x600 OpenGL window (under Xvfb) and pixel read-back helpers.
#pragma once

#include <GL/gl.h>
#include <string>
#include <vector>

namespace testing_support {

// Opens the window on first use; later calls return at once. Returns false when no display is there.
bool openGLWindow();
// The game's own initial GL state: viewport, identity matrices, depth test, lighting, 2-D textures.
void resetGameGLState();

struct Pixel {
    int r = 0, g = 0, b = 0;
    int brightness() const { return r + g + b; }
};

Pixel readPixel(int x, int y);                       // from the back buffer, y up from the bottom
std::vector<unsigned char> readFrame();              // 800x600 RGB, bottom row first
int countLitPixels(int x0, int y0, int x1, int y1, int threshold = 30); // in the rectangle [x0,x1) x [y0,y1)
bool savePng(const std::string& path);               // the back buffer, for looking at
long differingBytes(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);

} // namespace testing_support
