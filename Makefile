# The commands of the README. Everything installs what is missing first.
BUILD_DIR ?= build
RELEASE_DIR ?= build-release
ASAN_DIR  ?= build-asan
FUZZ_DIR  ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
# Developers' and CI builds treat warnings as errors; a plain cmake build does not.
DEV_FLAGS := -DMORVANE_WERROR=ON
# A user's or a distribution's build: optimised, no tests or benchmarks, and
# only the installed programs built (packaging does not build everything first).
RELEASE_FLAGS := -DCMAKE_BUILD_TYPE=Release -DMORVANE_BUILD_TESTS=OFF -DMORVANE_BUILD_BENCH=OFF \
	-DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON

.PHONY: deps configure build run screenshots test test-asan fuzz fuzz-metadata bench bench-engine bench-desktop bench-contents format clean \
	release package install-check

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(DEV_FLAGS) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The desktop application on a sample folder. Without a display (a server, a
# container) it says so and shows the command line's preview of the same
# folder instead, so it never fails there; a preview with conflicts exits
# with 1, which is expected here.
run: build
	@scripts/sample-folder $(BUILD_DIR)/sample >/dev/null
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
		echo "morvane --open $(BUILD_DIR)/sample"; \
		$(BUILD_DIR)/src/app/desktop/morvane --open $(BUILD_DIR)/sample; \
	else \
		echo "make run: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open."; \
		echo "Here is the command line's preview of the same folder instead:"; \
		echo; \
		echo "morvane-cli preview --preset 'Clean filenames' $(BUILD_DIR)/sample"; \
		echo; \
		$(BUILD_DIR)/src/cli/morvane-cli preview --preset "Clean filenames" $(BUILD_DIR)/sample || [ $$? -eq 1 ]; \
	fi

# The window's main states rendered offscreen into PNG files, for review;
# SCREENSHOT_LANGUAGE=de (any interface language's code) renders them in it.
SCREENSHOT_LANGUAGE ?=
screenshots: build
	@rm -rf $(BUILD_DIR)/screenshots
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/src/app/desktop/morvane_screenshots \
		$(if $(SCREENSHOT_LANGUAGE),--language=$(SCREENSHOT_LANGUAGE)) $(BUILD_DIR)/screenshots

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The engine's tests under AddressSanitizer and UndefinedBehaviorSanitizer, built with
# Clang so that every run also proves the code builds warning-free with both compilers.
test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DMORVANE_SANITIZE=ON $(DEV_FLAGS) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS) --target morvane_engine_tests
	@ctest --test-dir $(ASAN_DIR) --output-on-failure -R '^engine'

# Feeds a reader generated files for FUZZ_SECONDS, starting from the seed
# corpus in the repository (new finds go to a scratch folder, not the repo):
# `fuzz` the preset reader, `fuzz-metadata` the photo and music metadata
# readers. The full log stays in $(FUZZ_DIR) (fuzz.log, fuzz-metadata.log);
# a find (crash, leak, timeout, memory blow-up) prints the report and fails
# the target with the fuzzer's own exit status.
# $(call run_fuzzer,name,longest input,log file)
define run_fuzzer
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DMORVANE_FUZZ=ON -DMORVANE_BUILD_TESTS=OFF $(DEV_FLAGS) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target morvane_fuzz_$(1)
	@mkdir -p $(FUZZ_DIR)/corpus/$(1)
	@status=0; $(FUZZ_DIR)/fuzz/morvane_fuzz_$(1) -max_total_time=$(FUZZ_SECONDS) -max_len=$(2) -timeout=10 \
		-print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/$(1)- $(FUZZ_DIR)/corpus/$(1) fuzz/corpus/$(1) \
		>$(FUZZ_DIR)/$(3) 2>&1 || status=$$?; \
	if [ $$status -eq 0 ]; then tail -n 12 $(FUZZ_DIR)/$(3); \
	else tail -n 80 $(FUZZ_DIR)/$(3); echo "$(1) fuzzer: it failed (exit $$status); full log in $(FUZZ_DIR)/$(3)" >&2; fi; \
	exit $$status
endef

fuzz: deps
	$(call run_fuzzer,preset,4096,fuzz.log)

fuzz-metadata: deps
	$(call run_fuzzer,metadata,65536,fuzz-metadata.log)

# Whole-process timings against other renamers and the kernel's floor; installs
# the other renamers it compares with. A few minutes.
bench: build
	@bench/compare $(BUILD_DIR)

# The engine's own benchmarks (planning, move planner, executor, scanning, diffs,
# reading photo metadata and tags).
bench-engine: build
	@$(BUILD_DIR)/bench/morvane_bench

# The window's speed at 100,000 items: first drawn table, scrolling, typing in the filter,
# and renaming every item and undoing it against the command line on the same folder.
bench-desktop: build
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/morvane_desktop_bench
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/morvane_subfolder_bench

# Rules that read files' contents, in the window: opening 10,000 photos, a
# capture-date rule over them, typing in a Template rule over 10,000 songs.
bench-contents: build
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/morvane_contents_bench

# The programs as they are installed, in $(RELEASE_DIR).
release: deps
	@cmake -S . -B $(RELEASE_DIR) -G Ninja $(RELEASE_FLAGS) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(RELEASE_DIR) -j $(JOBS) --target morvane morvane-cli

# A .deb of the release build, with Debian's names for its dependencies:
# $(RELEASE_DIR)/morvane_<version>_<architecture>.deb, for apt install ./that-file.
# Debian's package checker then reads it: any error fails the target, its
# warnings are printed. Older .debs go first so that only this one is checked.
package: release
	@rm -f $(RELEASE_DIR)/*.deb
	@cd $(RELEASE_DIR) && cpack -G DEB
	@lintian --fail-on error $(RELEASE_DIR)/*.deb

# Installs the release build into a temporary prefix and checks what is there.
install-check: release
	@scripts/check-install $(RELEASE_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(RELEASE_DIR) $(ASAN_DIR) $(FUZZ_DIR)
