#include "platform/desktop_notifier.h"

#include "platform/platform_log.h"

#if defined(KOVRA_HAVE_DBUS) && !defined(Q_OS_WIN)
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>
#endif

namespace kovra::platform {

namespace {

#if defined(KOVRA_HAVE_DBUS) && !defined(Q_OS_WIN)

class FreedesktopNotifier final : public DesktopNotifier {
public:
    bool Notify(const QString& title, const QString& body) override
    {
        const QString service = QStringLiteral("org.freedesktop.Notifications");
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service).value()) {
            if (!m_told)
                qCInfo(lcPlatform) << "no desktop notification service on the session bus";
            m_told = true;
            return false;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
            service, QStringLiteral("Notify"));
        // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout
        call << QStringLiteral("Kovra Laser") << uint(0) << QString() << title << body << QStringList()
             << QVariantMap() << int(-1);
        // No answer is awaited: the window never waits for the desktop.
        return bus.send(call);
    }

private:
    bool m_told = false;
};

#endif

class NoNotifier final : public DesktopNotifier {
public:
    bool Notify(const QString&, const QString&) override { return false; }
};

} // namespace

std::unique_ptr<DesktopNotifier> CreateDesktopNotifier()
{
#if defined(KOVRA_HAVE_DBUS) && !defined(Q_OS_WIN)
    return std::make_unique<FreedesktopNotifier>();
#else
    return std::make_unique<NoNotifier>();
#endif
}

} // namespace kovra::platform
