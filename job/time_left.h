#pragma once
// The time left as a person wants to read it: it counts down with the
// engraving time and is drawn gently towards each new estimate, so it does
// not move a second up and down with every reported dot. An estimate far
// from the countdown (a skip, a new start, the rate first known) is taken at
// once.

#include <QtGlobal>

namespace kovra::job {

class TimeLeftSmoother {
public:
    // How quickly the countdown is drawn to the estimate (a time constant).
    static constexpr double FollowSeconds = 3.0;
    // An estimate further than this from the countdown is taken as it is.
    static constexpr double JumpSeconds = 3.0;
    static constexpr double JumpPart = 0.1;

    // activeMs: engraving time so far, pauses left out; estimate: seconds
    // left at the current rate. Returns the whole seconds to show.
    int Update(qint64 activeMs, double estimate);
    void Reset();

private:
    double m_shown = -1; // seconds, before rounding
    qint64 m_atMs = 0;   // activeMs of m_shown
    int m_whole = -1;    // what was shown last
};

} // namespace kovra::job
