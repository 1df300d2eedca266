# The commands of the README. Everything installs what is missing first.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
FUZZ_DIR  ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: deps configure build test test-asan fuzz bench bench-engine format clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The engine's tests under AddressSanitizer and UndefinedBehaviorSanitizer, built with
# Clang so that every run also proves the code builds warning-free with both compilers.
test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DMORVANE_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS) --target morvane_engine_tests
	@ctest --test-dir $(ASAN_DIR) --output-on-failure -R '^engine'

# Feeds the preset reader generated files for FUZZ_SECONDS, starting from the
# seed corpus in the repository (new finds go to a scratch folder, not the repo).
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DMORVANE_FUZZ=ON -DMORVANE_BUILD_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target morvane_fuzz_preset
	@mkdir -p $(FUZZ_DIR)/corpus/preset
	@$(FUZZ_DIR)/fuzz/morvane_fuzz_preset -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -timeout=10 \
		-print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/ $(FUZZ_DIR)/corpus/preset fuzz/corpus/preset 2>&1 | tail -n 12

# Whole-process timings against other renamers and the kernel's floor; installs
# the other renamers it compares with. A few minutes.
bench: build
	@bench/compare $(BUILD_DIR)

# The engine's own benchmarks (planning, move planner, executor, scanning, diffs).
bench-engine: build
	@$(BUILD_DIR)/bench/morvane_bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
