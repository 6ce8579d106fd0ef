// Event counting from state changes between updates, and the per-update peaks.
#include "tools/sim/Tally.h"

#include <algorithm>

#include "audio/GameAudio.h"
#include "audio/SoundSystem.h"
#include "effects/Explosion.h"
#include "ships/Reward.h"
#include "ships/Ship.h"
#include "world/World.h"

namespace sim {

bool Tally::beforeUpdate(const World& world, long long frame) {
    if (world.paused) return false;
    int winner = world.findWinner();
    if (winner == -1) return false;
    RoundRecord round;
    round.endFrame = frame;
    round.length = frame - roundStart;
    round.winner = winner;
    rounds.push_back(round);
    roundStart = frame + 1;
    return true;
}

void Tally::afterUpdate(const World& world, bool restarted) {
    for (int n = 0; n < PlayerCount; ++n) {
        const Ship& ship = ShipTable[n];
        // A restart clears the counters; nothing dies in the update that does it.
        if (watching && !restarted) deaths[n] += ship.deaths - lastDeaths[n];
        lastDeaths[n] = ship.deaths;

        const Planet& planet = world.planets[n];
        if (watching && !restarted && planetAlive[n] && !planet.alive) ++planetsDestroyed;
        planetAlive[n] = planet.alive;

        // A grant sets the timer to the full duration; the ship's next update takes the first step off.
        for (float timer : ship.rewardTimers)
            if (timer == Reward::Duration) ++rewardsCollected[n];
    }

    for (int k = 0; k < RewardSlots; ++k) {
        const Reward& reward = world.rewards[k];
        if (watching && !restarted && !reward.active) {
            // An empty slot that moved was refilled and emptied again within this one update.
            bool moved = reward.position.x != rewardPosition[k].x ||
                         reward.position.y != rewardPosition[k].y || reward.position.z != rewardPosition[k].z;
            if (rewardActive[k] || moved) ++rewardsTaken;
        }
        rewardActive[k] = reward.active;
        rewardPosition[k] = reward.position;
    }
    watching = true;

    int projectiles = 0, puffs = 0;
    for (const Ship& ship : ShipTable) {
        projectiles += static_cast<int>(ship.children.size());
        puffs += ship.smokeTrail.liveCount();
    }
    int particles = 0;
    for (const auto& explosion : explosions)
        particles += explosion->particleCount;
    explosionsNow = static_cast<int>(explosions.size());
    audio::SoundSystem::ChannelCount count;
    if (audioSystem) count = audioSystem->channelsPlaying();
    channelsNow = count.playing;
    realChannelsNow = count.real;

    peakProjectiles = std::max(peakProjectiles, projectiles);
    peakSmokePuffs = std::max(peakSmokePuffs, puffs);
    peakParticles = std::max(peakParticles, particles);
    peakExplosions = std::max(peakExplosions, explosionsNow);
    peakChannels = std::max(peakChannels, channelsNow);
    peakRealChannels = std::max(peakRealChannels, realChannelsNow);
}

} // namespace sim
