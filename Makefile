# The two commands that matter:
#   make run    set up what is missing, build, start LockBeacon.exe under Wine
#   make test   set up what is missing, build the native, windows and fuzz presets, run every
#               test ring through CTest
.PHONY: all setup build build-native build-windows build-fuzz test run package screenshots bench measure-idle measure-hostile measure-memory fuzz format clean

all: build

setup:
	@tools/setup.sh

build: build-native build-windows

build-native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native

build-windows: setup
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows

# The libFuzzer harnesses of the parsers (clang); `make test` runs each over its corpus once.
build-fuzz: setup
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz

test: build build-fuzz
	@tools/run-tests.sh

# Every harness for FUZZ_SECONDS (default 60) from its seed corpus; findings are kept as files
# in tests/fuzz/corpus/<name>/ (tools/fuzz.sh).
fuzz: build-fuzz
	@tools/fuzz.sh

run: build-windows
	@tools/run.sh

# The program folder as users get it, zipped: build/release/LockBeacon-<version>-win64.zip,
# and beside it the setup that installs it for the current user: LockBeacon-<version>-setup.exe;
# then, from those files, the package managers' manifests: winget/ and scoop/ (cmake/Manifests.cmake).
# The exe, the uninstaller and the setup are signed when LOCKBEACON_SIGN_CERT and
# LOCKBEACON_SIGN_KEY (or LOCKBEACON_SIGN_PKCS12) name a certificate (README, "Signing a
# release"); the files are then audited as Windows' loader reads them and removed if they fail.
# The manifests carry the files' hashes: they stay the last step, after anything that changes a file.
package: setup
	@cmake --preset release >/dev/null
	@rm -rf build/release/ship build/release/LockBeacon-*-setup.exe
	@cmake --build --preset release --target package
	@tools/audit-package.sh build/release
	@cmake --build --preset release --target manifests

# The README's pictures (docs/images/) made afresh from the program under Wine (tools/screenshots.sh)
screenshots: build-windows
	@tools/screenshots.sh

bench: setup
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench
	@build/bench/bench/lockbeacon_bench

# Wake-ups and CPU time of the idle program under Wine beside a bare message loop and the literal
# 248-call poll, for each source of key presses, and the time from a press to the indicator
# (about three minutes)
measure-idle: build-windows
	@tools/measure-idle-cpu.sh

# Time and private memory of every request against a misbehaving stand-in server (about 2 minutes)
measure-hostile: build-windows
	@tools/measure-hostile.sh

# Private memory and launch-to-visible time of the release exe beside a bare window and the least
# tray program, the growth over two rounds of a day's work in a minute (windows preset, stand-in
# server), and where the memory goes (tools/measure-memory.sh; about two minutes)
measure-memory: build-windows
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target shipped_exe
	@tools/measure-memory.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@tools/wine-env.sh stop 2>/dev/null || true
	rm -rf build
