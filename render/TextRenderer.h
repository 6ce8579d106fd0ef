// Heads-up text: the score at the top left and the large respawn countdown, rendered fresh every frame.
#pragma once

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>

class TextRenderer {
  public:
    TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    void renderText(const char* text, TTF_Font* font, SDL_Color colour, SDL_Rect& position);
    void drawScore(int score);
    void drawHudText(float respawnTimer, int score);

    TTF_Font* largeFont = nullptr; // the countdown
    TTF_Font* smallFont = nullptr; // the score
};

extern const SDL_Color textColour;
extern SDL_Rect scorePosition; // width and height take the size of the last score drawn

// The smallest power of two that is not below n (n of 0 or less gives 1).
int nextPowerOfTwo(int n);
// Where the countdown's quad starts: CountdownX, moved left for every digit beyond the first.
int countdownX(int wholeSeconds);
