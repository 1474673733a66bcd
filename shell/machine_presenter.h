#pragma once
// Turns what the link and the job report into the window's log lines,
// captions, enabled states and boxes, in the order each event calls for.
// The window and the command-line engraving use it alike, each with its own
// surface.

#include "job/job_events.h"
#include "link/link_events.h"
#include "shell/machine_surface.h"

#include <QObject>

namespace kovra::shell {

class MachinePresenter final : public QObject {
    Q_OBJECT
public:
    MachinePresenter(link::LinkEvents& link, job::JobEvents& job, MachineSurface& surface);

    // The run clock's caption: " 0m:0s" with two-digit fields after a leading
    // space, minutes growing past two digits; "00:00" (no space) when reset.
    static QString RunClockCaption(int seconds);
    // The line for devices the scan could not open.
    static QString DeniedDevicesLine(const QString& group, const QStringList& devices);

private:
    void wireLink(link::LinkEvents& link);
    void wireJob(job::JobEvents& job);

    MachineSurface& m_surface;
};

} // namespace kovra::shell
