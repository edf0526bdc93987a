# The two commands a new machine needs: `make demo` and `make test`.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= 2
# Tests of the code that reads untrusted bytes, run again under AddressSanitizer and UBSan.
SANITIZED_TESTS = test_graphics_packed_picture_test test_graphics_jpeg_picture_test \
                  test_graphics_picture_loader_test test_tools_picture_encoder_test \
                  test_engine_archive_index_test test_persist_animated_cursor_test \
                  test_engine_click_map_script_test test_engine_choice_blocks_test \
                  test_audio_wady_codec_test test_audio_ogg_voice_test test_audio_music_stream_test

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

# The build runs sanitized programs too (the demo's art generator), so the options hold for both.
sanitize: export ASAN_OPTIONS = detect_leaks=1
sanitize: export LSAN_OPTIONS = suppressions=$(CURDIR)/scripts/lsan.supp
sanitize: export UBSAN_OPTIONS = halt_on_error=1:print_stacktrace=1
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILL_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target $(SANITIZED_TESTS)
	set -e; for t in $(SANITIZED_TESTS); do $(ASAN_BUILD)/tests/$$t --gtest_brief=1; done

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

# The share of a core the demo burns in a window while it waits (title, page, menu, close
# question); REFERENCE=path/to/quill measures another build beside it in the same run.
bench-idle: build
	./bench/idle_cpu.sh $(BUILD)/quill $(BUILD)/demo

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
