// Tests of the scene object base: the order of the collision walk over parents and children, and sound.
#include <gtest/gtest.h>

#include <sndfile.h>
#include <string>
#include <vector>

#include "audio/SoundSystem.h"
#include "objects/Object.h"

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

// A paused channel of a five-second positional tone, from a sound system on the silent output.
audio::Channel pausedTone() {
    static audio::SoundSystem* system = nullptr;
    static audio::Sound* tone = nullptr;
    if (!system) {
        std::string path = testing::TempDir() + "object-test-tone.wav";
        SF_INFO info{};
        info.samplerate = 8000;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        std::vector<short> samples(5 * 8000, 1000);
        sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
        sf_close(file);
        audio::createSoundSystem(&system);
        system->init(64, audio::InitNormal, nullptr);
        system->createSound(path.c_str(), audio::Mode3D, nullptr, &tone);
    }
    audio::Channel channel;
    system->playSound(audio::ChannelFree, tone, true, &channel);
    return channel;
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

TEST_F(ObjectTest, PairTestAsksBothThenTakesTheOthersShapeFirst) {
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
}

// A dead ship's beams still hit, and a ship never meets its own beams.
TEST_F(ObjectTest, ChildrenMeetTheOtherSideEvenWhenTheirParentCannot) {
    Probe a("a", false), a1("a1"), a2("a2"), b("b"), b1("b1");
    a.children = {&a1, &a2};
    b.children = {&b1};
    a.checkCollisions(b);
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
    EXPECT_TRUE(parent.paused);
}

TEST_F(ObjectTest, ChannelStartsOnTheFirstStepStaysPausedOnceAskedAndStopsWithTheObject) {
    audio::Channel channel = pausedTone();
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
