# The two commands a new developer needs: `make run` and `make test`.
# Both install any missing Debian package first, then configure and build.
BUILD      ?= build
BUILD_SAN  ?= build-sanitize
BUILD_FUZZ ?= build-fuzz
BUILD_REL  ?= build-release
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test test-sanitize build-release package bench fuzz fuzz-run format clean \
  rerecord

all: build

deps:
	@./scripts/install-deps.sh

# Our own builds treat warnings as errors. Each configuration is made
# again when this file changes, so a build folder from before picks up
# what is set here.
$(BUILD)/build.ninja: Makefile | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLOUDMERE_WERROR=ON
	@touch $@

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/cloudmere $(ARGS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# After a deliberate change to how the game plays: the stored recordings
# under tests/recordings/ replayed and recorded afresh with the game as
# it now is.
rerecord: build
	./scripts/rerecord.sh $(BUILD)

$(BUILD_SAN)/build.ninja: Makefile | deps
	cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCLOUDMERE_SANITIZE=ON -DCLOUDMERE_BENCH=OFF -DCLOUDMERE_WERROR=ON
	@touch $@

# Mesa's software GL driver and its EGL front end are loaded and unloaded
# again by the GL context code. Once they are unloaded, LeakSanitizer can
# neither follow the pointers kept in their data nor name them, and
# reports their live allocations as leaks of an unknown module. Keeping
# them loaded for the whole process lets the leak check see through them;
# our own leaks are still reported.
MESA_LIBDIR := /usr/lib/$(shell gcc -dumpmachine)
MESA_PRELOAD := $(subst $(eval) ,:,$(wildcard $(MESA_LIBDIR)/dri/swrast_dri.so $(MESA_LIBDIR)/libEGL_mesa.so.0))
SAN_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  $(if $(MESA_PRELOAD),LD_PRELOAD=$(MESA_PRELOAD))

test-sanitize: deps $(BUILD_SAN)/build.ninja
	cmake --build $(BUILD_SAN) -j $(JOBS)
	$(SAN_ENV) ctest --test-dir $(BUILD_SAN) --output-on-failure -j $(JOBS)

# A Release build (-O3 has warnings of its own), built only: the suite
# runs in the other builds. The benchmarks are left out to keep it quick.
$(BUILD_REL)/build.ninja: Makefile | deps
	cmake -S . -B $(BUILD_REL) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCLOUDMERE_WERROR=ON -DCLOUDMERE_BENCH=OFF
	@touch $@

build-release: deps $(BUILD_REL)/build.ninja
	cmake --build $(BUILD_REL) -j $(JOBS)

# A tarball of the installed game (bin/, share/), from the Release build:
# unpack it anywhere and start bin/cloudmere.
package: build-release
	cmake --build $(BUILD_REL) --target package
	@ls -1 $(BUILD_REL)/cloudmere-*.tar.gz

bench: build
	./$(BUILD)/bench/cloudmere_bench

$(BUILD_FUZZ)/build.ninja: Makefile | deps
	cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCLOUDMERE_FUZZ=ON -DCLOUDMERE_TESTS=OFF -DCLOUDMERE_BENCH=OFF -DCLOUDMERE_WERROR=ON
	@touch $@

fuzz: deps $(BUILD_FUZZ)/build.ninja
	cmake --build $(BUILD_FUZZ) -j $(JOBS)

# Runs the data-format fuzzer on a scratch copy of the committed corpus.
fuzz-run: fuzz
	rm -rf $(BUILD_FUZZ)/corpus && cp -r fuzz/corpus $(BUILD_FUZZ)/corpus
	./$(BUILD_FUZZ)/fuzz/fuzz_data_format -max_total_time=$(FUZZ_SECONDS) \
	  -dict=fuzz/data_format.dict $(BUILD_FUZZ)/corpus fuzz/corpus

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_FUZZ) $(BUILD_REL)
