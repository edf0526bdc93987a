# The two commands a new machine needs: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2

.PHONY: deps configure build demo test bench clean

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	$(BUILD)/quill --game $(BUILD)/demo

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

clean:
	rm -rf $(BUILD)
