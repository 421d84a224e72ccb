# The two commands of the README: `make run` and `make test`.
JOBS ?= $(shell nproc)
export CCACHE_BASEDIR := $(CURDIR)

.PHONY: run test bench fuzz deps configure build build-test clean

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Only what the game needs: the program, its libraries and the installation tree.
build: configure
	cmake --build build -j $(JOBS) --target loopvane content

# The benchmark programs, in build/bench/.
bench: configure
	cmake --build build -j $(JOBS) --target benchmarks

# The game on the installation tree build/data; options such as /w (windowed) go in ARGS. The game's
# normal end is exit code 13; any other code fails the target with that code.
run: build
	build/Source/loopvane $(ARGS); code=$$?; [ $$code -eq 13 ] || exit $$code

build-test: deps
	cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLOOPVANE_SANITIZE=ON -DLOOPVANE_BENCH=ON
	cmake --build build-test -j $(JOBS)

# GCC 12's sanitizer runtime misreads some dynamic TLS blocks (the GL driver's) in its __tls_get_addr
# interceptor, which now and then crashes the leak checker's tracer at exit ("Tracer caught signal 11").
test: build-test
	cd build-test && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS) --timeout 900

# Every libFuzzer target for SECONDS seconds each, built with clang in build-fuzz/ (scripts/fuzz).
SECONDS ?= 60
fuzz:
	JOBS=$(JOBS) scripts/fuzz $(SECONDS)

clean:
	rm -rf build build-test build-fuzz
