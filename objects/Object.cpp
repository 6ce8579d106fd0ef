// Scene object base: the sound channel an object owns, and the walks over its children.
#include "objects/Object.h"

Object::Object(audio::Channel channel) : channel(channel) {}

Object::Object(Object&& other) noexcept : Object(other) { other.channel = audio::Channel(); }

Object& Object::operator=(Object&& other) noexcept {
    if (this == &other) return *this;
    if (channel != other.channel && channel.isPlaying()) channel.stop();
    *this = other;
    other.channel = audio::Channel();
    return *this;
}

Object::~Object() {
    if (channel.isPlaying()) channel.stop(); // false for a null channel too
}

void Object::setPaused(bool p) {
    paused = p;
    // A channel that has ended or been stopped may already carry another sound; leave it alone.
    if (channel.isPlaying()) channel.setPaused(p);
}

void Object::setVolume(float v) {
    if (channel) channel.setVolume(v);
}

void Object::updateSound() {
    if (!channel.isPlaying()) return;
    channel.set3DAttributes(getBounds().centre);
    // Channels are handed out paused, so the first update both places the sound and starts it.
    channel.setPaused(paused);
}

void Object::step() {
    update();
    updateSound();
}

void Object::drawChildren() {
    for (Object* child : children)
        child->draw();
}

void Object::drawChildrenTranslucent() {
    for (Object* child : children)
        child->drawTranslucent();
}

void Object::stepChildren() {
    for (Object* child : children) {
        child->update();
        child->updateSound();
    }
}

void Object::checkCollisions(Object& other) {
    if (isCollidable() && other.isCollidable()) {
        CollisionShape theirs = other.getBounds();
        CollisionShape mine = getBounds();
        if (mine.intersects(theirs)) collide(other);
    }
    // Children are visited even when the parents are not collidable: a dead ship's beams still hit.
    for (Object* child : children)
        child->checkCollisions(other);
    for (Object* child : other.children)
        checkCollisions(*child);
}

float Object::distanceTo(Object& other) {
    CollisionShape theirs = other.getBounds();
    return getBounds().distanceTo(theirs);
}
