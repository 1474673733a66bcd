#include "shell/estimate_store.h"

#include <cmath>

namespace kovra::shell {

namespace {
QString keyFor(int burnTime) { return QStringLiteral("DotsPerSecondAtBurnTime%1").arg(burnTime); }
} // namespace

std::optional<double> EstimateStore::LearnedRate(int burnTime) const
{
    const auto known = m_known.find(burnTime);
    if (known != m_known.end())
        return known->second;
    return m_known[burnTime] = readRate(burnTime);
}

std::optional<double> EstimateStore::readRate(int burnTime) const
{
    const QString text = m_config.Read(QLatin1String(Section), keyFor(burnTime), QString());
    const double rate = DecimalTextToNumber(text);
    // A hand-edited or damaged value gives no estimate rather than a wild one.
    if (!std::isfinite(rate) || rate <= 0 || rate > 1e7)
        return std::nullopt;
    return rate;
}

void EstimateStore::LearnRate(int burnTime, double dotsPerSecond)
{
    if (!std::isfinite(dotsPerSecond) || dotsPerSecond <= 0)
        return;
    const std::optional<double> old = readRate(burnTime);
    const double rate = old ? (*old + dotsPerSecond) / 2 : dotsPerSecond;
    m_config.Write(QLatin1String(Section), keyFor(burnTime), QString::number(rate, 'f', 2));
    m_known.erase(burnTime);
}

} // namespace kovra::shell
