# The two commands of the README. Both install the Debian packages they need first.
.PHONY: run test deps build asan-test bench clean

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset debug >/dev/null
	@cmake --build --preset debug

# With a display: the application in a phone-sized window. Without one: the walkthrough, offscreen,
# which drives every screen and saves what an officer would see. Either way only what runs is built (the
# application or the walkthrough, and the two emulators), not the tests and benchmarks.
RUN_TARGETS = kompaun council-emulator printer-emulator
WALKTHROUGH_TARGETS = kompaun-walkthrough council-emulator printer-emulator

run: deps
	@cmake --preset debug >/dev/null
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  cmake --build --preset debug --target $(WALKTHROUGH_TARGETS) && \
	  echo "No display found: running the walkthrough offscreen instead." && \
	  scripts/run-walkthrough.sh "$(CURDIR)/walkthrough"; \
	else \
	  cmake --build --preset debug --target $(RUN_TARGETS) && \
	  scripts/run-app.sh $(ARGS); \
	fi

test: build
	@ctest --preset debug

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@kompaun_runtime_dir=; . scripts/private-runtime-dir.sh; rc=0; \
	  for b in build-release/bin/bench_*; do if [ -x "$$b" ]; then "$$b" || rc=1; fi; done; \
	  [ -z "$$kompaun_runtime_dir" ] || rm -rf "$$kompaun_runtime_dir"; exit $$rc

clean:
	@rm -rf build build-asan build-release walkthrough
