#pragma once
// A desktop notification (freedesktop notifications over the session bus).
// Notify returns false where the desktop has no such service; the shell then
// uses the tray.

#include <QString>

#include <memory>

namespace kovra::platform {

class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    virtual bool Notify(const QString& title, const QString& body) = 0;
};

// The system's notifier; never null.
std::unique_ptr<DesktopNotifier> CreateDesktopNotifier();

} // namespace kovra::platform
