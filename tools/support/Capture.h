// What the tools and the tests take from a running game: the pixels of its window, and a standard output
// of their own while the game's lines go nowhere.
#pragma once

#include <GL/gl.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "data/Constants.h"

namespace capture {

// The whole window as RGB, bottom row first, from the buffer bound for reading: the back buffer while a
// frame is drawn, what SDL resolved its multisampled frame into after a swap.
inline std::vector<unsigned char> readWindow() {
    std::vector<unsigned char> pixels(ScreenWidth * ScreenHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, ScreenWidth, ScreenHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Sends standard output to /dev/null and returns a stream on what it was; null, with standard output
// left as it was, when that cannot be done.
inline FILE* silenceStdout() {
    fflush(stdout);
    const int original = dup(STDOUT_FILENO), null = open("/dev/null", O_WRONLY);
    FILE* stream = original >= 0 && null >= 0 ? fdopen(original, "w") : nullptr;
    if (stream && dup2(null, STDOUT_FILENO) < 0) fclose(stream), stream = nullptr;
    if (!stream && original >= 0) close(original);
    if (null >= 0) close(null);
    return stream;
}

} // namespace capture
