# The two commands a new machine needs: `make demo` and `make test`.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= 2
.PHONY: deps configure build demo test sanitize bench bench-idle clean

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	$(BUILD)/quill --game $(BUILD)/demo

test: build sanitize
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Every test program runs a second time from the sanitized tree: AddressSanitizer (leaks too) and
# UBSan, stopping at the first report. -O1 with line tables only (-g1) keeps the doubled build and
# run short. The build runs sanitized programs too (the demo's art generator), so the options hold
# for both.
sanitize: export ASAN_OPTIONS = detect_leaks=1:halt_on_error=1
sanitize: export LSAN_OPTIONS = suppressions=$(CURDIR)/scripts/lsan.supp
sanitize: export UBSAN_OPTIONS = halt_on_error=1:print_stacktrace=1
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILL_SANITIZE=ON \
	  -DCMAKE_C_FLAGS_DEBUG="-g1 -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1"
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target quill_tests
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

# The share of a core the demo burns in a window while it waits (title, page, menu, close
# question); REFERENCE=path/to/quill measures another build beside it in the same run.
bench-idle: build
	./bench/idle_cpu.sh $(BUILD)/quill $(BUILD)/demo

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
