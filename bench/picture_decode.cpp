// Picture decoding throughput (MB/s of decoded pixels) on an 800 x 600 picture of game-like
// content. zlib's inflate of the same raw pixels is the reference; the ratios are printed last.
#include <benchmark/benchmark.h>
#include <stb/stb_image_write.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/support/bench_figures.h"
#include "graphics/blend_kernels.h"
#include "graphics/delta_kernels.h"
#include "graphics/jpeg_picture.h"
#include "graphics/packed_picture.h"
#include "tools/picture_encoder.h"

namespace {

using quill::Picture;
using Bytes = std::vector<uint8_t>;

// Sky gradient on top, flat walls with a round shape in the middle, textured ground below.
Picture MakeScene() {
  Picture p(800, 600);
  std::mt19937 rng(2024);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      uint8_t* px = p.Pixel(x, y);
      int b, g, r;
      if (y < 220) {
        b = 255 - y / 3, g = 160 + y / 4 - x / 40, r = 90 + y / 3 + x / 64;
      } else if (y < 420) {
        bool wall = (x / 160) % 2 == 0;
        b = wall ? 180 : 60, g = wall ? 170 : 80, r = wall ? 150 : 120;
        int dx = x - 520, dy = y - 320;
        if (dx * dx + dy * dy < 70 * 70) b = 20, g = 200 - dy, r = 230;
      } else {
        int n = static_cast<int>(rng() % 33) - 16;
        b = 40 + n, g = 120 + (x % 50) / 5 + n, r = 60 + n / 2;
      }
      px[0] = static_cast<uint8_t>(std::clamp(b, 0, 255));
      px[1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
      px[2] = static_cast<uint8_t>(std::clamp(r, 0, 255));
    }
  }
  return p;
}

const Picture& Scene() {
  static const Picture scene = MakeScene();
  return scene;
}

// flags: 1 run-length stage, 2 delta stage, 4 dense parse (every match of 3 bytes and more).
const Bytes& Packed(int flags) {
  static std::map<int, Bytes> cache;
  auto it = cache.find(flags);
  if (it == cache.end()) {
    auto member =
        quill::EncodePackedPicture(Scene(), {(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0});
    it = cache.emplace(flags, *member).first;
  }
  return it->second;
}

const Bytes& Deflated() {
  static const Bytes data = [] {
    const Bytes& raw = Scene().bytes();
    uLongf size = compressBound(raw.size());
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), raw.size(), Z_DEFAULT_COMPRESSION);
    out.resize(size);
    return out;
  }();
  return data;
}

const Bytes& Jpeg() {
  static const Bytes data = [] {
    const Picture& p = Scene();
    Bytes rgb;
    for (size_t i = 0; i < p.bytes().size(); i += 3) {
      rgb.insert(rgb.end(), {p.bytes()[i + 2], p.bytes()[i + 1], p.bytes()[i]});
    }
    Bytes out;
    stbi_write_jpg_to_func(
        [](void* context, void* bytes, int size) {
          auto* o = static_cast<Bytes*>(context);
          o->insert(o->end(), static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + size);
        },
        &out, p.width(), p.height(), 3, rgb.data(), 90);
    return out;
  }();
  return data;
}

void SetCounters(benchmark::State& state, size_t compressed) {
  const size_t raw = Scene().bytes().size();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw));
  state.counters["ratio"] = static_cast<double>(compressed) / raw;
}

void BM_PackedDecode(benchmark::State& state) {
  const int flags = static_cast<int>(state.range(0) | (state.range(1) << 2));
  const Bytes& member = Packed(flags);
  state.SetLabel(std::string(flags & 4 ? "dense" : "default") + (flags & 1 ? " +rle" : "") +
                 (flags & 2 ? " +delta" : ""));
  Picture target(800, 600);
  for (auto _ : state) {
    quill::PictureDecodeResult r = quill::DecodePackedPicture(member, target);
    if (!r.ok) state.SkipWithError(r.error.c_str());
    benchmark::DoNotOptimize(target.bytes().data());
  }
  SetCounters(state, member.size());
}
// Stages (0 none, 1 run-length, 2 delta, 3 both) by parse (0 default, 1 dense).
BENCHMARK(BM_PackedDecode)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMicrosecond);

// The delta stage alone over the scene's bytes, by instruction set (0 scalar, 1 SSE2, 2 AVX2).
void BM_DeltaStage(benchmark::State& state) {
  constexpr quill::BlendIsa kIsas[] = {quill::BlendIsa::kScalar, quill::BlendIsa::kSse2,
                                       quill::BlendIsa::kAvx2};
  const quill::BlendIsa isa = kIsas[state.range(0)];
  const quill::BlendIsa saved = quill::ActiveBlendIsa();
  if (!quill::SetBlendIsa(isa)) {
    state.SkipWithError("the processor lacks this instruction set");
    return;
  }
  state.SetLabel(isa == quill::BlendIsa::kAvx2   ? "avx2"
                 : isa == quill::BlendIsa::kSse2 ? "sse2"
                                                 : "scalar");
  Bytes bytes = Scene().bytes();
  for (auto _ : state) {
    quill::DeltaDecode(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(bytes.data());
  }
  quill::SetBlendIsa(saved);
  SetCounters(state, bytes.size());
}
BENCHMARK(BM_DeltaStage)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_ZlibInflate(benchmark::State& state) {
  const Bytes& deflated = Deflated();
  Bytes out(Scene().bytes().size());
  for (auto _ : state) {
    uLongf size = out.size();
    if (uncompress(out.data(), &size, deflated.data(), deflated.size()) != Z_OK) {
      state.SkipWithError("inflate failed");
    }
    benchmark::DoNotOptimize(out.data());
  }
  SetCounters(state, deflated.size());
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMicrosecond);

void BM_JpegDecode(benchmark::State& state) {
  const Bytes& jpeg = Jpeg();
  Picture target(800, 600);
  for (auto _ : state) {
    quill::PictureDecodeResult r = quill::DecodeJpegPicture(jpeg, target);
    if (!r.ok) state.SkipWithError(r.error.c_str());
    benchmark::DoNotOptimize(target.bytes().data());
  }
  SetCounters(state, jpeg.size());
}
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMicrosecond);

// Decoding speed relative to zlib inflating the same pixels.
void PrintRatios(const quill::bench::Figures& figures) {
  double zlib = figures.Seconds("BM_ZlibInflate");
  if (zlib <= 0) return;
  std::printf("\nDecoding speed relative to zlib inflate of the same pixels (higher is faster):\n");
  for (const auto& [name, figure] : figures.all()) {
    if (name != "BM_ZlibInflate") {
      std::printf("  %-22s %-18s %6.2fx\n", name.c_str(), figure.label.c_str(),
                  zlib / figure.seconds);
    }
  }
}

}  // namespace

int main(int argc, char** argv) { return quill::bench::RunBenchmarks(argc, argv, PrintRatios); }
