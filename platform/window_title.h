#pragma once
// An empty window title that stays empty. Qt gives a window without a title
// the application's name on some window systems; this writes the empty title
// to the window system itself, once the native window exists.

class QWindow;

namespace kovra::platform {

// Clears the title the window system shows for window. Returns false where
// there is no native window or no way to do it (the title is left as Qt set it).
bool ClearWindowTitle(QWindow* window);

} // namespace kovra::platform
