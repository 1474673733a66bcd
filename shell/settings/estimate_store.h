#pragma once
// The engraving rates learned from finished jobs, kept in Config.ini in a
// section of their own ([Estimates], one key per burn time), so the next
// job at the same burn time starts with an estimate.

#include "job/job_progress.h"
#include "shell/settings/config_file.h"

#include <map>

namespace kovra::shell {

class EstimateStore final : public job::RateStore {
public:
    static constexpr const char* Section = "Estimates";
    explicit EstimateStore(ConfigFile& config) : m_config(config) {}

    std::optional<double> LearnedRate(int burnTime) const override;
    // A new measurement moves the stored rate halfway towards it: pictures
    // differ, and one unusual job should not undo the others.
    void LearnRate(int burnTime, double dotsPerSecond) override;

private:
    std::optional<double> readRate(int burnTime) const;

    ConfigFile& m_config;
    // The file is read once per burn time: the progress asks at every
    // reported position until it has measured a rate of its own.
    mutable std::map<int, std::optional<double>> m_known;
};

} // namespace kovra::shell
