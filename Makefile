# Front door: `make demo` builds and runs the demo, `make test` builds and runs every test.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build test demo bench sanitize stress install-check clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS) --timeout 600

demo: build
	@$(BUILD)/examples/vxl_demo

bench: build
	@$(BUILD)/bench/vxl_bench --benchmark_min_time=0.2

# The tests again with address and undefined-behaviour sanitizers.
sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVXL_SANITIZE=ON -DVXL_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	@cd $(ASAN_BUILD) && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --output-on-failure -j$(JOBS) --timeout 900

# The seeded API stress test against the sanitizer build: a fixed seed, then seeds from the clock
# for SECONDS seconds. A failure prints its seed and the command that replays it. Calls run about ten
# times slower in this build, so a call counts as hung only after 30 seconds.
SECONDS ?= 60
STRESS_FLAGS ?=
stress: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVXL_SANITIZE=ON -DVXL_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS) --target vxl vxl_stress
	@$(ASAN_BUILD)/tests/vxl_stress --lib $(ASAN_BUILD)/src/libvxl.so --seed 1 --calls 6000 --hang-seconds 30 --quiet $(STRESS_FLAGS)
	@$(ASAN_BUILD)/tests/vxl_stress --lib $(ASAN_BUILD)/src/libvxl.so --seconds $(SECONDS) --hang-seconds 30 $(STRESS_FLAGS)

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) demo-frames
