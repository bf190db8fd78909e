#pragma once
// The built LockBeacon.exe loaded for its resources only (pictures), for tests of code that
// draws them: the test programs carry no resources of their own.
#include <windows.h>

#include "platform/wide_text_win.h"
#include "ui/handles_win.h"
#include "win32/host_paths.h"

namespace lb::test {

inline UniqueModule LoadExeResources() {
  return UniqueModule(::LoadLibraryExW(ToWide(HostPath(LOCKBEACON_EXE_PATH)).c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

}  // namespace lb::test
