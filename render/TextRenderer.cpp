// Heads-up text through SDL_ttf: each string becomes a temporary texture, one additive quad, then freed.
#include "render/TextRenderer.h"

#include <GL/gl.h>
#include <cstdio>

#include "data/Constants.h"

const SDL_Color textColour = {255, 255, 255, 0};
SDL_Rect scorePosition = {ScoreX, ScoreY, 0, 0};

namespace {

const char* const FontPath = "fonts/arial.ttf";

// Lines are normally a little over the point size tall. A font whose metrics claim many times that
// would have every string of it rendered into a surface of hundreds of megabytes, every frame.
constexpr int MaxLineHeightPerPoint = 4;

TTF_Font* openFont(int points) {
    printf("Loading font %s...\n", FontPath);
    TTF_Font* font = TTF_OpenFont(FontPath, points);
    if (font && TTF_FontHeight(font) > MaxLineHeightPerPoint * points) {
        SDL_SetError("lines %d pixels tall at %d points", TTF_FontHeight(font), points);
        TTF_CloseFont(font);
        font = nullptr;
    }
    if (!font) printf("Unable to load font from %s: %s\n", FontPath, SDL_GetError());
    return font;
}

} // namespace

int nextPowerOfTwo(int n) {
    // Counted in integers: a logarithm can round an exact power of two up to the next one.
    int p = 1;
    while (p < n && p < (1 << 30))
        p <<= 1;
    return p;
}

int countdownX(int wholeSeconds) {
    int x = CountdownX;
    for (int n = wholeSeconds; n >= 10; n /= 10)
        x -= CountdownDigitWidth;
    return x;
}

TextRenderer::TextRenderer() {
    printf("Initializing font engine...\n");
    if (TTF_Init() == -1) {
        printf("Unable to initialize SDL_ttf: %s\n", SDL_GetError());
        return;
    }
    largeFont = openFont(CountdownPoints);
    smallFont = openFont(ScorePoints);
}

void TextRenderer::renderText(const char* text, TTF_Font* font, SDL_Color colour, SDL_Rect& position) {
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_BLEND);

    SDL_Surface* source = font ? TTF_RenderText_Blended(font, text, colour) : nullptr;
    if (source) {
        int w = nextPowerOfTwo(source->w);
        int h = nextPowerOfTwo(source->h);
        SDL_Surface* target =
            SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
        if (target) {
            SDL_BlitSurface(source, NULL, target, NULL);
            GLuint texture = 0;
            glGenTextures(1, &texture);
            glBindTexture(GL_TEXTURE_2D, texture);
            glTexImage2D(GL_TEXTURE_2D, 0, 4, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, target->pixels);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, texture);
            glColor3f(1, 1, 1);
            float x = position.x, y = position.y;
            glBegin(GL_QUADS);
            glTexCoord2f(0, 1);
            glVertex2f(x, y);
            glTexCoord2f(1, 1);
            glVertex2f(x + w, y);
            glTexCoord2f(1, 0);
            glVertex2f(x + w, y + h);
            glTexCoord2f(0, 0);
            glVertex2f(x, y + h);
            glEnd();
            glFinish();

            position.w = static_cast<Uint16>(source->w);
            position.h = static_cast<Uint16>(source->h);
            SDL_FreeSurface(target);
            glDeleteTextures(1, &texture);
        }
        SDL_FreeSurface(source);
    }

    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_BLEND);
}

void TextRenderer::drawScore(int score) {
    char text[100];
    snprintf(text, sizeof text, "Score: %d", score);
    renderText(text, smallFont, textColour, scorePosition);
}

void TextRenderer::drawHudText(float respawnTimer, int score) {
    drawScore(score);
    if (!(respawnTimer > 0)) return;
    int n = static_cast<int>(respawnTimer);
    char text[100];
    snprintf(text, sizeof text, "%d.%d", n, static_cast<int>((respawnTimer - n) * 10.0));
    SDL_Rect position = {static_cast<Sint16>(countdownX(n)), CountdownY, 0, 0};
    renderText(text, largeFont, textColour, position);
}
