#include "platform/sleep_inhibitor.h"

#include "platform/platform_log.h"

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(KOVRA_HAVE_DBUS)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#endif

namespace kovra::platform {

Q_LOGGING_CATEGORY(lcPlatform, "kovra.platform", QtInfoMsg)

namespace {

#if defined(Q_OS_WIN)

class WindowsInhibitor final : public SleepInhibitor {
public:
    ~WindowsInhibitor() override { Release(); }
    bool Acquire(const QString&) override
    {
        if (!m_held && SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) == 0) {
            qCWarning(lcPlatform) << "cannot keep the computer awake: SetThreadExecutionState failed";
            return false;
        }
        m_held = true;
        return true;
    }
    void Release() override
    {
        if (m_held)
            SetThreadExecutionState(ES_CONTINUOUS);
        m_held = false;
    }
    bool Held() const override { return m_held; }

private:
    bool m_held = false;
};

#elif defined(KOVRA_HAVE_DBUS)

// logind hands out a file descriptor; the lock lasts while it is open. The
// call is asynchronous, so a slow bus never stalls the window: a lock that
// arrives after it was given back is closed at once.
class LogindInhibitor final : public SleepInhibitor {
public:
    LogindInhibitor() = default;
    LogindInhibitor(const LogindInhibitor&) = delete;
    LogindInhibitor& operator=(const LogindInhibitor&) = delete;
    ~LogindInhibitor() override
    {
        *m_alive = false;
        Release();
    }

    bool Acquire(const QString& why) override
    {
        if (m_wanted)
            return true;
        QDBusConnection bus = QDBusConnection::systemBus();
        if (!bus.isConnected()) {
            unavailable(QStringLiteral("no system bus (%1)").arg(bus.lastError().message()));
            return false;
        }
        m_wanted = true;
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
            QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
            QStringLiteral("Inhibit"));
        call << QStringLiteral("sleep:idle") << QStringLiteral("Kovra Laser") << why << QStringLiteral("block");
        const quint64 ticket = ++m_ticket;
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), nullptr);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
            [this, ticket, alive = m_alive](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (!*alive)
                    return; // the inhibitor is gone; the reply's descriptor closes with it
                QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
                if (reply.isError()) {
                    if (ticket == m_ticket)
                        m_wanted = false;
                    unavailable(reply.error().message());
                    return;
                }
                if (ticket == m_ticket && m_wanted)
                    m_lock = reply.value();
            });
        return true;
    }

    void Release() override
    {
        m_wanted = false;
        ++m_ticket; // a reply still on its way is dropped
        m_lock = QDBusUnixFileDescriptor();
    }

    bool Held() const override { return m_wanted; }

private:
    void unavailable(const QString& why)
    {
        if (m_told)
            return;
        m_told = true;
        qCWarning(lcPlatform).noquote() << "cannot keep the computer awake while engraving:" << why;
    }

    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_wanted = false;
    bool m_told = false;
    quint64 m_ticket = 0;
    QDBusUnixFileDescriptor m_lock;
};

#endif

class NoInhibitor final : public SleepInhibitor {
public:
    bool Acquire(const QString&) override
    {
        if (!m_told)
            qCWarning(lcPlatform) << "cannot keep the computer awake while engraving: no inhibitor on this system";
        m_told = true;
        return false;
    }
    void Release() override {}
    bool Held() const override { return false; }

private:
    bool m_told = false;
};

} // namespace

std::unique_ptr<SleepInhibitor> CreateSleepInhibitor()
{
#if defined(Q_OS_WIN)
    return std::make_unique<WindowsInhibitor>();
#elif defined(KOVRA_HAVE_DBUS)
    return std::make_unique<LogindInhibitor>();
#else
    return std::make_unique<NoInhibitor>();
#endif
}

} // namespace kovra::platform
