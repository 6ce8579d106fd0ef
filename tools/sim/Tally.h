// Counts what happens in the simulated game by watching the World between updates, never from inside it.
#pragma once

#include <vector>

#include "data/Constants.h"
#include "math/Vector3.h"

class World;

namespace sim {

struct RoundRecord {
    long long endFrame = 0; // the update that announced the winner and laid out the next round
    long long length = 0;   // updates played, from the round's first to the one before endFrame
    int winner = -1;
};

class Tally {
  public:
    // True when this update will end the round: its winner is recorded before the restart erases it.
    bool beforeUpdate(const World& world, long long frame);
    void afterUpdate(const World& world, bool restarted);

    std::vector<RoundRecord> rounds;
    long long deaths[PlayerCount] = {};
    long long rewardsCollected[PlayerCount] = {}; // by each ship
    long long rewardsTaken = 0;                   // by ships, lasers, planets or other rewards
    long long planetsDestroyed = 0;

    // Peaks over all updates, and the values after the latest one.
    int peakProjectiles = 0, peakExplosions = 0, peakParticles = 0, peakSmokePuffs = 0;
    int peakChannels = 0, peakRealChannels = 0;
    int explosionsNow = 0, channelsNow = 0, realChannelsNow = 0;

  private:
    long long roundStart = 1;
    bool watching = false; // the fields below hold the state after the previous update
    int lastDeaths[PlayerCount] = {};
    bool planetAlive[PlayerCount] = {};
    bool rewardActive[RewardSlots] = {};
    Vector3 rewardPosition[RewardSlots];
};

} // namespace sim
