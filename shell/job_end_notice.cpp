#include "shell/job_end_notice.h"

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

JobEndNotice::JobEndNotice(link::LinkEvents& link, platform::DesktopNotifier& notifier, QWidget& window,
                           std::function<int()> runSeconds)
    : m_notifier(notifier)
    , m_window(window)
    , m_runSeconds(std::move(runSeconds))
{
    connect(&link, &link::LinkEvents::carvingFinished, this, [this] { finished(); });
}

JobEndNotice::~JobEndNotice() = default;

QString JobEndNotice::Body(int runSeconds)
{
    return QStringLiteral("Engraving finished in %1.").arg(JobProgressView::Duration(runSeconds));
}

void JobEndNotice::finished()
{
    const QString body = Body(m_runSeconds ? m_runSeconds() : 0);
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
