// The ship's controls: thrust, fire, aim and steering, the only way input and pilots fly a ship.
#include "ships/Ship.h"

namespace {

// The exhaust shows exactly while some thrust is requested.
void updateEmitting(Ship& s) { s.smokeTrail.emitting = s.thrust.length() > 0; }

} // namespace

void Ship::setFiring(bool on) { firing = on && alive; }

void Ship::faceDirection(Vector3 d) {
    // A zero direction, or one along the ship's up axis, gives no frame: the ship keeps its heading
    // for this call rather than taking on NaN axes it could never lose.
    frame.lookAlong(d);
}

void Ship::strafeLeft() {
    if (!alive) return;
    thrust.x = -ThrustStep;
    updateEmitting(*this);
}

void Ship::strafeRight() {
    if (!alive) return;
    thrust.x = ThrustStep;
    updateEmitting(*this);
}

void Ship::thrustForward() {
    if (!alive) return;
    thrust.z = -ThrustStep;
    updateEmitting(*this);
}

void Ship::thrustBackward() {
    if (!alive) return;
    thrust.z = ThrustStep;
    updateEmitting(*this);
}

void Ship::stopStrafe() {
    if (!alive) return;
    thrust.x = 0;
    updateEmitting(*this);
}

void Ship::stopThrust() {
    if (!alive) return;
    thrust.z = 0;
    updateEmitting(*this);
}

void Ship::stopEngines() {
    if (!alive) return;
    thrust.x = 0;
    thrust.z = 0;
    updateEmitting(*this);
}

void Ship::steer(float dx, float dy) {
    // Pitch first, then yaw about the pitched frame; the axes are left as the rotations make them.
    frame.rotateAboutX(dy * SteeringGain);
    frame.rotateAboutY(dx * SteeringGain);
}
