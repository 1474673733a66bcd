#pragma once
// The platform-specific hot-key facilities behind CreateGlobalHotKeys(). Each
// returns null when its platform is not the one the application runs on.

#include "platform/global_hotkeys.h"

#include <QtGlobal>

namespace kovra::platform {

#if defined(Q_OS_WIN)
std::unique_ptr<GlobalHotKeys> CreateWindowsGlobalHotKeys();
#elif defined(KOVRA_HAVE_XCB)
std::unique_ptr<GlobalHotKeys> CreateX11GlobalHotKeys();
#endif

} // namespace kovra::platform
