// The scenes the benchmarks time: the first second of a round, and the busiest moment the rules allow.
#pragma once

class World;

// What a scene holds at one moment; the benchmarks report it so a reader can see the load.
struct SceneLoad {
    int firingShips = 0;
    int projectiles = 0;
    int smokePuffs = 0;
    int explosions = 0;
    int particles = 0;
    int channelsPlaying = 0;
};

// A fresh round laid out from seed 1: every ship at its spawn point, no bolts in flight.
void layOutOpening(World& world);

// Every ship firing with rapid fire and thrusting, and eight planet blasts and eight ship blasts
// alive. Played on for four seconds, re-armed every second, so that each smoke ring is as full as
// thrust keeps it: ten puffs an update, each living 91 updates, 910 of its 1000.
void layOutHeaviest(World& world);

// Puts back what one second of play wears away: ships at their spawn points with full health, still
// firing with rapid fire, the pilots bent on a planet far away, the planets whole, and the blasts
// spawned again once they are half burnt out. Call it every UpdatesPerRearm updates.
void rearmHeaviest(World& world);
constexpr int UpdatesPerRearm = 30;

// Turns ship 0, and so the camera behind it, half a turn from where it spawns, to look out of the
// arena: every other ship, planet and reward is then out of view.
void turnAway();

SceneLoad measureLoad();
