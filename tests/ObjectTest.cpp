// The scene object base: the order of the collision walk over parents and children, and its sound.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/SoundSystem.h"
#include "objects/Object.h"
#include "support/SoundProbe.h"

namespace {

std::vector<std::string> calls;

// Records every call made on it; all probes sit at the origin so every collidable pair touches.
class Probe : public Object {
  public:
    explicit Probe(std::string name, bool collidable = true, audio::Channel channel = {})
        : Object(channel), name(std::move(name)), collidable(collidable) {}

    CollisionShape getBounds() override {
        calls.push_back(name + ".getBounds");
        return CollisionShape(Sphere, position, 10);
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
    Vector3 position;
};

std::vector<std::string> contactsOnly() {
    std::vector<std::string> contacts;
    for (const std::string& c : calls)
        if (c.find('>') != std::string::npos) contacts.push_back(c);
    return contacts;
}

bool channelPaused(audio::Channel channel) {
    bool paused = false;
    EXPECT_EQ(channel.getPaused(paused), audio::OK);
    return paused;
}

class ObjectTest : public ::testing::Test {
  protected:
    void SetUp() override { calls.clear(); }
};

} // namespace

TEST_F(ObjectTest, PairTestAsksBothThenTakesTheOthersShapeFirstAndChildrenMeetTheOtherSide) {
    Probe a("a"), b("b");
    a.checkCollisions(b);
    EXPECT_EQ(calls, (std::vector<std::string>{"a.isCollidable", "b.isCollidable", "b.getBounds",
                                               "a.getBounds", "a>b"}));

    calls.clear();
    b.position = Vector3(0, 0, 20); // touching only: radii 10 + 10 are not more than 20
    a.checkCollisions(b);
    EXPECT_TRUE(contactsOnly().empty());

    calls.clear();
    Probe dead("dead", false);
    dead.checkCollisions(b);
    EXPECT_EQ(calls, (std::vector<std::string>{"dead.isCollidable"}));

    calls.clear();
    EXPECT_FLOAT_EQ(a.distanceTo(b), 20);
    EXPECT_EQ(calls, (std::vector<std::string>{"b.getBounds", "a.getBounds"}));

    // A dead ship's beams still hit, and a ship never meets its own beams.
    Probe a1("a1"), a2("a2"), b1("b1");
    b.position = Vector3();
    dead.children = {&a1, &a2};
    b.children = {&b1};
    dead.checkCollisions(b);
    // Beam against beam is tested twice this way; twin beams never touch, so nothing comes of it.
    EXPECT_EQ(contactsOnly(), (std::vector<std::string>{"a1>b", "a1>b1", "a2>b", "a2>b1", "a1>b1", "a2>b1"}));
}

TEST_F(ObjectTest, ChildWalksKeepListOrderAndSilentObjectsNeverAskForTheirShape) {
    Probe parent("p"), c1("c1"), c2("c2");
    parent.children = {&c1, &c2};
    parent.drawChildren();
    parent.drawChildrenTranslucent();
    parent.stepChildren();
    parent.setPaused(true);
    parent.setVolume(0.5f);
    parent.step();
    EXPECT_EQ(calls, (std::vector<std::string>{"c1.draw", "c2.draw", "c1.drawTranslucent",
                                               "c2.drawTranslucent", "c1.update", "c2.update", "p.update"}));
}

TEST_F(ObjectTest, ChannelStartsOnTheFirstStepStaysPausedOnceAskedAndStopsWithTheObject) {
    // A paused five-second positional tone from a sound system on the silent output.
    audio::SoundSystem* system = nullptr;
    audio::Sound* tone = nullptr;
    ASSERT_EQ(audio::createSoundSystem(&system), audio::OK);
    system->init(64, audio::InitNormal, nullptr);
    const std::string path = testing_support::writeTone(testing_support::makeTempDir(), "tone.wav", 440, 5);
    system->createSound(path.c_str(), audio::Mode3D, nullptr, &tone);
    audio::Channel channel;
    system->playSound(audio::ChannelFree, tone, true, &channel);
    ASSERT_TRUE(channel);
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
    }
    bool playing = true;
    channel.isPlaying(playing);
    EXPECT_FALSE(playing);
}
