#pragma once

#include <cstdint>
#include <functional>

namespace vardel {

// Demo time in ticks of 1/60 second, as the frame loop measures it.
inline constexpr double ticksPerSecond = 60.0;

// Where the frame loop's time comes from: the wall clock, a fixed step per frame (headless
// runs, capture) or a script (tests).
class DemoClock {
public:
    virtual ~DemoClock() = default;
    // Called once before the first frame: the reference the first step is measured from.
    virtual void start() = 0;
    // Ticks elapsed since the previous call (or since start), called once per frame.
    virtual double advance() = 0;
};

// The wall clock read in whole milliseconds that wrap round as unsigned 32-bit numbers.
class MillisecondClock final : public DemoClock {
public:
    using Reader = std::function<std::uint32_t()>;
    // Reads steady time when no reader is given.
    explicit MillisecondClock(Reader read = {});

    void start() override;
    double advance() override;

private:
    Reader read;
    std::uint32_t lastClock = 0;
};

// The same number of ticks every frame, whatever time it really took.
class FixedStepClock final : public DemoClock {
public:
    explicit FixedStepClock(double ticksPerFrame = 1.0) : step(ticksPerFrame) {}
    void start() override {}
    double advance() override { return step; }

private:
    double step;
};

// Milliseconds of a steady clock, wrapping round at 2^32.
std::uint32_t steadyMilliseconds();

} // namespace vardel
