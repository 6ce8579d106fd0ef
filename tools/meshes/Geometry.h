// Smooth one-dimensional profiles for shaping the models, and the vectors they are shaped with.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

#include "tools/support/Pi.h"
#include "tools/support/Vec3.h"

inline double lerp(double a, double b, double t) { return a + (b - a) * t; }

// A value given at a few keys and interpolated between them by a monotone cubic, so a profile never
// overshoots its keys (a half-width that dips below zero would turn a hull inside out).
class Profile {
  public:
    Profile(std::vector<std::pair<double, double>> keys);

    double operator()(double t) const;

  private:
    std::vector<double> ts, values, slopes;
};

inline Profile::Profile(std::vector<std::pair<double, double>> keys) {
    for (auto& [t, v] : keys) {
        ts.push_back(t);
        values.push_back(v);
    }
    const size_t n = ts.size();
    std::vector<double> secant(n > 1 ? n - 1 : 0);
    for (size_t i = 0; i + 1 < n; ++i)
        secant[i] = (values[i + 1] - values[i]) / (ts[i + 1] - ts[i]);
    slopes.assign(n, 0);
    for (size_t i = 0; i < n; ++i) {
        if (i == 0)
            slopes[i] = n > 1 ? secant[0] : 0;
        else if (i == n - 1)
            slopes[i] = secant[i - 1];
        else if (secant[i - 1] * secant[i] <= 0)
            slopes[i] = 0;
        else
            slopes[i] = 2 / (1 / secant[i - 1] + 1 / secant[i]); // harmonic mean keeps it monotone
    }
}

inline double Profile::operator()(double t) const {
    if (t <= ts.front()) return values.front();
    if (t >= ts.back()) return values.back();
    size_t i = 0;
    while (t > ts[i + 1])
        ++i;
    const double h = ts[i + 1] - ts[i], s = (t - ts[i]) / h;
    const double h00 = (1 + 2 * s) * (1 - s) * (1 - s), h10 = s * (1 - s) * (1 - s);
    const double h01 = s * s * (3 - 2 * s), h11 = s * s * (s - 1);
    return h00 * values[i] + h10 * h * slopes[i] + h01 * values[i + 1] + h11 * h * slopes[i + 1];
}
