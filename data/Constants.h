// Program-wide constants: plain numbers and tables, free of GL and SDL so that any part can use them.
#pragma once

#include <iterator>

#include "math/Vector3.h"

constexpr int PlayerCount = 8;
constexpr int RewardSlots = 8;

// Each player lights the scene round its ship with an OpenGL light of its own; GL promises eight.
static_assert(PlayerCount <= 8, "one light per player");

// The planets sit on the corners of a cube of this half side round the origin; rewards appear within it.
constexpr int ArenaHalfSide = 4000;

// One game update is one step of this many seconds (a hair below 1/30).
constexpr float FrameTime = 0.033333331f;

// The same step in milliseconds, for the frame loop's wait: the float nearest 1000/30.
constexpr float FrameMilliseconds = 1000 * FrameTime;
static_assert(double(FrameMilliseconds) == 33.33333206176758, "the frame loop's budget");

// Takes one update off a timer in seconds. Decreased in double and stored as float, so n seconds last
// about 30 n updates.
constexpr void countDown(float& seconds) { seconds = static_cast<float>(seconds - double(FrameTime)); }

// How many countDown calls take a timer of this many seconds to 0 or below.
constexpr int updatesToRunOut(float seconds) {
    int updates = 0;
    for (; seconds > 0; ++updates)
        countDown(seconds);
    return updates;
}

// The window in pixels; also the overlay's units, counted from the bottom-left corner.
constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;

// The camera's lens: vertical angle of view in degrees, width over height, near and far planes.
constexpr double CameraFieldOfView = 60.0;
constexpr double CameraAspect = double(ScreenWidth) / ScreenHeight;
constexpr double CameraNear = 0.1;
constexpr double CameraFar = 30000.0;

// The eye in ship 0's axes (right, up, behind) as the game starts. The wheel moves it up and back by
// ZoomStep a click, never nearer than this nor more than ZoomRange further.
inline constexpr Vector3 CameraOffset(3, 30, 120);
constexpr float ZoomStep = 5;
constexpr float ZoomRange = 50;

// Slices and stacks of every sphere drawn: the sky, the planets and their shells, the gauges.
constexpr int SphereDetail = 64;

// The star texture repeats this many times round the sky and as many times from pole to pole; the image
// generator paints it to tile.
constexpr int SkyRepeats = 4;

// The heads-up display, in overlay pixels.
inline constexpr Vector3 PlanetGaugeCentre(61, 61, 0); // bottom left
inline constexpr Vector3 ShipGaugeCentre(738, 61, 0);  // bottom right
constexpr float GaugeRadius = 30;                      // of the full-size globe of either gauge
constexpr int ScoreX = 30;                             // the score, top left: its quad's bottom-left corner
constexpr int ScoreY = 539;
constexpr int ScorePoints = 18;
constexpr int CountdownX = 676;         // bottom right, with one whole-seconds digit; each further digit
constexpr int CountdownDigitWidth = 40; // moves it this far left
constexpr int CountdownY = -30;
constexpr int CountdownPoints = 70;

// Flight, per update.
constexpr float ThrustStep = 15;        // velocity gained per update along each thrusting axis
constexpr float SpeedCap = 1600;        // units per second
constexpr float BoostedSpeedCap = 3200; // while SpeedBoost runs
constexpr float Drag = 0.01f;           // share of the velocity lost per update
constexpr float BrakingDrag = 0.05f;    // while a live ship brakes
constexpr float SteeringGain = -0.005f; // radians per unit of pointer motion

// Weapons.
constexpr float FireInterval = 0.3f;       // seconds between shots while fire is held
constexpr float RapidFireInterval = 0.15f; // while RapidFire runs
constexpr float ProjectileSpeed = 4000;    // units per second along the ship's nose
constexpr float ProjectileLifetime = 0.6f; // seconds a bolt flies before it is spent
constexpr float BeamHalfWidth = 15;        // half the spacing of a normal ship's two beams
constexpr float BeamRadius = 1;
constexpr int LaserDamage = 2;

// A beam covers the stretch its bolt flies in the next update.
constexpr float BeamLength = ProjectileSpeed * FrameTime;
static_assert(BeamLength == 133.33333f, "a hair below 4000 / 30, as FrameTime is below 1 / 30");

enum RewardKind { SpeedBoost = 0, RapidFire = 1, Grow = 2, Shrink = 3, RewardKinds };

// What a reward does to its ship while its timer runs. The rows of the running rewards apply together:
// the highest speed cap and the shortest fire interval win, and the size steps add up.
struct RewardEffect {
    // clang-format off
    float speedCap;     // units per second
    float fireInterval; // seconds between shots while fire is held
    int   sizeStep;     // +1 three times as large, -1 a third as large; together they cancel out
    // clang-format on
};

// index = RewardKind
inline constexpr RewardEffect rewardEffects[] = {
    {BoostedSpeedCap, FireInterval, 0}, // SpeedBoost
    {SpeedCap, RapidFireInterval, 0},   // RapidFire
    {SpeedCap, FireInterval, +1},       // Grow
    {SpeedCap, FireInterval, -1},       // Shrink
};
static_assert(std::size(rewardEffects) == RewardKinds, "one row per reward kind");

enum ExplosionKind { Spark = 0, ShipBlast = 1, RewardBurst = 2, PlanetBlast = 3, ExplosionKinds };

struct ExplosionPreset {
    // clang-format off
    int  spread, count, speed; // offsets and velocities are whole numbers from -spread (-speed) up
    int  sizeMin, sizeRange;   // a particle's size: sizeMin plus a draw below sizeRange
    bool randomColour;         // else white
    bool round;                // drawn with the circle texture, else the plain one
    // clang-format on
};

// index = ExplosionKind; a kind outside the table is drawn white at size 20 with the plain texture
inline constexpr ExplosionPreset explosionPresets[] = {
    {10, 10, 10, 15, 10, false, true},     // a bolt hits a ship or a planet
    {20, 1500, 300, 15, 20, false, false}, // a ship explodes
    {50, 2500, 100, 5, 20, true, true},    // a reward is taken
    {10, 5000, 500, 5, 50, false, false},  // a planet is destroyed
};
static_assert(std::size(explosionPresets) == ExplosionKinds, "one row per explosion kind");

// Smoke trail colour ramp, red, green, blue.
inline constexpr Vector3 flameBlue(0.3f, 0.5f, 1.0f);
inline constexpr Vector3 flameRed(1.0f, 0.3f, 0.1f);
inline constexpr Vector3 flameOrange(1.0f, 0.6f, 0.0f);
inline constexpr Vector3 smokeGrey(0.3f, 0.3f, 0.3f);
inline constexpr Vector3 smokeDark(0.1f, 0.1f, 0.1f);

// index = player number, and so the home planet of that player
inline constexpr const char* planetTextureNames[] = {
    "images/map-earth.jpg",   "images/map-mercury.jpg", "images/map-venus.jpg",  "images/map-mars.jpg",
    "images/map-jupiter.jpg", "images/map-saturn.jpg",  "images/map-uranus.jpg", "images/map-neptune.jpg",
};
static_assert(std::size(planetTextureNames) == PlayerCount, "one home planet per player");

// red, green, blue, alpha; index = player number
// clang-format off
inline constexpr float playerColours[][4] = {
    {0.7f, 0.7f, 0.7f, 1.0f},
    {0.8f, 0.2f, 0.2f, 1.0f},
    {0.2f, 0.2f, 0.8f, 1.0f},
    {0.8f, 0.4f, 0.0f, 1.0f},
    {0.0f, 0.8f, 0.2f, 1.0f},
    {0.8f, 0.8f, 0.2f, 1.0f},
    {0.7f, 0.3f, 0.7f, 1.0f},
    {0.4f, 0.2f, 0.08f, 1.0f},
};
// clang-format on
static_assert(std::size(playerColours) == PlayerCount, "one colour per player");
