// The ship's controls: thrust, fire, aim and steering, the only way input and pilots fly a ship.
#include "ships/Ship.h"

void Ship::setFiring(bool on) { firing = on && alive; }

void Ship::faceDirection(Vector3 d) {
    // A zero direction, or one along the ship's up axis, gives no frame: the ship keeps its heading
    // for this call rather than taking on NaN axes it could never lose.
    frame.lookAlong(d);
}

// A wreck ignores its thrust controls; the exhaust shows exactly while some thrust is requested.
void Ship::setThrust(float lateral, float foreAft) {
    if (!alive) return;
    thrust.x = lateral;
    thrust.z = foreAft;
    smokeTrail.emitting = thrust.length() > 0;
}

void Ship::strafeLeft() { setThrust(-ThrustStep, thrust.z); }
void Ship::strafeRight() { setThrust(ThrustStep, thrust.z); }
void Ship::thrustForward() { setThrust(thrust.x, -ThrustStep); }
void Ship::thrustBackward() { setThrust(thrust.x, ThrustStep); }
void Ship::stopStrafe() { setThrust(0, thrust.z); }
void Ship::stopThrust() { setThrust(thrust.x, 0); }
void Ship::stopEngines() { setThrust(0, 0); }

void Ship::steer(float dx, float dy) {
    // Pitch first, then yaw about the pitched frame; the axes are left as the rotations make them.
    frame.rotateAboutX(dy * SteeringGain);
    frame.rotateAboutY(dx * SteeringGain);
}
