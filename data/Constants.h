// Program-wide constants: plain numbers and tables, free of GL and SDL so that any part can use them.
#pragma once

// One game update is one step of this many seconds (a hair below 1/30).
constexpr float FrameTime = 0.033333331f;

// Takes one update off a timer in seconds. Decreased in double and stored as float, so n seconds last
// about 30 n updates.
inline void countDown(float& seconds) { seconds = static_cast<float>(seconds - double(FrameTime)); }
