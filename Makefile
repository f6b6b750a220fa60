# make run  - install what is missing, build, start the program
# make test - install what is missing, build, run every test
# make package - the Debian package (build/qavsec_*.deb)
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all bootstrap configure build run test bench package clean

all: build

bootstrap:
	@bash scripts/bootstrap

configure: bootstrap
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS); fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/qavsec ]; then $(BUILD)/qavsec; \
	else $(BUILD)/qavsec-cli info examples/rectangular_column.sec; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

package: build
	cmake --build $(BUILD) --target package

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
