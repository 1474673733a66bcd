#include "platform/global_hotkeys.h"

#include "platform/global_hotkeys_native.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

#include <algorithm>

namespace kovra::platform {

int QtKeyOfVirtualKey(int virtualKey)
{
    switch (virtualKey) {
    case VirtualKeyLeft:
        return Qt::Key_Left;
    case VirtualKeyUp:
        return Qt::Key_Up;
    case VirtualKeyRight:
        return Qt::Key_Right;
    case VirtualKeyDown:
        return Qt::Key_Down;
    default:
        return 0;
    }
}

FallbackGlobalHotKeys::FallbackGlobalHotKeys(QObject& app)
    : m_app(&app)
{
}

FallbackGlobalHotKeys::~FallbackGlobalHotKeys()
{
    if (m_filtering && m_app)
        m_app->removeEventFilter(this);
}

int FallbackGlobalHotKeys::Register(int virtualKey)
{
    const int qtKey = QtKeyOfVirtualKey(virtualKey);
    if (qtKey == 0)
        return 0;
    // A key is held by one registration at a time, as with the system's hot keys.
    const bool taken = std::any_of(m_registrations.begin(), m_registrations.end(),
                                   [qtKey](const Registration& r) { return r.qtKey == qtKey; });
    if (taken)
        return 0;
    const int id = nextId();
    m_registrations.push_back({id, qtKey});
    updateFilter();
    return id;
}

void FallbackGlobalHotKeys::Unregister(int id)
{
    std::erase_if(m_registrations, [id](const Registration& r) { return r.id == id; });
    updateFilter();
}

void FallbackGlobalHotKeys::updateFilter()
{
    // The filter is on only while some key is registered, so unregistering
    // everything gives the arrow keys back to the focused control.
    const bool wanted = !m_registrations.empty();
    if (wanted == m_filtering || !m_app)
        return;
    if (wanted)
        m_app->installEventFilter(this);
    else
        m_app->removeEventFilter(this);
    m_filtering = wanted;
}

bool FallbackGlobalHotKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // The keypad's arrows count as arrows; any other modifier means the key
    // is not ours.
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    for (const Registration& r : m_registrations) {
        if (r.qtKey == key->key()) {
            // Taken here, the press does not also reach the focused control
            // (a system hot key would not reach it either).
            const int id = r.id;
            fireHotKey(id);
            return true;
        }
    }
    return false;
}

std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeys()
{
#if defined(Q_OS_WIN)
    if (auto keys = CreateWindowsGlobalHotKeys())
        return keys;
#elif defined(KOVRA_HAVE_XCB)
    if (auto keys = CreateX11GlobalHotKeys())
        return keys;
#endif
    return std::make_unique<FallbackGlobalHotKeys>(*QCoreApplication::instance());
}

} // namespace kovra::platform
