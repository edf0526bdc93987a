# The two commands a new machine needs: `make demo` and `make test`.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2
# The tests of the code that reads outside bytes, run again from the sanitized tree.
SANITIZED_TESTS = test_graphics_packed_picture_test test_graphics_jpeg_picture_test \
                  test_graphics_picture_loader_test test_graphics_delta_kernels_test \
                  test_tools_picture_encoder_test test_engine_archive_index_test \
                  test_engine_fuzz_findings_test test_persist_animated_cursor_test \
                  test_engine_click_map_script_test test_engine_choice_blocks_test \
                  test_common_bmp_file_test test_audio_wady_codec_test test_audio_ogg_voice_test \
                  test_audio_music_stream_test
# Fuzzing: every target of fuzz/targets (or those named), FUZZ_SECONDS each.
FUZZ_TARGETS ?= $(sort $(basename $(notdir $(wildcard fuzz/targets/*.cpp))))
FUZZ_SECONDS ?= 60

.PHONY: deps configure build demo test sanitize fuzz-build fuzz fuzz-smoke fuzz-corpus bench bench-idle \
        clean

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	$(BUILD)/quill --game $(BUILD)/demo

test: build sanitize fuzz-smoke
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The readers' tests run a second time from the sanitized tree: AddressSanitizer (leaks too) and
# UBSan, stopping at the first report. -O1 with line tables only (-g1) keeps the build short. The
# build runs sanitized programs too (the demo's art generator), so the options hold
# for both.
sanitize: export ASAN_OPTIONS = detect_leaks=1:halt_on_error=1
sanitize: export LSAN_OPTIONS = suppressions=$(CURDIR)/scripts/lsan.supp
sanitize: export UBSAN_OPTIONS = halt_on_error=1:print_stacktrace=1
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUILL_SANITIZE=ON \
	  -DCMAKE_C_FLAGS_DEBUG="-g1 -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1"
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target $(SANITIZED_TESTS)
	set -e; for t in $(SANITIZED_TESTS); do $(ASAN_BUILD)/tests/$$t --gtest_brief=1; done

# The fuzz targets' sanitizers: any report, leak or UBSan finding ends the run as a crash.
FUZZ_ENV = ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
           UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

fuzz-build: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))

# Each target FUZZ_SECONDS seconds from its seeds; new inputs go to $(FUZZ_BUILD)/corpus/NAME, a
# crash, leak, timeout or sanitizer report stops everything and names the reproducer.
fuzz: fuzz-build
	@set -e; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/artifacts/$$t; \
	  echo "fuzz_$$t: $(FUZZ_SECONDS) s"; \
	  if ! $(FUZZ_ENV) $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=25 \
	      -rss_limit_mb=2048 -print_final_stats=1 \
	      -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t/ $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t \
	      > $(FUZZ_BUILD)/fuzz_$$t.log 2>&1; then \
	    tail -n 40 $(FUZZ_BUILD)/fuzz_$$t.log; \
	    echo "fuzz_$$t failed; reproducer: $$(ls -t $(FUZZ_BUILD)/artifacts/$$t/* | head -n 1)"; \
	    echo "run it again with: $(FUZZ_BUILD)/fuzz/fuzz_$$t FILE"; \
	    exit 1; \
	  fi; \
	  grep -E 'DONE|^Done' $(FUZZ_BUILD)/fuzz_$$t.log || true; \
	done

# Every target once over its seed corpus, so that the targets build and their seeds pass.
fuzz-smoke: fuzz-build
	@set -e; for t in $(FUZZ_TARGETS); do \
	  ls fuzz/corpus/$$t/* > /dev/null; \
	  mkdir -p $(FUZZ_BUILD)/artifacts/$$t; \
	  if ! $(FUZZ_ENV) $(FUZZ_BUILD)/fuzz/fuzz_$$t -runs=0 -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t/ \
	      fuzz/corpus/$$t \
	      > $(FUZZ_BUILD)/smoke_$$t.log 2>&1; then \
	    tail -n 40 $(FUZZ_BUILD)/smoke_$$t.log; echo "fuzz_$$t failed on its seeds"; exit 1; \
	  fi; \
	  echo "fuzz_$$t: $$(grep -m1 -E 'INITED|DONE' $(FUZZ_BUILD)/smoke_$$t.log)"; \
	done

# Writes the seed corpora anew with the project's encoders.
fuzz-corpus: fuzz-build
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target fuzz_make_corpus
	$(FUZZ_BUILD)/fuzz/fuzz_make_corpus fuzz/corpus

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

# The share of a core the demo burns in a window while it waits (title, page, menu, close
# question); REFERENCE=path/to/quill measures another build beside it in the same run.
bench-idle: build
	./bench/idle_cpu.sh $(BUILD)/quill $(BUILD)/demo

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
