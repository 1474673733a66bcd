#pragma once
// The end of an engraving, told to a user who is not looking: a desktop
// notification with the run time (the tray's balloon where the desktop has no
// notification service) and the window asking for attention. The time given
// is the job's own, the one its progress shows ("finished in 1:20").

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSystemTrayIcon;
class QWidget;

namespace kovra::job {
class JobProgress;
}
namespace kovra::link {
class LinkEvents;
}
namespace kovra::platform {
class DesktopNotifier;
}

namespace kovra::shell {

class JobEndNotice final : public QObject {
    Q_OBJECT
public:
    // progress must be made before this, so it has seen the end first.
    // runSeconds: the run clock, for a job the progress did not follow (one
    // started on a picture that was in the machine before the program ran).
    JobEndNotice(link::LinkEvents& link, const job::JobProgress& progress, platform::DesktopNotifier& notifier,
                 QWidget& window, std::function<int()> runSeconds);
    ~JobEndNotice() override;

    static QString Body(int seconds);

private:
    void finished();

    const job::JobProgress& m_progress;
    platform::DesktopNotifier& m_notifier;
    QWidget& m_window;
    std::function<int()> m_runSeconds;
    std::unique_ptr<QSystemTrayIcon> m_tray;
};

} // namespace kovra::shell
