// The scene object base: the order of the collision walk over parents and children, and its sound.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/GameAudio.h"
#include "objects/Object.h"
#include "support/GameFixture.h"

namespace {

std::vector<std::string> calls;

// Records every call made on it; all probes sit at the origin so every collidable pair touches.
class Probe : public Object {
  public:
    explicit Probe(std::string name, bool collidable = true, audio::Channel channel = {})
        : Object(channel), name(std::move(name)), collidable(collidable) {}

    CollisionShape getBounds() override {
        calls.push_back(name + ".getBounds");
        return CollisionShape(Sphere, Vector3(), 10);
    }
    bool isCollidable() override {
        calls.push_back(name + ".isCollidable");
        return collidable;
    }
    void collide(Object& other) override { calls.push_back(name + ">" + static_cast<Probe&>(other).name); }
    void collideWithPlanet(Planet&) override {}
    void collideWithShip(Ship&) override {}
    void collideWithProjectile(Projectile&) override {}
    void collideWithReward(Reward&) override {}
    void draw() override { calls.push_back(name + ".draw"); }
    void drawTranslucent() override { calls.push_back(name + ".drawTranslucent"); }
    void update() override { calls.push_back(name + ".update"); }

    std::string name;
    bool collidable;
};

bool channelPaused(audio::Channel channel) {
    EXPECT_TRUE(channel.isPlaying());
    return channel.isPaused();
}

} // namespace

TEST(ObjectWalks, PairTestAsksBothThenTakesTheOthersShapeFirstAndEveryWalkTakesChildrenInOrder) {
    calls.clear();
    Probe a("a"), b("b");
    a.checkCollisions(b);
    EXPECT_EQ(calls, (std::vector<std::string>{"a.isCollidable", "b.isCollidable", "b.getBounds",
                                               "a.getBounds", "a>b"}));

    calls.clear();
    Probe dead("dead", false);
    dead.checkCollisions(b);
    EXPECT_EQ(calls, (std::vector<std::string>{"dead.isCollidable"}));

    // A dead ship's beams still hit, and a ship never meets its own beams.
    Probe a1("a1"), a2("a2"), b1("b1");
    dead.children = {&a1, &a2};
    b.children = {&b1};
    dead.checkCollisions(b);
    std::vector<std::string> contacts;
    for (const std::string& c : calls)
        if (c.find('>') != std::string::npos) contacts.push_back(c);
    // Beam against beam is tested twice this way; twin beams never touch, so nothing comes of it.
    EXPECT_EQ(contacts, (std::vector<std::string>{"a1>b", "a1>b1", "a2>b", "a2>b1", "a1>b1", "a2>b1"}));

    // Without a channel, pausing and stepping never ask for the shape a sound would be placed at.
    calls.clear();
    dead.drawChildren();
    dead.drawChildrenTranslucent();
    dead.stepChildren();
    dead.setPaused(true);
    dead.setVolume(0.5f);
    dead.step();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"a1.draw", "a2.draw", "a1.drawTranslucent", "a2.drawTranslucent",
                                        "a1.update", "a2.update", "dead.update"}));
}

using ObjectSound = testing_support::GameTest;

// A value moved in stops the target's own channel (a paused loop nobody holds any more would keep its
// channel for ever) but not the one it hands over, also when it is the same, as a reset does.
TEST_F(ObjectSound, ChannelStartsOnTheFirstStepStaysPausedOnceAskedAndStopsWhenMovedOverOrWithTheObject) {
    calls.clear();
    const audio::Channel channel = playShimmer(), handed = playShimmer(); // looped, and handed out paused
    ASSERT_TRUE(channelPaused(channel));
    {
        Probe probe("p", true, channel);
        probe.step();
        EXPECT_EQ(calls, (std::vector<std::string>{"p.update", "p.getBounds"}));
        EXPECT_FALSE(channelPaused(channel));
        probe.setPaused(true);
        EXPECT_TRUE(channelPaused(channel));
        channel.setPaused(false); // whoever unpaused it, the object's wish wins at the next step
        probe.step();
        EXPECT_TRUE(channelPaused(channel));
        probe = Probe("s", true, handed);
        EXPECT_FALSE(channel.isPlaying());
        EXPECT_TRUE(handed.isPlaying() && probe.channel == handed);
        probe = Probe("again", true, handed);
        EXPECT_TRUE(handed.isPlaying());
    }
    EXPECT_FALSE(handed.isPlaying());
}
