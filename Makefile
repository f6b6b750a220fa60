# make run  - install what is missing, build, start the program
# make test - install what is missing, build, run every test
# make fuzz - build the fuzz targets with clang and run each for FUZZ_SECONDS
# make sanitize - build and run the core test suite under AddressSanitizer + UBSan
# make tsan - build the core test suite with ThreadSanitizer, run the tests of parallel runs
# make package - the Debian package (build/qavsec_*.deb)
# make format / format-check - clang-format every tracked C++ file / check it is formatted
# make tidy-changed - clang-tidy on the C++ lines changed since the merge base with main
# Each configuration is a preset of CMakePresets.json (default, asan, tsan, fuzz); the default
# one is the shipped Release build (-O3).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# Executions per target; -1: until FUZZ_SECONDS (0: no time limit) is up.
FUZZ_RUNS ?= -1
FUZZ_TARGETS = section_file dxf_import force_csv number_text builder_boxes mesher solver
SANITIZE_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
# The tests whose runs go through the thread pool (curves, surface, checks, report curves,
# tables), in the library and through the command line; the threads they do not set come from
# the machine's cores.
TSAN_TESTS = ^([A-Za-z]+/)?(AnalysisGolden|FastSolver|LoadCombinations|LoadFraction|PmmSurface|RunProgress|ReportCurves|LoadReport|PrintedPages|CliAnalysis|CliLongRuns|CliTables|CliJson)\.
CLANG_FORMAT ?= clang-format
CLANG_TIDY_DIFF ?= clang-tidy-diff-14.py
BASE ?= main

.PHONY: all bootstrap configure build build-type run test bench package clean fuzz fuzz-build \
	sanitize tsan format format-check tidy-changed

all: build

bootstrap:
	@bash scripts/bootstrap

configure: bootstrap
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake --preset default -B $(BUILD) $(CMAKE_FLAGS); fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Which configuration a run, a package or a benchmark figure came from.
build-type:
	@sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=/$(BUILD): build type /p' $(BUILD)/CMakeCache.txt

run: build build-type
	@if [ -x $(BUILD)/qavsec ]; then $(BUILD)/qavsec; \
	else $(BUILD)/qavsec-cli info examples/rectangular_column.sec; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

package: build build-type
	cmake --build $(BUILD) --target package

bench: build build-type
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# The targets write what they learn into $(FUZZ_BUILD)/corpus (the seeds in tests/fuzz/corpus
# stay as they are) and a failing input into $(FUZZ_BUILD)/artifacts: keep it under
# tests/data/fuzz-regressions/<target>/ once mended. -purge_allocator_interval=10: once the peak
# RSS passes half the limit, libFuzzer hands the sanitizer's free memory back to the system, by
# default every second, and every execution faults it in again, which cost a long run about 40 %
# of its time; never purging lets the RSS creep towards the limit.
fuzz-build: bootstrap
	@if [ ! -f $(FUZZ_BUILD)/build.ninja ]; then cmake --preset fuzz -B $(FUZZ_BUILD); fi
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
	@if [ ! -f $(SANITIZE_BUILD)/build.ninja ]; then cmake --preset asan -B $(SANITIZE_BUILD); fi
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target qavsec_tests qavsec-cli
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# setarch -R: this TSan maps its shadow memory at fixed addresses, which a kernel's wider address
# randomisation can overlap; without randomisation the mapping always fits.
tsan: bootstrap
	@if [ ! -f $(TSAN_BUILD)/build.ninja ]; then cmake --preset tsan -B $(TSAN_BUILD); fi
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target qavsec_tests qavsec-cli
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  setarch -R ctest --output-on-failure -j $(JOBS) -R '$(TSAN_TESTS)'

FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')

format:
	@$(CLANG_FORMAT) -i $(FORMAT_FILES)

format-check:
	@$(CLANG_FORMAT) --dry-run --Werror $(FORMAT_FILES)
	@echo "format-check: $(words $(FORMAT_FILES)) files formatted"

# clang-tidy on the lines of C++ files changed since the merge base with $(BASE) (a new or
# renamed function is checked whole; a line mended inside an old one answers for that line), with
# the compile commands of $(BUILD). Nothing changed: nothing to do. The findings are errors
# (.clang-tidy); this clang-tidy-diff does not pass on the exit status, so its output decides.
tidy-changed: configure
	@base=$$(git merge-base HEAD $(BASE) 2>/dev/null || git merge-base HEAD origin/$(BASE) 2>/dev/null) \
	  || { echo "tidy-changed: no $(BASE) to compare with"; exit 1; }; \
	if git diff --quiet $$base -- '*.cpp' '*.h'; then \
	  echo "tidy-changed: no C++ file changed since $$base"; exit 0; fi; \
	echo "tidy-changed:" $$(git diff --name-only --diff-filter=d $$base -- '*.cpp' '*.h'); \
	git diff -U0 $$base -- '*.cpp' '*.h' | $(CLANG_TIDY_DIFF) -p1 -path $(BUILD) -quiet \
	  -j $(JOBS) > $(BUILD)/tidy-changed.log 2>&1; \
	grep -v -e ' warnings\? generated\.$$' -e '^$$' $(BUILD)/tidy-changed.log || true; \
	! grep -qE ': (warning|error): ' $(BUILD)/tidy-changed.log

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD) $(TSAN_BUILD)
