// A real GL window for tests that draw, with the read-back helpers the drawing tests share.
#include "support/GLTestWindow.h"

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <algorithm>
#include <cstdlib>

#include "app/FrameLoop.h"
#include "render/TextRenderer.h"
#include "tools/support/Capture.h"

namespace testing_support {

void GLTest::SetUp() {
    static const bool open =
        SDL_Init(SDL_INIT_VIDEO) == 0 && SDL_SetVideoMode(ScreenWidth, ScreenHeight, 32, SDL_OPENGL);
    ASSERT_TRUE(open) << "this test draws: run it under an X display (xvfb-run)";
    setUpViewport();
    enableSceneState();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void flatProjection(float unitsPerPixel) {
    const float w = unitsPerPixel * ScreenWidth / 2, h = unitsPerPixel * ScreenHeight / 2;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-w, w, -h, h, -1000 * unitsPerPixel, 1000 * unitsPerPixel);
    glMatrixMode(GL_MODELVIEW);
}

std::vector<unsigned char> readFrame() {
    glReadBuffer(GL_BACK);
    return capture::readWindow();
}

LitPixels litPixels(int x0, int y0, int x1, int y1, int threshold) {
    const std::vector<unsigned char> frame = readFrame();
    LitPixels lit;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = &frame[(y * ScreenWidth + x) * 3];
            const int light = p[0] + p[1] + p[2];
            if (light <= threshold) continue;
            ++lit.count, lit.x += x, lit.y += y, lit.red += p[0], lit.green += p[1], lit.brightness += light;
            lit.left = std::min(lit.left, x), lit.right = std::max(lit.right, x);
        }
    if (lit.count) lit.x /= lit.count, lit.y /= lit.count;
    return lit;
}

std::vector<std::vector<FeedbackVertex>> feedbackTriangles(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 21);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<std::vector<FeedbackVertex>> triangles;
    for (GLint i = 0; i < used;) {
        if (buffer[i++] != GLfloat(GL_POLYGON_TOKEN)) return {}; // overflowed or not triangles
        const int corners = int(buffer[i++]);
        triangles.emplace_back();
        for (int k = 0; k < corners; ++k, i += 11) {
            const GLfloat* v = &buffer[i];
            triangles.back().push_back({v[0], v[1], v[2], {v[3], v[4], v[5], v[6]}, v[7], v[8]});
        }
    }
    return triangles;
}

int textMismatch(const std::string& text, int points, int x, int y, int background) {
    TTF_Font* font = TTF_WasInit() || TTF_Init() == 0 ? TTF_OpenFont("fonts/arial.ttf", points) : nullptr;
    SDL_Surface* glyphs =
        font ? TTF_RenderText_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 0}) : nullptr;
    if (font) TTF_CloseFont(font);
    if (!glyphs) return ScreenWidth * ScreenHeight;
    const int w = glyphs->w, h = glyphs->h, quadW = nextPowerOfTwo(w), quadH = nextPowerOfTwo(h);
    // The text's coverage, top row first; the game's additive quad shows it as grey of that level.
    auto coverage = [&](int column, int row) {
        if (column < 0 || row < 0 || column >= w || row >= h) return 0;
        const Uint32 pixel = *reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(glyphs->pixels) +
                                                              row * glyphs->pitch + column * 4);
        return int((pixel & glyphs->format->Amask) >> glyphs->format->Ashift);
    };
    const std::vector<unsigned char> frame = readFrame();
    int wrong = 0;
    for (int py = std::max(0, y - 4); py < std::min(ScreenHeight, y + quadH + 4); ++py)
        for (int px = std::max(0, x - 4); px < std::min(ScreenWidth, x + quadW + 4); ++px) {
            const int expected = std::min(255, background + coverage(px - x, y + quadH - 1 - py));
            const unsigned char* p = &frame[(py * ScreenWidth + px) * 3];
            wrong += std::abs(p[0] - expected) > 12 || std::abs(p[1] - expected) > 12 ||
                     std::abs(p[2] - expected) > 12;
        }
    SDL_FreeSurface(glyphs);
    return wrong;
}

} // namespace testing_support
