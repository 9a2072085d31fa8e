# Front door: `make demo` builds and runs the demo, `make test` builds and runs every test. The
# project's own builds treat warnings as errors; a plain CMake build does not.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2
CMAKE_FLAGS ?=

LIB_BUILD ?= build-lib
PREFIX ?= /usr/local

.PHONY: all deps configure build test demo docs bench sanitize stress fuzz lib install clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVXL_WARNINGS_AS_ERRORS=ON $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# The window tests need an X display: the one set, or an Xvfb started for the run.
test: build
	@cd $(BUILD) && $(CURDIR)/scripts/with-display.sh 1024x768 ctest --output-on-failure -j$(JOBS) --timeout 600

# The library alone, for hosts: no tests, benchmarks or demo.
lib: deps
	@cmake -S . -B $(LIB_BUILD) -DCMAKE_BUILD_TYPE=Release -DVXL_BUILD_TESTS=OFF -DVXL_BUILD_BENCH=OFF \
		-DVXL_BUILD_EXAMPLES=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(LIB_BUILD) -j$(JOBS) --target vxl

# The library, vxl.h, vxl.pc and the CMake package under PREFIX, and the Python package (with its own
# copy of the library) where that prefix's Python looks: /usr/local's is on Debian's path, others go
# on PYTHONPATH.
PYTHON ?= /usr/bin/python3
PYTHON_DIR = $(PREFIX)/lib/python$(shell $(PYTHON) -c 'import sys; print("%d.%d" % sys.version_info[:2])')/dist-packages
install: lib
	@cmake --install $(LIB_BUILD) --prefix $(PREFIX)
	@VXL_LIBRARY=$(abspath $(LIB_BUILD))/src/libvxl.so $(PYTHON) -m pip install -q --no-build-isolation --no-deps --upgrade \
		--root-user-action=ignore --target $(PYTHON_DIR) ./python
	@echo "Python package in $(PYTHON_DIR)"

demo: build
	@$(BUILD)/examples/vxl_demo

# The function reference's pictures, drawn anew by the library (docs/reference.md shows them).
PICTURES = docs/reference/pictures
docs: configure
	@cmake --build $(BUILD) -j$(JOBS) --target vxl_make_pictures
	@rm -rf $(PICTURES) && mkdir -p $(PICTURES)
	@$(BUILD)/docs/vxl_make_pictures $(PICTURES)
	@echo "$$(ls $(PICTURES) | wc -l) pictures in $(PICTURES)"

# The pixel benchmarks, then presentation in a real window next to plain SDL2: on the display that is
# set, or on a 3840x1080 Xvfb of its own where none is (the two windows side by side).
bench: build
	@$(BUILD)/bench/vxl_bench --benchmark_min_time=0.2
	@scripts/with-display.sh 3840x1080 $(BUILD)/bench/vxl_present_window_bench --benchmark_min_time=1
	@VXL_LIBRARY=$(BUILD)/src/libvxl.so /usr/bin/python3 bench/python_calls.py

# The tests again with address and undefined-behaviour sanitizers.
sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVXL_SANITIZE=ON -DVXL_BUILD_BENCH=OFF -DVXL_WARNINGS_AS_ERRORS=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	@cd $(ASAN_BUILD) && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp $(CURDIR)/scripts/with-display.sh 1024x768 ctest --output-on-failure -j$(JOBS) --timeout 900

# The seeded API stress test against the sanitizer build, its loaders handed the fuzz seed corpus: a
# fixed seed, then seeds from the clock for SECONDS seconds. A failure prints its seed and the command
# that replays it. Calls run about ten times slower in this build, so a call counts as hung only after
# 30 seconds.
SECONDS ?= 60
STRESS_FLAGS ?=
STRESS = $(ASAN_BUILD)/tests/vxl_stress --lib $(ASAN_BUILD)/src/libvxl.so --pictures $(ASAN_BUILD)/stress_corpus \
	--hang-seconds 30 $(STRESS_FLAGS)
stress: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVXL_SANITIZE=ON -DVXL_BUILD_BENCH=OFF -DVXL_WARNINGS_AS_ERRORS=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS) --target vxl vxl_stress
	@rm -rf $(ASAN_BUILD)/stress_corpus && $(ASAN_BUILD)/tests/fuzz/vxl_fuzz_corpus $(ASAN_BUILD)/stress_corpus
	@$(STRESS) --seed 1 --calls 6000
	@$(STRESS) --seconds $(SECONDS)

# libFuzzer on every reader of outside input (BMP, PNG, JPEG, alpha pictures, picture sizes), each
# for FUZZ_SECONDS seconds from the seed corpus the corpus writer makes. Findings land in $(FUZZ_BUILD).
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = bmp png jpeg alpha image_size
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVXL_FUZZ=ON \
		-DVXL_WARNINGS_AS_ERRORS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target vxl_fuzz_targets
	@rm -rf $(FUZZ_BUILD)/corpus && $(FUZZ_BUILD)/tests/fuzz/vxl_fuzz_corpus $(FUZZ_BUILD)/corpus >/dev/null
	@for t in $(FUZZ_TARGETS); do \
		log=$(FUZZ_BUILD)/fuzz_$$t.log; \
		(cd $(FUZZ_BUILD) && ./tests/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
			-print_final_stats=1 corpus/$$t) >$$log 2>&1; status=$$?; \
		echo "fuzz_$$t: $$(grep -m1 number_of_executed_units $$log | tr -s ' ')"; \
		if [ $$status -ne 0 ]; then tail -40 $$log; exit 1; fi; \
	done

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(LIB_BUILD) demo-frames
