#include "shell/job_end_notice.h"

#include "job/job_progress.h"
#include "link/link_events.h"
#include "platform/desktop_notifier.h"
#include "shell/job_progress_view.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSystemTrayIcon>
#include <QWidget>

namespace kovra::shell {

namespace {
Q_LOGGING_CATEGORY(lcShell, "kovra.shell", QtInfoMsg)
const QString Title = QStringLiteral("Kovra Laser");
} // namespace

JobEndNotice::JobEndNotice(link::LinkEvents& link, const job::JobProgress& progress,
                           platform::DesktopNotifier& notifier, QWidget& window, std::function<int()> runSeconds)
    : m_progress(progress)
    , m_notifier(notifier)
    , m_window(window)
    , m_runSeconds(std::move(runSeconds))
{
    connect(&link, &link::LinkEvents::carvingFinished, this, [this] { finished(); });
}

JobEndNotice::~JobEndNotice() = default;

QString JobEndNotice::Body(int seconds)
{
    return tr("Engraving finished in %1.").arg(JobProgressView::Duration(seconds));
}

void JobEndNotice::finished()
{
    // The run clock goes on over a second Start after the end; the job's own time does not.
    const job::JobProgressState job = m_progress.State();
    const int seconds = job.phase == job::JobProgressState::Phase::Finished ? job.activeSeconds
                        : m_runSeconds                                       ? m_runSeconds()
                                                                             : 0;
    const QString body = Body(seconds);
    if (!m_notifier.Notify(Title, body)) {
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            if (!m_tray) {
                m_tray = std::make_unique<QSystemTrayIcon>(m_window.windowIcon());
                m_tray->setToolTip(Title);
            }
            m_tray->show();
            m_tray->showMessage(Title, body);
        } else {
            qCInfo(lcShell).noquote() << "no notification service and no tray:" << body;
        }
    }
    QApplication::alert(&m_window);
}

} // namespace kovra::shell
