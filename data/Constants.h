// Program-wide constants: plain numbers and tables, free of GL and SDL so that any part can use them.
#pragma once

#include "math/Vector3.h"

constexpr int PlayerCount = 8;

// One game update is one step of this many seconds (a hair below 1/30).
constexpr float FrameTime = 0.033333331f;

// Takes one update off a timer in seconds. Decreased in double and stored as float, so n seconds last
// about 30 n updates.
inline void countDown(float& seconds) { seconds = static_cast<float>(seconds - double(FrameTime)); }

// The camera's lens: vertical angle of view in degrees, width over height, near and far planes.
constexpr double CameraFieldOfView = 60.0;
constexpr double CameraAspect = 4.0 / 3.0;
constexpr double CameraNear = 0.1;
constexpr double CameraFar = 30000.0;

// Smoke trail colour ramp, red, green, blue.
inline constexpr Vector3 flameBlue(0.3f, 0.5f, 1.0f);
inline constexpr Vector3 flameRed(1.0f, 0.3f, 0.1f);
inline constexpr Vector3 flameOrange(1.0f, 0.6f, 0.0f);
inline constexpr Vector3 smokeGrey(0.3f, 0.3f, 0.3f);
inline constexpr Vector3 smokeDark(0.1f, 0.1f, 0.1f);

// index = player number, and so the home planet of that player
inline constexpr const char* planetTextureNames[PlayerCount] = {
    "images/map-earth.jpg",   "images/map-mercury.jpg", "images/map-venus.jpg",  "images/map-mars.jpg",
    "images/map-jupiter.jpg", "images/map-saturn.jpg",  "images/map-uranus.jpg", "images/map-neptune.jpg",
};

// red, green, blue, alpha; index = player number
inline constexpr float playerColours[PlayerCount][4] = {
    {0.7f, 0.7f, 0.7f, 1.0f},
    {0.8f, 0.2f, 0.2f, 1.0f},
    {0.2f, 0.2f, 0.8f, 1.0f},
    {0.8f, 0.4f, 0.0f, 1.0f},
    {0.0f, 0.8f, 0.2f, 1.0f},
    {0.8f, 0.8f, 0.2f, 1.0f},
    {0.7f, 0.3f, 0.7f, 1.0f},
    {0.4f, 0.2f, 0.08f, 1.0f},
};
