// The arena: planets, rewards, the collision list, the camera offset, and the fixed order of every frame.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <vector>

#include "data/Constants.h"
#include "math/Vector3.h"
#include "planets/Planet.h"
#include "render/TextRenderer.h"
#include "ships/Reward.h"

class World {
  public:
    static constexpr float RewardInterval = 3.0f; // seconds between refills of an empty reward slot

    // Seeds the shared random generator: the game with the clock, a tool or a test with a number of its
    // own, so that it can replay a game from its first layout.
    explicit World(unsigned seed);
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    void setupRound();
    void restart();
    void update();
    int findWinner() const;
    void regenerateAtHome();
    void refillRewards();
    void collideAll();
    void cullExplosions();
    void clearExplosions();
    void findNearestReward(int player, int& index, float& distance);
    Vector3 randomArenaPoint();

    // Drawing of one frame.
    void render();
    void placeCamera();
    void drawStars();
    void drawOpaquePass();
    void drawTranslucentPass();
    void drawHud();

    // Input.
    void handleEvents();
    void handleEvent(const SDL_Event& event); // a quit never returns
    void zoomIn();
    void zoomOut();

    // Where the listener stands: ship 0.
    Vector3 listenerPosition() const;
    Vector3 listenerVelocity() const;
    Vector3 listenerForward() const;
    Vector3 listenerUp() const;

    // clang-format off
    GLUquadric*          quadric = nullptr;  // the star sphere's; never freed
    GLuint               starTexture = 0;
    TextRenderer         font;
    Vector3              cameraOffset;       // eye position in ship 0's axes
    Planet               planets[PlayerCount];
    Reward               rewards[RewardSlots];
    // In collision order: planet 0, ship 0, planet 1, ship 1 and so on, then the rewards. Owns none.
    std::vector<Object*> objects;
    float                rewardTimer = RewardInterval; // seconds until a reward may respawn
    bool                 paused = false;
    // clang-format on
};

void announceWinner(int player);

// The one World, null until it is fully built.
extern World* theWorld;
