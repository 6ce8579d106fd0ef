// The title illustration the game shows while it loads: planets, a dogfight and the game's name.
#pragma once

#include <string>

#include "tools/images/TextMask.h"

// The title's words, rendered before the painting starts.
struct TitleText {
    Mask title, byline, loading;
    int titleMargin = 24;
};

// Renders the words with the Liberation fonts of fontDir, or fallbackFont where one is missing. SDL_ttf
// must be initialised. SDL keeps per-thread state that a worker thread would leak, so the fonts are
// used on the main thread only: call it there, before painting on other threads.
bool renderTitleText(const std::string& fontDir, const std::string& fallbackFont, TitleText& text);

// Paints the title over the whole window and writes it as a JPEG.
bool paintTitle(const std::string& path, const TitleText& text);
