#pragma once
// The doctor's advice as a table of rules, each a condition on what was found
// and the findings it writes when the condition holds. The rules are tried in
// the table's order; the findings are then put in order of severity
// (problems, warnings, notes), keeping that order within each.

#include "doctor/doctor_report.h"

#include <algorithm>

namespace kovra::doctor {

template <typename Context>
struct AdviceRule {
    bool (*applies)(const Context&);
    void (*advise)(Context&);
};

template <typename Context, typename Rules>
void ApplyAdvice(Context& context, const Rules& rules, QList<Finding>& findings)
{
    for (const AdviceRule<Context>& rule : rules)
        if (rule.applies(context))
            rule.advise(context);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.severity < b.severity; });
}

inline Finding MakeFinding(Severity severity, const QString& text, QList<Fix> fixes = {})
{
    return Finding{severity, text, std::move(fixes)};
}

} // namespace kovra::doctor
