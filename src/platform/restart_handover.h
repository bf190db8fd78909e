#pragma once
// A copy that starts its own successor (Reset to Defaults, the restart after a change of
// language) first hands over: it lets go of its claim on the settings folder and tells the
// successor that it follows this process, so that the successor is neither taken for a second
// copy nor sends the old copy a request to show its indicator. The program entry says what
// handing over means (SetRestartHandover); with nothing set (the parts' own tests), it does
// nothing. User-interface thread only.
#include <functional>

namespace lb {

// What HandOverForRestart runs from now on; an empty function: nothing.
void SetRestartHandover(std::function<void()> handover);

// Called just before the successor is started.
void HandOverForRestart();

}  // namespace lb
