#pragma once
// The job's progress in the window: the dot count and a first estimate once
// the picture is in the machine, then the share of dots passed and the time
// left while it engraves ("37 %  ·  1:24 left"). It takes the place of the
// transfer bar, which is free then, so it covers none of the controls.

#include "job/job_progress.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>
#include <QString>

class QWidget;

namespace kovra::link {
class LinkEvents;
}

namespace kovra::shell {

class JobProgressView {
    Q_DECLARE_TR_FUNCTIONS(JobProgressView)
public:
    // The bar is made as a sibling of transferBar, over the same place.
    JobProgressView(job::JobProgress& progress, link::LinkEvents& link, QWidget* transferBar);
    ~JobProgressView();
    JobProgressView(const JobProgressView&) = delete;
    JobProgressView& operator=(const JobProgressView&) = delete;

    // "1:24", "12:05", "1:02:03".
    static QString Duration(int seconds);
    // The text for a state, in the user's language; also printed by the
    // command-line engraving, which stays in English.
    static QString Text(const job::JobProgressState& state);
    // The language changed: the bar says it again.
    void Retranslate() { refresh(); }

    QProgressBar* bar() const { return m_bar; }

private:
    void refresh();

    job::JobProgress& m_progress;
    QPointer<QProgressBar> m_bar;
    bool m_transferring = false;
};

} // namespace kovra::shell
