// libFuzzer harness: any bytes as the game's font file, opened by the HUD's own renderer at both of its
// sizes, and both kinds of HUD string drawn through the GL text path. Needs a display (xvfb-run).
#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/Constants.h"
#include "render/TextRenderer.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(ScreenWidth, ScreenHeight, 32, SDL_OPENGL)) {
        fprintf(stderr, "fuzz_font needs a display with OpenGL: %s\n", SDL_GetError());
        exit(1);
    }
    // The renderer opens fonts/arial.ttf under the working directory, as the game does.
    const char* tmp = getenv("TMPDIR");
    const std::string dir =
        std::string(tmp ? tmp : "/tmp") + "/gravimel-fuzz-font-" + std::to_string(getpid());
    if (mkdir(dir.c_str(), 0755) != 0 || chdir(dir.c_str()) != 0 || mkdir("fonts", 0755) != 0) {
        perror(dir.c_str());
        exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = fopen("fonts/arial.ttf", "wb");
    if (!f || fwrite(data, 1, size, f) != size) abort();
    fclose(f);
    TextRenderer hud;
    hud.drawHudText(12.5f, -1234567890); // the score in the small font, the countdown in the large
    SDL_Rect where = {0, 0, 0, 0};
    hud.renderText("Score: 0123456789.", hud.largeFont, textColour, where);
    // The game keeps its renderer for good; one a run would otherwise leak both fonts each time.
    if (hud.largeFont) TTF_CloseFont(hud.largeFont);
    if (hud.smallFont) TTF_CloseFont(hud.smallFont);
    return 0;
}
