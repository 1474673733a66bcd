#pragma once
// The machine's pace as it shows itself: the engraving time of each stretch
// of about half a second, fitted as a time per row passed plus a time per dot
// burned (least squares). A machine sweeps light rows quickly and dark ones
// slowly, so a time per dot alone misjudges a picture with light margins or
// a light band; the time per row carries that part. Where the two cannot be
// told apart (every stretch as dark as the others), the fit leans to the dots.

#include <QtGlobal>

#include <optional>

namespace kovra::job {

class PaceFit {
public:
    // A stretch is closed once it spans this much engraving time (at the
    // next report that comes later).
    static constexpr qint64 StretchMs = 500;
    // How strongly the time per row is held to zero where the stretches say
    // nothing about it (in rows squared, the weight of one stretch of a row).
    static constexpr double RowPrior = 1.0;

    // Forgets everything; the first stretch begins at activeMs.
    void Reset(qint64 activeMs);
    // Rows passed and dots burned one after the other, reported at activeMs.
    void Advance(qint64 activeMs, double rows, qint64 dots);
    // A jump: the stretch ends with the last report, and the jump itself
    // counts for nothing.
    void Break(qint64 activeMs);
    // The time for rows and dots still to go; nothing until a stretch with
    // dots has been seen.
    std::optional<double> SecondsFor(double rows, qint64 dots) const;

private:
    void close(qint64 end);

    qint64 m_stretchStart = 0;
    qint64 m_lastReport = 0;
    double m_rows = 0;
    double m_dots = 0;
    // Sums of the least squares: r rows, d dots, t seconds of each stretch.
    double m_rr = 0, m_rd = 0, m_dd = 0, m_tr = 0, m_td = 0;
};

} // namespace kovra::job
