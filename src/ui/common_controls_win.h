#pragma once
// The common controls every window of the program may use (buttons, edit fields, combo
// boxes, tooltips, ...), registered once for the process.
namespace lb {

// Registers the classes on the first call; later calls do nothing. The program calls it at
// start; each dialog calls it too, so that one made without the program's start (a test)
// finds its controls.
void RegisterCommonControls() noexcept;

}  // namespace lb
