# One command to play, one to test; both install what is missing and build first.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: run test build deps bench clean

run: build
	cd $(BUILD) && ./gravimel

test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j $(JOBS)

build: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

deps:
	bash tools/install-deps.sh

clean:
	rm -rf $(BUILD)
