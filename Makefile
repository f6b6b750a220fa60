# make run  - install what is missing, build, start the program
# make test - install what is missing, build, run every test
# make fuzz - build the fuzz targets with clang and run each for FUZZ_SECONDS
# make sanitize - build and run the core test suite under AddressSanitizer + UBSan
# make package - the Debian package (build/qavsec_*.deb)
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# Executions per target; -1: until FUZZ_SECONDS (0: no time limit) is up.
FUZZ_RUNS ?= -1
FUZZ_TARGETS = section_file dxf_import force_csv number_text builder_boxes mesher
SANITIZE_BUILD ?= build-asan

.PHONY: all bootstrap configure build run test bench package clean fuzz fuzz-build sanitize

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

# The targets write what they learn into $(FUZZ_BUILD)/corpus (the seeds in tests/fuzz/corpus
# stay as they are) and a failing input into $(FUZZ_BUILD)/artifacts: keep it under
# tests/data/fuzz-regressions/<target>/ once mended. -purge_allocator_interval=10: once the peak
# RSS passes half the limit, libFuzzer hands the sanitizer's free memory back to the system, by
# default every second, and every execution faults it in again, which cost a long run about 40 %
# of its time; never purging lets the RSS creep towards the limit.
fuzz-build: bootstrap
	@if [ ! -f $(FUZZ_BUILD)/build.ninja ]; then CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQAVSEC_FUZZ=ON -DQAVSEC_APP=OFF -DQAVSEC_TESTS=OFF \
	  -DQAVSEC_BENCH=OFF; fi
	cmake --build $(FUZZ_BUILD) -j $(JOBS) $(addprefix --target fuzz_,$(FUZZ_TARGETS))

fuzz: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/artifacts
	@set -e; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BUILD)/tests/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -runs=$(FUZZ_RUNS) -rss_limit_mb=1024 -timeout=10 -purge_allocator_interval=10 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- \
	    $(FUZZ_BUILD)/corpus/$$t tests/fuzz/corpus/$$t > $(FUZZ_BUILD)/$$t.log 2>&1 \
	    || { tail -n 60 $(FUZZ_BUILD)/$$t.log; echo "fuzz: $$t failed (log: $(FUZZ_BUILD)/$$t.log)"; exit 1; }; \
	  grep -E '^Done|stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' $(FUZZ_BUILD)/$$t.log || true; \
	done

sanitize: bootstrap
	@if [ ! -f $(SANITIZE_BUILD)/build.ninja ]; then cmake -S . -B $(SANITIZE_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DQAVSEC_SANITIZE=ON -DQAVSEC_APP=OFF -DQAVSEC_BENCH=OFF; fi
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target qavsec_tests qavsec-cli
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD)
