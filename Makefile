# One command to play, one to test; both install what is missing and build first.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: run test build deps screenshot bench clean

run: build
	cd $(BUILD) && ./gravimel

test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j $(JOBS)

# The picture at the top of the README: the game in play, from the real renderer under Xvfb.
screenshot: build
	bash tools/screenshot.sh $(BUILD) $(BUILD)/screenshot.png

# Timings of the update, the collision pass, rendering, sound and whole frames (see README).
bench: deps
	bash tools/bench.sh

build: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

deps:
	bash tools/install-deps.sh

clean:
	rm -rf $(BUILD)
