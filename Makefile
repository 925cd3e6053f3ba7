# The two commands of the README: `make run` and `make test`.
# Both install what is missing (Debian/Ubuntu packages), configure and build.

BUILD_DIR  ?= build
ASAN_DIR   ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

PACKAGES := cmake make g++ qt6-base-dev libgl-dev xvfb xauth

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test deps build build-programs build-asan check check-asan bench format clean

run: build-programs
	./tools/demo.sh $(BUILD_DIR)

test: check check-asan

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
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
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kovrant-cli

build-asan: deps $(ASAN_DIR)/CMakeCache.txt
	cmake --build $(ASAN_DIR) -j $(JOBS)

check: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 ctest --output-on-failure -j $(JOBS)

check-asan: build-asan
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# One line per figure: 1. batch, 2. core, 4. memory; 3. (start-up) comes with its own program.
# BENCH_BATCH_ARGS=--scaling adds the batch of 10,000 files (several minutes on a slow disk).
BENCH_BATCH_ARGS ?=
bench: build
	@$(MAKE) --no-print-directory deps PACKAGES=strace
	@./$(BUILD_DIR)/bench/kovrant-batch-bench --brief $(BENCH_BATCH_ARGS)
	@./$(BUILD_DIR)/bench/kovrant-bench --brief
	@./$(BUILD_DIR)/bench/kovrant-memory-bench --brief

format: build
	cmake --build $(BUILD_DIR) --target format

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
