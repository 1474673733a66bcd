#include "job/pace_fit.h"

namespace kovra::job {

void PaceFit::Reset(qint64 activeMs)
{
    *this = PaceFit();
    m_stretchStart = activeMs;
    m_lastReport = activeMs;
}

void PaceFit::Advance(qint64 activeMs, double rows, qint64 dots)
{
    // Reports come in bursts: what arrives at one moment was done before it,
    // so a stretch ends at the last report before a later one.
    if (activeMs > m_lastReport && m_lastReport - m_stretchStart >= StretchMs)
        close(m_lastReport);
    m_rows += rows;
    m_dots += double(dots);
    m_lastReport = activeMs;
}

void PaceFit::Break(qint64 activeMs)
{
    close(m_lastReport);
    m_stretchStart = activeMs;
    m_lastReport = activeMs;
}

void PaceFit::close(qint64 end)
{
    const double t = double(end - m_stretchStart) / 1000.0;
    if (t > 0 && (m_rows > 0 || m_dots > 0)) {
        m_rr += m_rows * m_rows;
        m_rd += m_rows * m_dots;
        m_dd += m_dots * m_dots;
        m_tr += t * m_rows;
        m_td += t * m_dots;
    }
    m_stretchStart = end;
    m_rows = 0;
    m_dots = 0;
}

std::optional<double> PaceFit::SecondsFor(double rows, qint64 dots) const
{
    if (m_dd <= 0)
        return std::nullopt;
    // seconds = perRow * rows + perDot * dots, the time per row held to zero
    // as far as the stretches leave it free.
    const double rr = m_rr + RowPrior;
    const double det = rr * m_dd - m_rd * m_rd;
    double perRow = det > 0 ? (m_tr * m_dd - m_td * m_rd) / det : 0;
    double perDot = det > 0 ? (rr * m_td - m_rd * m_tr) / det : 0;
    if (perRow < 0 || det <= 0) {
        perRow = 0;
        perDot = m_td / m_dd;
    }
    if (perDot <= 0)
        return std::nullopt;
    return perRow * rows + perDot * double(dots);
}

} // namespace kovra::job
