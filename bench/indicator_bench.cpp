// The key poll, 100 times a second for the life of the program: a tick with no lock key down
// must cost next to nothing and allocate nothing; a tick with a lock key held runs the whole
// check (LEDs, status line, sound, show). For comparison, the same poll made the literal way,
// one virtual per-key query for each of the 248 codes from 8 to 255. The main window runs on the
// tests' fakes; allocations are counted around the ticks.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "fakes/app_rig.h"

namespace {

std::atomic<long long> allocations{0};

}  // namespace

// Not inlined: the compiler would otherwise see malloc() and free() across a new-expression and
// its delete and warn about a mismatch that is none.
[[gnu::noinline]] void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// A started main window with the built-in sounds beside the executable.
struct StartedApp : lb::test::AppRig {
  StartedApp() {
    files.files[kBuiltInOn] = "RIFF";
    files.files[kBuiltInOff] = "RIFF";
    app.Create();
    clock.Advance(1);
  }
};

void ReportAllocations(benchmark::State& state, long long before) {
  state.counters["allocs/tick"] = benchmark::Counter(static_cast<double>(allocations - before),
                                                     benchmark::Counter::kAvgIterations);
}

void BM_IdleTick(benchmark::State& state) {
  StartedApp f;
  const long long before = allocations;
  for (auto _ : state) f.app.OnTimer(lb::kKeyPollTimerId);
  ReportAllocations(state, before);
}
BENCHMARK(BM_IdleTick);

void BM_TickWithCapsLockHeld(benchmark::State& state) {
  StartedApp f;
  f.keyboard.Press(lb::VkCapital);
  f.app.OnTimer(lb::kKeyPollTimerId);  // the window has grown; later ticks repeat the check
  f.sound.played.reserve(1);
  const long long before = allocations;
  for (auto _ : state) {
    f.app.OnTimer(lb::kKeyPollTimerId);
    f.sound.played.clear();
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_TickWithCapsLockHeld);

// The poll as 248 separate queries (GetKeyState per code), against the same fake keyboard, to
// compare the cost of the queries alone with one read of the whole state.
class PerKeyKeyboard {
 public:
  explicit PerKeyKeyboard(const lb::IKeyboard& keyboard) : keyboard_(keyboard) {}
  [[nodiscard]] int DownLockKeys() const {
    int down = 0;
    for (int vk = 8; vk <= 255; ++vk) {
      if (keyboard_.IsToggled(vk) &&
          (vk == lb::VkCapital || vk == lb::VkNumLock || vk == lb::VkScroll)) {
        ++down;
      }
    }
    return down;
  }

 private:
  const lb::IKeyboard& keyboard_;
};

void BM_Literal248QueryPoll(benchmark::State& state) {
  lb::test::ScriptedKeyboard scripted;
  const lb::IKeyboard* keyboard = &scripted;
  benchmark::DoNotOptimize(keyboard);  // a real virtual call on every query
  const PerKeyKeyboard poll(*keyboard);
  for (auto _ : state) benchmark::DoNotOptimize(poll.DownLockKeys());
}
BENCHMARK(BM_Literal248QueryPoll);

void BM_OneReadPoll(benchmark::State& state) {
  lb::test::ScriptedKeyboard scripted;
  const lb::IKeyboard* keyboard = &scripted;
  benchmark::DoNotOptimize(keyboard);
  for (auto _ : state) {
    lb::KeyStates states;
    keyboard->ReadKeyStates(states);
    benchmark::DoNotOptimize(states[lb::VkCapital] | states[lb::VkNumLock] | states[lb::VkScroll]);
  }
}
BENCHMARK(BM_OneReadPoll);

}  // namespace
