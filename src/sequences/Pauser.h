#pragma once
// The waits between device commands, as an injected operation.
//
// The mouse needs time between some commands (after the selection byte is
// read, after the CPI block is read, before an activation). Whoever drives a
// sequence decides how to wait: the window keeps repainting while it waits,
// the command-line tool simply sleeps, and tests only add the pauses up.

namespace k4812 {

class Pauser {
public:
    virtual ~Pauser() = default;
    // Waits about `milliseconds` before the next command.
    virtual void pause(int milliseconds) = 0;
};

// Sleeps on the calling thread; for programs with no window to keep alive.
class SleepingPauser final : public Pauser {
public:
    void pause(int milliseconds) override;
};

} // namespace k4812
