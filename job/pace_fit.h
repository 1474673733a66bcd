#pragma once
// The machine's pace as it shows itself. The engraving time of each stretch
// of about half a second is fitted (least squares) to a row model: a row
// takes the time its dots need or, when it has few or none, the time the
// machine needs to pass a row, whichever is longer. Light margins, a light
// band or sparse dots then cost what they really cost, and the rows still to
// come, whose dots the picture tells, are summed row by row.
//
// The first stretch of a run, and the first after a pause, carry the
// machine's start-up and are left out of the fit.

#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

namespace kovra::job {

class PaceFit {
public:
    static constexpr int Side = 512;
    // A stretch is closed once it spans this much engraving time (at the
    // next report that comes later: reports arrive in bursts).
    static constexpr qint64 StretchMs = 500;
    // How strongly the time per light row is held to zero where the
    // stretches say nothing about it (in rows squared).
    static constexpr double RowPrior = 1.0;

    // rowStart: dark dots before each row of the picture (513 entries).
    explicit PaceFit(const std::array<qint64, Side + 1>& rowStart) : m_rowStart(rowStart) {}

    // A place on the raster: position = row * 512 + column, passed = the
    // dark dots before it.
    struct Place {
        int position = 0;
        qint64 passed = 0;
    };

    // Forgets everything: a run begins at place.
    void Reset(qint64 activeMs, Place place);
    // The machine goes on after a pause.
    void Resume(qint64 activeMs);
    // It burned its way, dot after dot, to place.
    void Advance(qint64 activeMs, Place place);
    // It jumped to place (a skip): the jump counts for nothing.
    void Break(qint64 activeMs, Place place);
    // The time from place to the end; nothing until dark rows were timed.
    std::optional<double> SecondsFrom(Place place) const;

    double secondsPerLightRow() const { return m_perRow; }

private:
    struct Stretch {
        Place from;
        Place to;
        double seconds;
    };
    // The parts of the rows from..to: light time or dot time, as each row is.
    struct Parts {
        double rows = 0;
        double dots = 0;
    };
    Parts parts(Place from, Place to, const double* split) const;
    void close(qint64 end);
    void fit();
    double rowDots(int row) const { return double(m_rowStart[size_t(row) + 1] - m_rowStart[size_t(row)]); }
    bool light(int row) const { return m_perRow > m_perDot * rowDots(row); }
    double rowSeconds(int row) const { return std::max(m_perRow, m_perDot * rowDots(row)); }

    const std::array<qint64, Side + 1>& m_rowStart;
    std::vector<Stretch> m_stretches;
    qint64 m_stretchStart = 0;
    qint64 m_lastReport = 0;
    Place m_from;            // where the open stretch began
    Place m_place;           // the last place reported
    bool m_leadIn = true;    // the open stretch is a run's or a resumption's first
    bool m_known = false;
    double m_perRow = 0;
    double m_perDot = 0;
    std::array<double, Side + 1> m_secondsAfter{}; // time of the rows from each one to the end
};

} // namespace kovra::job
