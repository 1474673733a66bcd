#pragma once
// System-wide hot keys without modifier keys (the arrow keys of the jog
// buttons). X11 grabs the keys on the root window, Windows registers them with
// the system; elsewhere (Wayland, offscreen) the keys are caught application
// wide, so they work only while the program has focus: such an object reports
// IsFallback() so its user can tell the user once.

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

namespace kovra::platform {

// Virtual key codes of the keys the program registers.
enum VirtualKey : int {
    VirtualKeyLeft = 0x25,
    VirtualKeyUp = 0x26,
    VirtualKeyRight = 0x27,
    VirtualKeyDown = 0x28,
};

class GlobalHotKeys {
public:
    virtual ~GlobalHotKeys() = default;

    // Registers virtualKey without modifiers. Returns the new registration's
    // identifier, or 0 when the key cannot be had (unknown key, another
    // application holds it). Identifiers are never reused.
    virtual int Register(int virtualKey) = 0;
    // Gives the key of that registration back; unknown or 0 identifiers are ignored.
    virtual void Unregister(int id) = 0;
    // True when the keys are only seen while the program has focus.
    virtual bool IsFallback() const = 0;

    // Called on the user-interface thread for every press (auto-repeat included).
    void setOnHotKey(std::function<void(int id)> onHotKey) { m_onHotKey = std::move(onHotKey); }

protected:
    // Identifiers count up from a fixed base, so a stored identifier never
    // matches a key registered later.
    int nextId() { return ++m_lastId; }
    void fireHotKey(int id)
    {
        if (m_onHotKey)
            m_onHotKey(id);
    }

private:
    static constexpr int IdBase = 0x100;
    int m_lastId = IdBase;
    std::function<void(int)> m_onHotKey;
};

// Application-wide arrow keys: an event filter on the application that takes
// key presses of registered keys without modifiers, wherever the focus is
// inside the program.
class FallbackGlobalHotKeys final : public QObject, public GlobalHotKeys {
    Q_OBJECT
public:
    // app is the application object whose events are filtered.
    explicit FallbackGlobalHotKeys(QObject& app);
    ~FallbackGlobalHotKeys() override;

    int Register(int virtualKey) override;
    void Unregister(int id) override;
    bool IsFallback() const override { return true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Registration {
        int id;
        int qtKey;
    };
    void updateFilter();

    QPointer<QObject> m_app; // may go first at program end
    std::vector<Registration> m_registrations;
    bool m_filtering = false;
};

// The best hot-key facility for the running platform: X11 grabs when the
// application runs on a live xcb connection, Windows hot keys on Windows,
// the application-wide fallback otherwise. Needs a QGuiApplication; best
// destroyed before it (afterwards the keys are gone with the connection).
std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeys();

// Qt::Key of a virtual key code, or 0 for keys this layer does not know.
int QtKeyOfVirtualKey(int virtualKey);

} // namespace kovra::platform
