#include "Measure.h"

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

namespace Measure {

namespace {
double middle(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

double median(const std::function<double()> &run, double *warmUp)
{
    const double first = run();
    if (warmUp)
        *warmUp = first;
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i)
        times.push_back(run());
    return middle(times);
}

Pair alternating(const std::function<double()> &program, const std::function<double()> &raw)
{
    raw();
    program();
    std::vector<double> programTimes;
    std::vector<double> rawTimes;
    for (int i = 0; i < Runs; ++i) {
        rawTimes.push_back(raw());
        programTimes.push_back(program());
    }
    return {middle(programTimes), middle(rawTimes)};
}

double timed(const std::function<void()> &call)
{
    QElapsedTimer timer;
    timer.start();
    call();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace Measure
