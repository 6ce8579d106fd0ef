// Tests of the computer pilots: hatred, target choice, and the controls each situation leaves on the ship.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ai/ShipAI.h"
#include "math/Random.h"
#include "ships/Ship.h"
#include "support/Draws.h"
#include "support/GameFixture.h"
#include "support/Stdout.h"

using testing_support::replayDraws;
using testing_support::stdoutOf;

namespace {

int randomTarget(int self, int draw) { return draw % 7 >= self ? draw % 7 + 1 : draw % 7; }

Vector3 offset(Vector3 p, float x, float y, float z) { return {p.x + x, p.y + y, p.z + z}; }

std::string hatesLine(int self, int target, int hate) {
    return "SHIP " + std::to_string(self) + " NOW HATES SHIP " + std::to_string(target) + " with hate at " +
           std::to_string(hate) + " of 50!\n";
}

// Pilot 1 against target 2, with every reward gone and hatred and target held still.
class Pilot : public testing_support::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        if (!HasFatalFailure()) freshRound();
    }
    void freshRound() {
        world().restart();
        for (Reward& r : world().rewards)
            r.active = false;
    }
    void situate(int hate, Vector3 at) {
        ai.lastDecay = ai.lastTargetChoice = INT_MAX / 2;
        ai.target = 2;
        ai.hatred[2] = hate;
        me.frame = Frame(at);
        me.thrust = Vector3(15, 0, 15); // whatever the pilot leaves must be its own doing
        me.firing = me.braking = false;
    }
    // Strafe and fore in thrust steps of 15 (-1, 0 or 1); the nose (-Z) must point at `facing`.
    void expectControls(bool firing, bool braking, float strafe, float fore, Vector3 facing) {
        EXPECT_EQ(std::tuple(me.firing, me.braking, me.thrust.x, me.thrust.z),
                  std::tuple(firing, braking, strafe * 15, fore * 15));
        facing.subtract(me.frame.origin);
        facing.setLength(1);
        EXPECT_LT(me.frame.zAxis.dot(facing), -0.9999f);
    }
    ShipAI& ai = ShipAITable[1];
    Ship& me = ShipTable[1];
    Ship& enemy = ShipTable[2];
};

TEST_F(Pilot, HitsMakeTheMostHatedShooterTheTargetOnlyAboveTen) {
    const int random = -1;
    // Who hit, whether on the planet, then the hatred of that player and the target after the hit.
    const std::tuple<int, bool, int, int> hits[] = {
        {3, false, 8, random}, {3, false, 10, random}, {3, false, 12, 3}, // third ship hit
        {6, true, 9, 3},       {6, true, 13, 6},                          // second planet hit
        {5, true, 9, 6},       {5, true, 13, 5},                          // a tie goes to the lower number
    };
    ai.hatred[3] = 6;  // so that the second hit brings it to exactly ten
    ai.hatred[1] = 50; // its own entry is never chosen
    for (int i = 0; i < int(std::size(hits)); i++) {
        const auto& [shooter, onPlanet, hatred, target] = hits[i];
        SCOPED_TRACE(i);
        int before = ai.target;
        // A forced choice draws once; a choice by hatred draws nothing.
        const auto [drawn, next] = replayDraws(100 + i, [] { return std::pair{randomDraw(), randomDraw()}; });
        const std::string out =
            stdoutOf([&] { onPlanet ? ai.addPlanetHatred(shooter, 2) : ai.addHatred(shooter, 2); });
        EXPECT_EQ(ai.hatred[shooter], hatred);
        EXPECT_EQ(ai.target, target == random ? randomTarget(1, drawn) : target);
        EXPECT_EQ(randomDraw(), target == random ? next : drawn);
        EXPECT_EQ(out, ai.target == before ? "" : hatesLine(1, ai.target, ai.hatred[ai.target]));
    }
    // Hatred stops at 50, the cap taken before the choice that reports it; a planet hit stops there too.
    ai.hatred[4] = 49;
    EXPECT_EQ(stdoutOf([&] { ai.addHatred(4, 2); }), hatesLine(1, 4, 50));
    ai.hatred[6] = 48;
    ai.addPlanetHatred(6, 2);
    EXPECT_EQ(ai.hatred[6], 50);
    EXPECT_EQ(ai.target, 4);
}

// With no one hated above ten, each pilot's draw falls on each of the seven others, and never on itself.
TEST_F(Pilot, ADrawnTargetIsAnyOtherPlayerButNeverThePilotItself) {
    srand(5);
    for (int self = 0; self < 8; ++self) {
        ShipAI& pilot = ShipAITable[self];
        std::vector<int> counts(8);
        stdoutOf([&] {
            for (int i = 0; i < 700; ++i) {
                pilot.chooseTarget(true);
                counts[pilot.target]++;
            }
        });
        EXPECT_EQ(counts[self], 0) << self;
        EXPECT_EQ(std::count(counts.begin(), counts.end(), 0), 1) << self;
    }
}

TEST_F(Pilot, ChoosesItsTargetAgainOnlyOnThe451stTickAfterTheLast) {
    ai.hatred[6] = 30; // the choice, once it comes
    ai.target = 2;
    ai.lastTargetChoice = 100;
    for (auto [tick, target] : {std::pair{550, 2}, std::pair{551, 6}}) {
        ai.tick = tick;
        stdoutOf([&] { ai.chooseTarget(false); });
        EXPECT_EQ(ai.target, target) << tick;
    }
    EXPECT_EQ(ai.lastTargetChoice, 551);
    ShipAI unattached;
    EXPECT_EQ(stdoutOf([&] { unattached.chooseTarget(false); }),
              "ERROR: target ship was < 0, so assigning to ship 0 by default\n");
    EXPECT_EQ(unattached.target, 0);
}

TEST_F(Pilot, FindsTheNearestActiveRewardAndTheLowestSlotOnATie) {
    World& w = world();
    int index = 0;
    float distance = 0;
    w.findNearestReward(1, index, distance);
    EXPECT_TRUE(index == -1 && distance == -1.0f);
    const Vector3 at = me.frame.origin;
    // Slot and how far along z from ship 1; slot 7 is nearest but taken.
    for (auto [slot, z] : {std::pair{2, 300}, std::pair{5, 200}, std::pair{6, -200}, std::pair{7, 100}}) {
        w.rewards[slot].active = slot != 7;
        w.rewards[slot].position = offset(at, 0, 0, z);
    }
    w.findNearestReward(1, index, distance);
    EXPECT_EQ(index, 5);
    EXPECT_FLOAT_EQ(distance, 200);
}

TEST_F(Pilot, HatredDecaysEverySixtyOneTicksToFiveWhileThePlanetStandsThenToZero) {
    // The tick, whether the hated player's planet stands, and the hatred after the decay.
    const std::tuple<int, bool, int> steps[] = {
        {0, true, 7},    {1, true, 6},    {61, true, 6},   {62, true, 5},   {123, true, 5},  {184, false, 4},
        {244, false, 4}, {245, false, 3}, {306, false, 2}, {367, false, 1}, {428, false, 0}, {489, false, 0}};
    ai.hatred[3] = 7;
    for (const auto& [tick, planetAlive, hatred] : steps) {
        world().planets[3].alive = planetAlive;
        ai.tick = tick;
        ai.decayHatred();
        EXPECT_EQ(ai.hatred[3], hatred) << "tick " << tick;
    }
    me.alive = false; // a dead pilot's ship thinks about nothing, not even its grudges
    ai.tick = 1000;
    ai.update();
    EXPECT_EQ(ai.lastDecay, 489);
}

// Every situation of the decision list, from a fresh round each: the defence of home, the attacks on a
// planet and on a ship, rewards, planet avoidance and the way home.
TEST_F(Pilot, EachSituationOfTheDecisionListLeavesItsControls) {
    World& w = world();
    enum Aim { Ahead, Enemy, EnemyHome, OwnHome, TheReward, Planet4, Ship3 };
    // The enemy's ship and home; battered: home at 75; wreck: planet 4 destroyed; later: on tick 1.
    enum Foe { Alive, ShipDead, WipedOut, Battered, Wreck, Later };
    const float J = 2; // strafing left or right by a draw
    const Vector3 O, s2 = enemy.frame.origin, s3 = ShipTable[3].frame.origin, home = w.planets[1].position;
    const Vector3 p2 = w.planets[2].position, p4 = offset(w.planets[4].position, 0, 0, -999);
    const Vector3 g = offset(home, 0, 0, 1400), in = offset(p2, 1499, 0, 0); // a defender's place
    auto out = [&](float x, float y) { return offset(home, x, y, 0); };
    // reward: how far along +Z from the pilot, negative for none; then the controls it must leave.
    struct Row {
        const char* what;
        int homeHealth, hatred;
        Vector3 pilot, enemyShip;
        Foe foe;
        Vector3 ship3;
        float reward;
        bool firing, braking;
        float strafe, fore; // in thrust steps
        Aim aim;
    } rows[] = {
        {"defends home", 134, 50, O, s2, Alive, s3, -1, false, false, 0, -1, OwnHome},
        {"no home to defend", -1, 5, O, s2, Alive, s3, -1, true, false, 0, -1, Enemy},
        {"home healthy enough", 135, 50, O, s2, Alive, s3, -1, true, false, 0, -1, EnemyHome},
        {"reward at 1000", 150, 5, O, s2, Alive, s3, 1000, true, false, 0, -1, Enemy},
        {"hatred 9 reaches far", 150, 9, O, s2, Alive, s3, 999, false, false, 0, -1, TheReward},
        {"hatred 10 reaches 500", 150, 10, O, s2, Alive, s3, 999, true, false, 0, -1, Enemy},
        {"near reward, brakes", 150, 19, O, s2, Alive, s3, 499, false, true, 0, -1, TheReward},
        {"reward at 500", 150, 19, O, s2, Alive, s3, 500, true, false, 0, -1, Enemy},
        {"hatred 20 ignores it", 150, 20, O, s2, Alive, s3, 100, true, false, 0, -1, Enemy},
        {"no reward", 150, 5, O, s2, Alive, s3, -1, true, false, 0, -1, Enemy},
        {"enemy at 499", 150, 20, O, {0, 0, 499}, Alive, s3, -1, true, true, 0, 1, Enemy},
        {"enemy at 500", 150, 20, O, {0, 0, 500}, Alive, s3, -1, true, false, 0, -1, Enemy},
        {"attack range", 150, 40, offset(p2, 1500, 0, 0), s2, Alive, s3, -1, true, false, 0, -1, EnemyHome},
        {"in range, aim kept", 150, 40, in, s2, Alive, s3, -1, true, true, J, 0, Ahead},
        {"re-aims after 90", 150, 40, in, s2, Later, s3, -1, true, true, J, 0, EnemyHome},
        {"range is radius now", 150, 40, offset(p2, 1251, 0, 0), s2, Battered, s3, -1, true, false, 0, -1,
         EnemyHome},
        {"planet at 999", 150, 20, p4, s2, Alive, s3, -1, true, false, 1, 1, Planet4},
        {"planet at 1000", 150, 20, offset(p4, 0, 0, -1), s2, Alive, s3, -1, true, false, 0, -1, Enemy},
        {"wreck at 499", 150, 20, offset(p4, 0, 0, 500), s2, Wreck, s3, -1, true, false, 1, 1, Planet4},
        {"wreck at 500", 150, 20, offset(p4, 0, 0, 499), s2, Wreck, s3, -1, true, false, 0, -1, Enemy},
        {"own at 999", 150, 20, offset(home, 0, 0, 999), s2, Alive, s3, -1, false, false, 1, 1, OwnHome},
        {"halts home", 150, 5, out(-1499, 0), s2, WipedOut, s3, -1, false, true, 0, 0, Ahead},
        {"heads home", 150, 40, out(-1500, 0), s2, WipedOut, s3, -1, false, false, 0, -1, OwnHome},
        {"any reward first", 150, 20, O, s2, WipedOut, s3, 3000, false, false, 0, -1, TheReward},
        // Defending: distances from home plus 500, the target's below 2400, an intruder's below 3200.
        {"target at 1899", 100, 5, g, out(-1899, 0), Alive, out(0, 1000), -1, true, false, 0, -1, Enemy},
        {"target at 1900", 100, 5, g, out(-1900, 0), Alive, out(0, 1000), -1, true, false, 0, -1, Ship3},
        {"intruder at 2699", 100, 5, g, s2, Alive, out(0, 2699), -1, true, false, 0, -1, Ship3},
        {"intruder at 2700", 100, 5, g, s2, Alive, out(0, 2700), -1, false, true, 0, 0, Ahead},
        {"nearest intruder", 100, 5, g, out(-1000, 0), ShipDead, out(0, 800), -1, true, false, 0, -1, Ship3},
        // a dead intruder sends it on to that player's planet; of two as near, the lower number
        {"dead intruder", 100, 5, g, out(-1000, 0), ShipDead, out(0, 1200), -1, true, false, 0, -1,
         EnemyHome},
        {"tie", 100, 5, g, out(-1000, 0), ShipDead, out(0, 1000), -1, true, false, 0, -1, EnemyHome},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        freshRound();
        situate(r.hatred, r.pilot);
        ai.tick = r.foe == Later;
        w.planets[1].health = r.homeHealth;
        w.planets[1].alive = r.homeHealth > 0;
        enemy.frame.origin = r.enemyShip;
        enemy.alive = r.foe != ShipDead && r.foe != WipedOut;
        w.planets[2].alive = r.foe != WipedOut;
        w.planets[2].health = r.foe == Battered ? 75 : 150;
        ShipTable[3].frame.origin = r.ship3;
        w.planets[4].alive = r.foe != Wreck;
        w.planets[4].health = r.foe != Wreck ? 150 : -1;
        w.rewards[3].active = r.reward >= 0;
        w.rewards[3].position = offset(r.pilot, 0, 0, r.reward);
        const int left = replayDraws(unsigned(&r - rows), [] { return randomDraw() % 2; }); // the strafe
        ai.update();
        const Vector3 aims[] = {offset(r.pilot, 0, 0, -1000), r.enemyShip,           p2,     home,
                                w.rewards[3].position,        w.planets[4].position, r.ship3};
        expectControls(r.firing, r.braking, r.strafe == J ? (left ? -1 : 1) : r.strafe, r.fore, aims[r.aim]);
        EXPECT_EQ(ai.lastAim,
                  r.braking && r.aim == EnemyHome ? int(r.foe == Later) : -90); // the re-aim at a planet
    }
}

} // namespace
