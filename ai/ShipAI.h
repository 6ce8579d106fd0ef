// A player's pilot record: hatred toward every player, its target, and the behaviour that flies its ship.
#pragma once

#include "data/Constants.h"
#include "math/Vector3.h"

class World;
class Ship;
class Planet;
class Reward;

struct ShipAI {
    static constexpr int HatredCap = 50;
    static constexpr int HatredFloor = 5;      // while the hated player's planet stands
    static constexpr int TargetThreshold = 10; // hatred must exceed this to pick a target
    static constexpr int DecayPeriod = 60;     // ticks that must be exceeded between decays
    static constexpr int TargetPeriod = 450;   // ... between unforced target choices
    static constexpr int AimPeriod = 90;       // ... between re-aims at a planet under attack

    ShipAI();

    void reset();
    void attach(World* world, Ship* ship, Planet* homePlanet);
    void addHatred(int player, int amount);
    void addPlanetHatred(int player, int amount);
    void decayHatred();
    void chooseTarget(bool force);

    // The behaviour, one decision per tick.
    void update();
    Reward* nearestReward(float& distance); // the nearest one in play and its distance, or null
    void rewardOrAttack(Reward* reward, float distance, float reach);
    void attackShip(int player);
    void attackPlanet(int player);
    void collectReward(Reward& reward);
    void returnHome();
    void defendHome();
    void flyTo(Vector3 destination);
    void faceToward(Vector3 point);

    // clang-format off
    World*  world = nullptr;                  // the one World, never destroyed
    Ship*   ship = nullptr;                   // ShipTable[playerIndex], a static
    Planet* homePlanet = nullptr;             // the World's planets[playerIndex]
    int     playerIndex = -1;
    int     lastTargetChoice = -TargetPeriod; // the three time stamps start a period before tick 0
    int     lastDecay = -DecayPeriod;
    int     lastAim = -AimPeriod;             // last re-aim at a planet under attack
    int     tick = 0;                         // +1 per World update
    int     target = -1;
    int     hatred[PlayerCount];              // HatredFloor each, set by the constructor
    // clang-format on
};

extern ShipAI ShipAITable[PlayerCount];
