#include "shell/settings/estimate_store.h"

#include <QLoggingCategory>

#include <cmath>

namespace kovra::shell {

namespace {
Q_LOGGING_CATEGORY(lcEstimates, "kovra.shell", QtInfoMsg)
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
    // The job goes on either way; the next one just starts without an estimate.
    if (!m_config.Write(QLatin1String(Section), keyFor(burnTime), QString::number(rate, 'f', 2)))
        qCWarning(lcEstimates).noquote() << "cannot keep the learned rate: cannot write" << m_config.file();
    m_known.erase(burnTime);
}

} // namespace kovra::shell
