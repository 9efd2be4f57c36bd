# Snipdeck: `make run` to try it, `make test` to run the whole suite.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps deps-package deps-test configure build run test test-wayland werror package check-package clean fuzz test-asan bench bench-startup soak

all: build

# Checked before anything is installed or built: without a display there is nothing to run.
ifneq ($(filter run,$(MAKECMDGOALS)),)
ifeq ($(DISPLAY)$(WAYLAND_DISPLAY),)
$(error no display for Snipdeck's window: DISPLAY and WAYLAND_DISPLAY are unset)
endif
endif

# What building and running need (packages.txt); packing the Debian package adds
# packages-package.txt, the tests and proofs add packages-test.txt. Each target installs only
# the lists it needs, so a missing line fails the step that needs it on a new machine.
deps:
	@scripts/install-deps.sh packages.txt

deps-package:
	@scripts/install-deps.sh packages.txt packages-package.txt

deps-test:
	@scripts/install-deps.sh packages.txt packages-test.txt

# The stamp is written only when cmake succeeds: whatever a failed configure left behind
# (a half-made CMakeCache.txt), the next make configures again.
$(BUILD_DIR)/.configured:
	@rm -f $@
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	@touch $@

configure: deps $(BUILD_DIR)/.configured

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@scripts/seed-run.sh run
	cd run && ../$(BUILD_DIR)/snipdeck

test: deps-test build
	@# Configured again: a build made before the test packages came looks for what they bring
	@# (the session manager's libSM) once more.
	cmake -S . -B $(BUILD_DIR) >/dev/null
	cmake --build $(BUILD_DIR) -j$(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j$(JOBS)
	@FUZZ_SECONDS=10 JOBS=$(JOBS) scripts/fuzz.sh $(BUILD_DIR)-fuzz

# Every target, tests included, built with warnings as errors, in a build dir of its own.
werror: deps-test
	cmake -S . -B $(BUILD_DIR)-werror -DCMAKE_BUILD_TYPE=Debug -DSNIPDECK_BENCH=ON \
		-DCMAKE_CXX_FLAGS=-Werror
	cmake --build $(BUILD_DIR)-werror -j$(JOBS)

# Proofs in build dirs of their own: fuzzing (clang, libFuzzer), the suite under ASan and
# UBSan, Release benchmarks. FUZZ_SECONDS per fuzz target.
FUZZ_SECONDS ?= 60
fuzz: deps-test
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) scripts/fuzz.sh $(BUILD_DIR)-fuzz

# Click to paste in a headless GNOME Wayland session, through the desktop's portal. Debian 12's
# portal (version 1) cannot keep the user's consent, and the bar does not use it there.
test-wayland: build
	@if [ "$$(. /etc/os-release && echo $$VERSION_ID)" = 12 ]; then \
		echo "test-wayland: skipped on Debian 12, whose RemoteDesktop portal (version 1) the bar does not use"; \
	else scripts/install-deps.sh packages-wayland.txt && tests/wayland/run.sh $(BUILD_DIR); fi

test-asan: deps-test
	JOBS=$(JOBS) scripts/test-asan.sh $(BUILD_DIR)-asan

bench: deps-test
	JOBS=$(JOBS) scripts/bench.sh $(BUILD_DIR)-bench

bench-startup: deps-test
	JOBS=$(JOBS) scripts/bench-startup.sh $(BUILD_DIR)-bench

# The random command sequences of the window tests, SOAK_STEPS long (SNIPDECK_SEED replays).
SOAK_STEPS ?= 1000000
soak: build
	cd $(BUILD_DIR)/tests && QT_QPA_PLATFORM=offscreen SNIPDECK_STEPS=$(SOAK_STEPS) \
		QTEST_FUNCTION_TIMEOUT=86400000 nice ./tst_commandsequences -maxwarnings 1

# A Debian package in $(BUILD_DIR): snipdeck_<version>_<arch>.deb
package: deps-package build
	cmake --build $(BUILD_DIR) --target package

# The package as a user gets it: lintian, apt install, first start from the menu's launcher
# under a new HOME, removal. Installs into this machine (as root, or through sudo).
check-package: deps-test package
	scripts/check-package.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
