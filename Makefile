# The two commands of the README. Both install the Debian packages they need first.
.PHONY: run test deps build asan-test bench clean

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset debug >/dev/null
	@cmake --build --preset debug

# With a display: the application in a phone-sized window. Without one: the walkthrough, offscreen,
# which drives every screen and saves what an officer would see.
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: running the walkthrough offscreen instead."; \
	  scripts/run-walkthrough.sh "$(CURDIR)/walkthrough"; \
	else \
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
	@for b in build-release/bin/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	@rm -rf build build-asan build-release walkthrough
