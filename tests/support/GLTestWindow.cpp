// A real GL window for tests that draw, with the read-back helpers the drawing tests share.
#include "support/GLTestWindow.h"

#include <SDL/SDL.h>
#include <cstdio>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

#include "app/FrameLoop.h"

#if defined(__SANITIZE_ADDRESS__)
// SDL's D-Bus connection keeps one buffer to the end of the process, SDL leaves some of its own after a
// quit, and Mesa's software renderer sometimes a few blocks while its threads wind down; every test that
// opens a window would otherwise fail on them. The game's own leaks still show.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libSDL2\nleak:swrast_dri.so\n";
}
#endif

namespace testing_support {

bool openGLWindow() {
    static bool open = false;
    if (open) return true;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    if (!SDL_SetVideoMode(800, 600, 32, SDL_OPENGL)) return false;
    open = true;
    resetGameGLState();
    return true;
}

void resetGameGLState() {
    setUpViewport();
    enableSceneState();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

Pixel readPixel(int x, int y) {
    unsigned char rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

std::vector<unsigned char> readFrame() {
    std::vector<unsigned char> pixels(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

long differingBytes(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    long n = a.size() == b.size() ? 0 : 1; // frames of different sizes never match
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        n += a[i] != b[i];
    return n;
}

int countLitPixels(int x0, int y0, int x1, int y1, int threshold) {
    std::vector<unsigned char> frame = readFrame();
    int lit = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = &frame[(y * 800 + x) * 3];
            if (p[0] + p[1] + p[2] > threshold) ++lit;
        }
    return lit;
}

bool savePng(const std::string& path) {
    std::vector<unsigned char> frame = readFrame();
    stbi_flip_vertically_on_write(1);
    return stbi_write_png(path.c_str(), 800, 600, 3, frame.data(), 800 * 3) != 0;
}

} // namespace testing_support
