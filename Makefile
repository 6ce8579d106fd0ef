# One command to play, one to test, one to pack; each installs what is missing and builds first.
BUILD ?= build
JOBS  ?= $(shell nproc)
# Which packages tools/install-deps.sh installs: play, deb or test.
DEPS  ?= play

.PHONY: run test deb build deps screenshot bench clean

run: build
	cd $(BUILD) && ./gravimel

test: DEPS = test
test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1024x768x24" ctest --no-tests=error --output-on-failure -j $(JOBS)

# The Debian package $(BUILD)/gravimel_<version>_amd64.deb (see README, Install).
deb: DEPS = deb
deb: build
	cd $(BUILD) && cpack

# The picture at the top of the README: the game in play, from the real renderer under Xvfb, in 256
# colours and without metadata, so that the one picture kept in the repository stays small.
screenshot: DEPS = test
screenshot: build
	bash tools/screenshot.sh $(BUILD) $(BUILD)/screenshot.png
	mkdir -p docs
	convert $(BUILD)/screenshot.png -strip -dither FloydSteinberg -colors 256 PNG8:docs/screenshot.png

# Timings of the update, the collision pass, rendering, sound and whole frames (see README).
bench: DEPS = test
bench: deps
	bash tools/bench/bench.sh

build: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

deps:
	bash tools/install-deps.sh $(DEPS)

clean:
	rm -rf $(BUILD)
