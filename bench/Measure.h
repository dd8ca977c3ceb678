#pragma once

#include <functional>

// Repeated timing: one warm-up run, then seven measured runs; the figure is their median.
// A run returns its own time in milliseconds, so that it can leave its preparation out.
namespace Measure {

constexpr int Runs = 7;

struct Pair
{
    double program = 0; // median, milliseconds
    double raw = 0;     // median, milliseconds
    double ratio() const { return raw > 0 ? program / raw : 0; }
};

// The warm-up run's own time goes to *warmUp when asked for.
double median(const std::function<double()> &run, double *warmUp = nullptr);
// The program's run and the reference's run take turns, so that a busy moment of the machine
// falls on both alike.
Pair alternating(const std::function<double()> &program, const std::function<double()> &raw);

// Milliseconds that the call takes.
double timed(const std::function<void()> &call);

} // namespace Measure
