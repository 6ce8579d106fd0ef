// Tests of the computer pilots: hatred, target choice, and the controls each situation leaves on the ship.
#include <climits>
#include <cstdlib>
#include <iterator>
#include <string>

#include "ai/ShipAI.h"
#include "ships/Ship.h"
#include "support/GameFixture.h"

namespace {

int randomTarget(int self, int draw) { return draw % 7 >= self ? draw % 7 + 1 : draw % 7; }

Vector3 offset(Vector3 p, float x, float y, float z) { return {p.x + x, p.y + y, p.z + z}; }

std::string hatesLine(int self, int target, int hate) {
    return "SHIP " + std::to_string(self) + " NOW HATES SHIP " + std::to_string(target) + " with hate at " +
           std::to_string(hate) + " of 50!\n";
}

// Pilot 1 against target 2, in a fresh round with every reward gone and hatred and target held still.
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
        me.thrust = Vector3();
        me.firing = me.braking = false;
    }
    // The nose (-Z) must point at `facing`.
    void expectControls(bool firing, bool braking, float strafe, float fore, Vector3 facing) {
        EXPECT_EQ(me.firing, firing);
        EXPECT_EQ(me.braking, braking);
        EXPECT_EQ(me.thrust.x, strafe);
        EXPECT_EQ(me.thrust.z, fore);
        facing.subtract(me.frame.origin);
        facing.setLength(1);
        EXPECT_LT(me.frame.zAxis.dot(facing), -0.9999f);
    }
    ShipAI& ai = ShipAITable[1];
    Ship& me = ShipTable[1];
    Ship& enemy = ShipTable[2];
};

TEST_F(Pilot, FirstChoiceIsARandomOtherPlayerAndAnnounced) {
    for (int seed : {1, 2, 3, 99})
        for (int n = 0; n < PlayerCount; n++) {
            ShipAI record;
            srand(seed);
            testing::internal::CaptureStdout();
            record.attach(&world(), &ShipTable[n], &world().planets[n]);
            std::string out = testing::internal::GetCapturedStdout();
            srand(seed);
            int expected = randomTarget(n, rand());
            EXPECT_EQ(record.target, expected) << "seed " << seed << " player " << n;
            EXPECT_EQ(out, hatesLine(n, expected, 5));
        }
    ShipAI unattached;
    testing::internal::CaptureStdout();
    unattached.chooseTarget(false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: target ship was < 0, so assigning to ship 0 by default\n");
    EXPECT_EQ(unattached.target, 0);
}

TEST_F(Pilot, HitsMakeTheMostHatedShooterTheTargetOnlyAboveTen) {
    const int random = -1;
    struct Hit {
        int shooter;
        bool onPlanet;
        int hatred, target;
    } hits[] = {
        {3, false, 7, random}, {3, false, 9, random}, {3, false, 11, 3}, // third ship hit
        {6, true, 9, 3},       {6, true, 13, 6},                         // second planet hit
        {5, true, 9, 6},       {5, true, 13, 5},                         // a tie goes to the lower number
    };
    for (int i = 0; i < int(std::size(hits)); i++) {
        const Hit& h = hits[i];
        SCOPED_TRACE(i);
        int before = ai.target;
        srand(100 + i);
        testing::internal::CaptureStdout();
        h.onPlanet ? ai.addPlanetHatred(h.shooter, 2) : ai.addHatred(h.shooter, 2);
        std::string out = testing::internal::GetCapturedStdout();
        int next = rand();
        srand(100 + i);
        int first = rand();
        EXPECT_EQ(ai.hatred[h.shooter], h.hatred);
        EXPECT_EQ(ai.target, h.target == random ? randomTarget(1, first) : h.target);
        // A forced choice draws once; a choice by hatred draws nothing.
        EXPECT_EQ(next, h.target == random ? rand() : first);
        EXPECT_EQ(out, ai.target == before ? "" : hatesLine(1, ai.target, ai.hatred[ai.target]));
    }
    for (int i = 0; i < 30; i++)
        ai.addHatred(4, 2);
    EXPECT_EQ(ai.hatred[4], 50);
    EXPECT_EQ(ai.target, 4);

    for (int& h : ai.hatred)
        h = 10;
    srand(7);
    ai.chooseTarget(true);
    srand(7);
    EXPECT_EQ(ai.target, randomTarget(1, rand()));
}

TEST_F(Pilot, HatredDecaysEverySixtyOneTicksToFiveWhileThePlanetStandsThenToZero) {
    struct Step {
        int tick;
        bool planetAlive;
        int hatred;
    } steps[] = {{0, true, 7},    {1, true, 6},    {61, true, 6},   {62, true, 5},
                 {123, true, 5},  {184, false, 4}, {244, false, 4}, {245, false, 3},
                 {306, false, 2}, {367, false, 1}, {428, false, 0}, {489, false, 0}};
    ai.hatred[3] = 7;
    for (const Step& s : steps) {
        world().planets[3].alive = s.planetAlive;
        ai.tick = s.tick;
        ai.decayHatred();
        EXPECT_EQ(ai.hatred[3], s.hatred) << "tick " << s.tick;
    }
    // A dead pilot's ship thinks about nothing, not even its grudges.
    me.alive = false;
    ai.hatred[4] = 30;
    ai.tick = 1000;
    ai.update();
    EXPECT_EQ(ai.hatred[4], 30);
    EXPECT_EQ(ai.lastDecay, 489);
}

TEST_F(Pilot, EachSituationOfTheDecisionListLeavesItsControls) {
    World& w = world();
    enum Aim { Ahead, Enemy, EnemyHome, OwnHome, TheReward, Planet4 };
    const Vector3 O, s2 = enemy.frame.origin, home = w.planets[1].position;
    const Vector3 p4 = offset(w.planets[4].position, 0, 0, -999);
    // reward: how far along +Z from the pilot, negative for none; then the controls it must leave.
    struct Row {
        const char* what;
        int homeHealth, hatred;
        Vector3 pilot, enemyShip;
        bool wipedOut, p4Alive;
        float reward;
        bool firing, braking;
        float strafe, fore;
        Aim aim;
    } rows[] = {
        {"defends home", 134, 50, O, s2, false, true, -1, false, false, 0, -15, OwnHome},
        {"home healthy enough", 135, 50, O, s2, false, true, -1, true, false, 0, -15, EnemyHome},
        {"reward within 1000", 150, 5, O, s2, false, true, 999, false, false, 0, -15, TheReward},
        {"reward at 1000", 150, 5, O, s2, false, true, 1000, true, false, 0, -15, Enemy},
        {"hatred 9 reaches far", 150, 9, O, s2, false, true, 999, false, false, 0, -15, TheReward},
        {"hatred 10 reaches 500", 150, 10, O, s2, false, true, 999, true, false, 0, -15, Enemy},
        {"near reward, brakes", 150, 19, O, s2, false, true, 499, false, true, 0, -15, TheReward},
        {"reward at 500", 150, 19, O, s2, false, true, 500, true, false, 0, -15, Enemy},
        {"hatred 20 ignores it", 150, 20, O, s2, false, true, 100, true, false, 0, -15, Enemy},
        {"no reward", 150, 5, O, s2, false, true, -1, true, false, 0, -15, Enemy},
        {"enemy at 499", 150, 20, O, {0, 0, 499}, false, true, -1, true, true, 0, 15, Enemy},
        {"enemy at 500", 150, 20, O, {0, 0, 500}, false, true, -1, true, false, 0, -15, Enemy},
        {"planet at 999", 150, 20, p4, s2, false, true, -1, true, false, 15, 15, Planet4},
        {"planet at 1000", 150, 20, offset(p4, 0, 0, -1), s2, false, true, -1, true, false, 0, -15, Enemy},
        {"wreck at 499", 150, 20, offset(p4, 0, 0, 500), s2, false, false, -1, true, false, 15, 15, Planet4},
        {"wreck at 500", 150, 20, offset(p4, 0, 0, 499), s2, false, false, -1, true, false, 0, -15, Enemy},
        {"own at 999", 150, 20, offset(home, 0, 0, 999), s2, false, true, -1, false, false, 15, 15, OwnHome},
        {"halts home", 150, 5, offset(home, -1499, 0, 0), s2, true, true, -1, false, true, 0, 0, Ahead},
        {"heads home", 150, 40, offset(home, -1500, 0, 0), s2, true, true, -1, false, false, 0, -15, OwnHome},
        {"any reward first", 150, 20, O, s2, true, true, 3000, false, false, 0, -15, TheReward},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        freshRound();
        situate(r.hatred, r.pilot);
        w.planets[1].health = r.homeHealth;
        enemy.frame.origin = r.enemyShip;
        enemy.alive = w.planets[2].alive = !r.wipedOut;
        w.planets[4].alive = r.p4Alive;
        w.planets[4].health = r.p4Alive ? 150 : -1;
        w.rewards[3].active = r.reward >= 0;
        w.rewards[3].position = offset(r.pilot, 0, 0, r.reward);
        ai.update();
        const Vector3 aims[] = {offset(r.pilot, 0, 0, -1000), r.enemyShip,
                                w.planets[2].position,        home,
                                w.rewards[3].position,        w.planets[4].position};
        expectControls(r.firing, r.braking, r.strafe, r.fore, aims[r.aim]);
    }
}

TEST_F(Pilot, AttacksAPlanetJitteringSidewaysAndReaimingAfterNinetyTicks) {
    Vector3 planet = world().planets[2].position;
    const int ticks[] = {0, 1, 50, 91, 92};
    const bool reaims[] = {false, true, false, false, true}; // more than 90 ticks after the last re-aim
    srand(42);
    int draws[5];
    for (int& d : draws)
        d = rand();
    srand(42);
    for (int i = 0; i < int(std::size(ticks)); i++) {
        SCOPED_TRACE(ticks[i]);
        situate(40, offset(planet, 1499, 0, 0));
        ai.tick = ticks[i];
        ai.update();
        Vector3 ahead = offset(me.frame.origin, 0, 0, -1000);
        expectControls(true, true, draws[i] % 2 ? -15 : 15, 0, reaims[i] ? planet : ahead);
    }
    situate(40, offset(planet, 1500, 0, 0));
    ai.update();
    expectControls(true, false, 0, -15, planet);
}

TEST_F(Pilot, DefenderChasesItsTargetNearHomeFirstThenTheNearestIntruder) {
    Planet& home = world().planets[1];
    const float parked = -1; // ship left at its spawn point
    // chased -1: none, so it holds still near home.
    struct Case {
        float targetDistance;
        bool targetAlive;
        float intruderDistance;
        int chased;
    } cases[] = {{1899, true, 1000, 2},    {1900, true, 1000, 3}, {parked, true, 2699, 3},
                 {parked, true, 2700, -1}, {1000, false, 800, 3}, {1000, false, 1200, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.targetDistance << " " << c.intruderDistance);
        freshRound();
        home.health = 100;
        situate(5, offset(home.position, 0, 0, 1400));
        if (c.targetDistance != parked) enemy.frame.origin = offset(home.position, -c.targetDistance, 0, 0);
        enemy.alive = c.targetAlive;
        ShipTable[3].frame.origin = offset(home.position, 0, c.intruderDistance, 0);
        ai.update();
        if (c.chased < 0)
            expectControls(false, true, 0, 0, offset(me.frame.origin, 0, 0, -1000));
        else if (!ShipTable[c.chased].alive) // a dead intruder sends it on to that player's planet
            expectControls(true, false, 0, -15, world().planets[c.chased].position);
        else
            expectControls(true, false, 0, -15, ShipTable[c.chased].frame.origin);
    }
}

} // namespace
