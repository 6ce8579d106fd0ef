// π for the tools, in double for the models and sounds and in float for the pictures.
#pragma once

constexpr double Pi = 3.14159265358979323846;
constexpr float PiF = float(Pi);
