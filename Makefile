# The two commands of the README: `make run` and `make test`.
# Each installs missing Debian packages, configures, builds and runs.

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test bench fuzz soak deps build clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

run: build
	@if [ -x build/default/tools/vantor-sim ]; then \
		build/default/tools/vantor-sim; \
	else \
		echo "Nothing to run yet: the simulated desktop and vantor-sim are not built so far."; \
		echo "Run 'make test' to build and test what exists."; \
	fi

# The default build, then the sanitizer build, then clang with libc++ (what a Mac's compiler and
# standard library accept).
test: build
	ctest --preset default -j $(JOBS)
	cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)
	cmake --preset libcxx
	cmake --build --preset libcxx -j $(JOBS)
	ctest --preset libcxx -j $(JOBS)

bench: deps
	@scripts/bench.sh

fuzz: deps
	@scripts/fuzz.sh

soak: deps
	@scripts/soak.sh

clean:
	rm -rf build
