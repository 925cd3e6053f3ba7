# The two commands of the README: `make run` and `make test`.
# Both install what is missing (Debian/Ubuntu packages), configure and build.

BUILD_DIR  ?= build
ASAN_DIR   ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

# fonts-ipafont-gothic: Japanese glyphs for the window; qt6-translations-l10n: Qt's own texts
# (standard buttons, file dialogs) in the user's language; qt6-l10n-tools: the program's English
# texts; desktop-file-utils and appstream: the install test's validators; libass-dev: the
# renderer that reads the ASS output in the format tests, found through pkg-config.
PACKAGES := cmake make g++ qt6-base-dev qt6-l10n-tools libgl-dev xvfb xauth fonts-ipafont-gothic \
            qt6-translations-l10n desktop-file-utils appstream libass-dev pkg-config
# What `make package` needs besides: dpkg-shlibdeps finds the libraries the programs link.
PACKAGE_PACKAGES := dpkg-dev file

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test deps build build-programs build-asan check check-asan bench fuzz format clean \
        translations package

# The window on a desktop; without a display, the command-line demo.
run: build-programs
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  ./$(BUILD_DIR)/src/app/kovrant; \
	else \
	  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running the command-line demo instead."; \
	  ./tools/demo.sh $(BUILD_DIR); \
	fi

test: check check-asan

deps:
	@missing=""; \
	for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRANT_WERROR=ON $(CMAKE_ARGS)

$(ASAN_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DKOVRANT_WERROR=ON -DKOVRANT_SANITIZE=ON \
	      -DKOVRANT_BUILD_BENCH=OFF $(CMAKE_ARGS)

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Only what `make run` starts, so that it does not wait for the tests to build.
build-programs: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kovrant kovrant-cli

build-asan: deps $(ASAN_DIR)/CMakeCache.txt
	cmake --build $(ASAN_DIR) -j $(JOBS)

check: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 ctest --output-on-failure -j $(JOBS)

check-asan: build-asan
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# One line per figure: 1. batch, 2. core, 3. start-up (in Xvfb), 4. memory, 5. CRC diagnosis.
# BENCH_BATCH_ARGS=--scaling adds the batch of 10,000 files (several minutes on a slow disk).
BENCH_BATCH_ARGS ?=
bench: build
	@$(MAKE) --no-print-directory deps PACKAGES=strace
	@./$(BUILD_DIR)/bench/kovrant-batch-bench --brief $(BENCH_BATCH_ARGS)
	@./$(BUILD_DIR)/bench/kovrant-bench --brief
	@xvfb-run -a -s "-screen 0 1024x768x24" ./$(BUILD_DIR)/bench/kovrant-startup-bench --brief
	@./$(BUILD_DIR)/bench/kovrant-memory-bench --brief
	@./$(BUILD_DIR)/bench/kovrant-bench --brief --diagnosis

# The libFuzzer targets, each run for FUZZ_SECONDS on a corpus kept in $(FUZZ_DIR)/corpus and
# first seeded from the tests' generated cases; what a target finds lands in
# $(FUZZ_DIR)/findings.
FUZZ_DIR      ?= build-fuzz
FUZZ_SECONDS  ?= 60
FUZZ_TARGETS  := fuzz_divide fuzz_combine fuzz_cp932 fuzz_textencoding fuzz_crcdiagnosis \
                 fuzz_cliargs fuzz_settings fuzz_formats fuzz_retime
FUZZ_PACKAGES := $(PACKAGES) clang libclang-rt-14-dev

$(FUZZ_DIR)/CMakeCache.txt:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DKOVRANT_SANITIZE=ON -DKOVRANT_BUILD_FUZZ=ON -DKOVRANT_BUILD_TESTS=OFF \
	      -DKOVRANT_BUILD_BENCH=OFF $(CMAKE_ARGS)

fuzz: $(FUZZ_DIR)/CMakeCache.txt
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS) fuzz_seeds
	rm -rf $(FUZZ_DIR)/seeds && ./$(FUZZ_DIR)/fuzz/fuzz_seeds $(FUZZ_DIR)/seeds
	@mkdir -p $(FUZZ_DIR)/findings; status=0; \
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t; \
	  ./$(FUZZ_DIR)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -max_len=8192 \
	    -artifact_prefix=$(FUZZ_DIR)/findings/$$t- $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/seeds/$$t \
	    >$(FUZZ_DIR)/$$t.log 2>&1 || status=1; \
	  runs=$$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' $(FUZZ_DIR)/$$t.log); \
	  echo "$$t: $${runs:-?} executions, $$(ls $(FUZZ_DIR)/findings | grep -c "^$$t-") findings"; \
	done; \
	[ $$status = 0 ] || echo "see $(FUZZ_DIR)/*.log and $(FUZZ_DIR)/findings"; exit $$status

# A Debian package of both programs with the help, the desktop entry, the icons, the AppStream
# file and the man page, installed under /usr: build-package/kovrant_<version>_<arch>.deb.
package:
	$(MAKE) deps EXTRA_PACKAGES="$(PACKAGE_PACKAGES)"
	cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	      -DKOVRANT_WERROR=ON -DKOVRANT_BUILD_TESTS=OFF -DKOVRANT_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build build-package -j $(JOBS)
	cd build-package && cpack

# Brings translations/kovrant_en.ts up to date with the texts in src/; the English texts of new
# entries are then written there by hand (tst_translations fails until they are).
translations: deps
	/usr/lib/qt6/bin/lupdate -no-obsolete -locations none -source-language ja -target-language en \
	  src -ts translations/kovrant_en.ts

format: build
	cmake --build $(BUILD_DIR) --target format

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) build-package
