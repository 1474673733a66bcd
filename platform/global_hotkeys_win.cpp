// Windows hot keys: RegisterHotKey on the user-interface thread (no window),
// so WM_HOTKEY arrives as a thread message that Qt's event dispatcher hands to
// native event filters.

#include "platform/global_hotkeys_native.h"

#if defined(Q_OS_WIN)

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>

#include <qt_windows.h>

#include <algorithm>
#include <vector>

namespace kovra::platform {
namespace {

class WindowsGlobalHotKeys final : public GlobalHotKeys, public QAbstractNativeEventFilter {
public:
    WindowsGlobalHotKeys() { QCoreApplication::instance()->installNativeEventFilter(this); }

    ~WindowsGlobalHotKeys() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
        for (int id : m_ids)
            UnregisterHotKey(nullptr, id);
    }

    int Register(int virtualKey) override
    {
        if (virtualKey <= 0 || virtualKey > 0xFE)
            return 0;
        // Hot-key identifiers of an application must stay below 0xC000.
        const int id = nextId();
        if (id >= 0xC000 || !RegisterHotKey(nullptr, id, 0, UINT(virtualKey)))
            return 0;
        m_ids.push_back(id);
        return id;
    }

    void Unregister(int id) override
    {
        auto it = std::find(m_ids.begin(), m_ids.end(), id);
        if (it == m_ids.end())
            return;
        UnregisterHotKey(nullptr, id);
        m_ids.erase(it);
    }

    bool IsFallback() const override { return false; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "windows_dispatcher_MSG" && eventType != "windows_generic_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (!msg || msg->message != WM_HOTKEY)
            return false;
        const int id = int(msg->wParam);
        if (std::find(m_ids.begin(), m_ids.end(), id) == m_ids.end())
            return false;
        fireHotKey(id);
        return true;
    }

private:
    std::vector<int> m_ids;
};

} // namespace

std::unique_ptr<GlobalHotKeys> CreateWindowsGlobalHotKeys()
{
    if (!QCoreApplication::instance())
        return nullptr;
    return std::make_unique<WindowsGlobalHotKeys>();
}

} // namespace kovra::platform

#endif
