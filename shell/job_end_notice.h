#pragma once
// The end of an engraving, told to a user who is not looking: a desktop
// notification with the run time (the tray's balloon where the desktop has no
// notification service) and the window asking for attention.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSystemTrayIcon;
class QWidget;

namespace kovra::link {
class LinkEvents;
}
namespace kovra::platform {
class DesktopNotifier;
}

namespace kovra::shell {

class JobEndNotice final : public QObject {
public:
    // runSeconds: the run clock when the machine reports the end.
    JobEndNotice(link::LinkEvents& link, platform::DesktopNotifier& notifier, QWidget& window,
                 std::function<int()> runSeconds);
    ~JobEndNotice() override;

    static QString Body(int runSeconds);

private:
    void finished();

    platform::DesktopNotifier& m_notifier;
    QWidget& m_window;
    std::function<int()> m_runSeconds;
    std::unique_ptr<QSystemTrayIcon> m_tray;
};

} // namespace kovra::shell
