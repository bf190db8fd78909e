// The cost of the uncached settings store: every read parses the file, every write parses,
// changes one line and writes the whole file. Measured on a file of the size the program keeps
// (all its keys, one comment, one foreign section), held in memory so that only the store's own
// work is timed.
#include <benchmark/benchmark.h>

#include <string>

#include "base/settings_store.h"
#include "fakes/fake_code_page.h"
#include "fakes/memory_file_system.h"

namespace {

constexpr const char* kPath = "C:\\Apps\\Lock Beacon\\settings.ini";

const char* const kTypicalFile =
    "[Settings]\r\n"
    "Left=1080\r\nTop=820\r\nHeight=164\r\nWidth=200\r\n"
    "Num Lock=ON\r\nCaps Lock=ON\r\nScroll Lock=OFF\r\n"
    "Num Lock Toggled=OFF\r\nCaps Lock Toggled=ON\r\nScroll Lock Toggled=OFF\r\n"
    "Num Lock Sound=ON\r\nCaps Lock Sound=ON\r\nScroll Lock Sound=OFF\r\n"
    "Play Mode=ASYNC\r\n"
    "SoundEffectON=C:\\Users\\Ann\\Music\\keypress-on.wav\r\n"
    "SoundEffectOFF=C:\\Users\\Ann\\Music\\keypress-off.wav\r\n"
    "DisplayDuration=10000\r\nFadeoutAnimation=ON\r\nScreenSnap=ON\r\n"
    "Minimal Mode=OFF\r\nAlways on top=OFF\r\nLanguageFile=German.lang.txt\r\n"
    "\r\n"
    "; written by hand\r\n"
    "[Other]\r\nKey=Value\r\n";

struct Fixture {
  lb::test::MemoryFileSystem files;
  lb::test::FakeCodePage codePage;
  lb::SettingsStore store{kPath, files, codePage};
  Fixture() { files.files[kPath] = kTypicalFile; }
};

void BM_ReadString(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(f.store.ReadString("SoundEffectON", ""));
}
BENCHMARK(BM_ReadString);

void BM_ReadInteger(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(f.store.ReadInteger("DisplayDuration", 10000));
}
BENCHMARK(BM_ReadInteger);

// A window move: two writes that change the file.
void BM_WritePosition(benchmark::State& state) {
  Fixture f;
  int x = 0;
  for (auto _ : state) {
    f.store.WriteInteger("Left", ++x);
    f.store.WriteInteger("Top", x);
  }
}
BENCHMARK(BM_WritePosition);

// A write of the value already stored: parsed, compared, not written.
void BM_WriteUnchanged(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) f.store.WriteString("Caps Lock", "ON");
}
BENCHMARK(BM_WriteUnchanged);

}  // namespace
