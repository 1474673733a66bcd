#pragma once
// The platform layer's logging category ("kovra.platform"): what the system
// could not give us (no session bus, no sleep inhibitor), said once.

#include <QLoggingCategory>

namespace kovra::platform {
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
}
