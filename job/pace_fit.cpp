#include "job/pace_fit.h"

#include <algorithm>

namespace kovra::job {

namespace {
constexpr int Refinements = 4;
} // namespace

void PaceFit::Reset(qint64 activeMs, Place place)
{
    m_stretches.clear();
    m_known = false;
    m_perRow = m_perDot = 0;
    m_stretchStart = m_lastReport = activeMs;
    m_from = m_place = place;
    m_leadIn = true;
}

void PaceFit::Resume(qint64 activeMs)
{
    m_stretchStart = m_lastReport = activeMs;
    m_from = m_place;
    m_leadIn = true;
}

void PaceFit::Advance(qint64 activeMs, Place place)
{
    // What arrives at one moment was done before it: a stretch ends at the
    // last report before a later one.
    if (activeMs > m_lastReport && m_lastReport - m_stretchStart >= StretchMs)
        close(m_lastReport);
    if (place.position >= m_place.position)
        m_place = place;
    m_lastReport = activeMs;
}

void PaceFit::Break(qint64 activeMs, Place place)
{
    close(m_lastReport);
    m_stretchStart = m_lastReport = activeMs;
    m_from = m_place = place;
}

void PaceFit::close(qint64 end)
{
    const double seconds = double(end - m_stretchStart) / 1000.0;
    const bool timed = seconds > 0 && m_place.position > m_from.position;
    if (timed && !m_leadIn) {
        m_stretches.push_back({m_from, m_place, seconds});
        fit();
    }
    if (timed)
        m_leadIn = false;
    m_stretchStart = end;
    m_from = m_place;
}

PaceFit::Parts PaceFit::parts(Place from, Place to, const double* split) const
{
    // Each row's share of positions and its own dots (exact at both ends).
    Parts p;
    const int last = std::min((to.position - 1) / Side, Side - 1);
    for (int row = from.position / Side; row <= last; ++row) {
        const int lo = std::max(from.position, row * Side);
        const int hi = std::min(to.position, (row + 1) * Side);
        const qint64 dotsFrom = std::max(from.passed, m_rowStart[size_t(row)]);
        const qint64 dotsTo = std::min(to.passed, m_rowStart[size_t(row) + 1]);
        // split: the time per light row and per dot that tell the kinds apart.
        const bool lightRow = split && split[0] > split[1] * rowDots(row);
        if (!split || lightRow)
            p.rows += double(hi - lo) / Side;
        if (!split || !lightRow)
            p.dots += double(std::max<qint64>(dotsTo - dotsFrom, 0));
    }
    return p;
}

void PaceFit::fit()
{
    // First every row as light time plus dot time; then each row by the
    // part that decides it, as the last fit sees it.
    double pace[2] = {0, 0}; // per light row, per dot
    for (int round = 0; round < Refinements; ++round) {
        double rr = RowPrior, rd = 0, dd = 0, tr = 0, td = 0;
        for (const Stretch& s : m_stretches) {
            const Parts p = parts(s.from, s.to, round > 0 ? pace : nullptr);
            rr += p.rows * p.rows;
            rd += p.rows * p.dots;
            dd += p.dots * p.dots;
            tr += s.seconds * p.rows;
            td += s.seconds * p.dots;
        }
        if (dd <= 0)
            return;
        const double det = rr * dd - rd * rd;
        double perRow = (tr * dd - td * rd) / det;
        double perDot = (rr * td - rd * tr) / det;
        if (perRow < 0) {
            perRow = 0;
            perDot = td / dd;
        }
        if (perDot <= 0)
            return;
        pace[0] = perRow;
        pace[1] = perDot;
    }
    m_perRow = pace[0];
    m_perDot = pace[1];
    m_known = true;
    m_secondsAfter[Side] = 0;
    for (int row = Side - 1; row >= 0; --row)
        m_secondsAfter[size_t(row)] = m_secondsAfter[size_t(row) + 1] + rowSeconds(row);
}

std::optional<double> PaceFit::SecondsFrom(Place place) const
{
    if (!m_known)
        return std::nullopt;
    const int row = std::clamp(place.position, 0, Side * Side) / Side;
    if (row >= Side)
        return 0.0;
    // The rest of this row: its light part, or the dots it still has.
    const double rest = light(row) ? m_perRow * (Side - place.position % Side) / Side
                                   : m_perDot * double(std::max<qint64>(m_rowStart[size_t(row) + 1] - place.passed, 0));
    return rest + m_secondsAfter[size_t(row) + 1];
}

} // namespace kovra::job
