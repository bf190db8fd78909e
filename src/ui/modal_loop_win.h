#pragma once
// The message loop of a modal window (About box, feedback dialog, language chooser), run while
// the window is open.
#include <windows.h>

#include <functional>

#include "ui/window_base_win.h"

namespace lb {

// Runs until `window` is gone. A key message goes to `preTranslate` first (when given; true:
// handled), then to the window's dialog keys, then to those of a modeless dialog open beside it
// (a Settings dialog keeps its Tab, Enter and Esc). When the program is asked to quit, `close`
// closes the window and the quit is posted again for the main loop.
void RunModalLoop(const WindowBase& window, const std::function<void()>& close,
                  const std::function<bool(const MSG&)>& preTranslate = {});

}  // namespace lb
