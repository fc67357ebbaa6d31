// Find on 256 MiB of random data against glibc memmem and the plain scan, and replace-all
// of a million matches in 64 MiB. Ratios are taken against baselines timed in the same run.
#include "BenchMain.h"

#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "hexeditor/VXHFind.h"
#include "hexeditor/VXHexEditor.h"

namespace {
constexpr int kFindSize = 256 << 20;
constexpr int kReplaceSize = 64 << 20;
constexpr int kMatches = 1000000;
const uint8_t kAbsent[8] = {0x13, 0x37, 0xC0, 0xDE, 0x42, 0x99, 0x01, 0xFE};
// Lower-case letters: the pattern of an ignore-case search is given in lower case.
const uint8_t kAbsentLower[8] = {'q', 'x', 'z', 'j', 'v', 'k', 'w', 'y'};

const std::vector<uint8_t>& RandomData() {
  static const std::vector<uint8_t> data = [] {
    std::vector<uint8_t> d(kFindSize);
    std::mt19937_64 rng(12345);
    for (size_t i = 0; i < d.size(); i += 8) {
      const uint64_t v = rng();
      std::memcpy(d.data() + i, &v, 8);
    }
    return d;
  }();
  return data;
}

TCustomVXHexEditor& FindEditor() {
  static TCustomVXHexEditor* ed = [] {
    auto* e = new TCustomVXHexEditor;
    TMemoryStream s;
    s.WriteBuffer(RandomData().data(), kFindSize);
    e->LoadFromStream(s);
    return e;
  }();
  return *ed;
}

template <typename F>
double SecondsOf(F&& f, int runs = 3) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

double MemmemSeconds() {
  static const double s = SecondsOf([] {
    benchmark::DoNotOptimize(memmem(RandomData().data(), kFindSize, kAbsent, 8));
  });
  return s;
}

double NaiveSeconds(bool ignoreCase) {
  static const TVXHFoldTable fold = MakeFoldTable(tkAsIs);
  static double s[2] = {0, 0};
  double& r = s[ignoreCase];
  if (r == 0)
    r = SecondsOf(
        [&] {
          benchmark::DoNotOptimize(NaiveFind(RandomData().data(), kFindSize, ignoreCase ? kAbsentLower : kAbsent, 8,
                                             0, kFindSize - 1, ignoreCase ? &fold : nullptr));
        },
        1);
  return r;
}

void Report(benchmark::State& state, double seconds, bool ignoreCase) {
  state.SetBytesProcessed(int64_t(state.iterations()) * kFindSize);
  state.counters["GB_per_s"] = double(kFindSize) / seconds / 1e9;
  if (!ignoreCase) state.counters["x_memmem"] = MemmemSeconds() / seconds;
  state.counters["x_naive"] = NaiveSeconds(ignoreCase) / seconds;
}

void BM_Memmem(benchmark::State& state) {
  double best = 1e9;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(memmem(RandomData().data(), kFindSize, kAbsent, 8));
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kFindSize);
  state.counters["GB_per_s"] = double(kFindSize) / best / 1e9;
}
BENCHMARK(BM_Memmem)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NaiveScan(benchmark::State& state) {
  const bool ignoreCase = state.range(0);
  for (auto _ : state) benchmark::DoNotOptimize(NaiveSeconds(ignoreCase));
  state.counters["GB_per_s"] = double(kFindSize) / NaiveSeconds(ignoreCase) / 1e9;
}
BENCHMARK(BM_NaiveScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Find(benchmark::State& state) {
  const bool ignoreCase = state.range(0);
  TCustomVXHexEditor& ed = FindEditor();
  double best = 1e9;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const int r = ed.Find(ignoreCase ? kAbsentLower : kAbsent, 8, 0, kFindSize - 1, ignoreCase);
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    if (r != -1) state.SkipWithError("the absent pattern was found");
  }
  Report(state, best, ignoreCase);
}
BENCHMARK(BM_Find)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The folding kernels alone (0 scalar, 1 AVX2, 2 AVX-512), 64 KiB blocks as the search uses them.
void BM_FoldKernel(benchmark::State& state) {
  const int kernel = static_cast<int>(state.range(0));
  if (!FoldKernelAvailable(kernel)) {
    state.SkipWithError("not available on this processor");
    return;
  }
  const TVXHFoldTable fold = MakeFoldTable(tkAsIs);
  std::vector<uint8_t> block(1 << 16);
  const uint8_t* data = RandomData().data();
  for (auto _ : state) {
    for (size_t off = 0; off < size_t(kFindSize); off += block.size())
      FoldBuffer(fold, data + off, block.data(), block.size(), kernel);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kFindSize);
}
BENCHMARK(BM_FoldKernel)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// 64 MiB of bytes below 40h with "WXYZ" planted a million times.
void LoadReplaceDocument(TCustomVXHexEditor& ed) {
  static const std::vector<uint8_t> doc = [] {
    std::vector<uint8_t> d(kReplaceSize);
    std::mt19937 rng(7);
    for (uint8_t& b : d) b = static_cast<uint8_t>(rng() & 0x3F);
    const int step = kReplaceSize / kMatches;
    for (int i = 0; i < kMatches; ++i) std::memcpy(d.data() + size_t(i) * step, "WXYZ", 4);
    return d;
  }();
  TMemoryStream s;
  s.WriteBuffer(doc.data(), doc.size());
  ed.LoadFromStream(s);
}

void BM_ReplaceAll(benchmark::State& state) {
  const int replLength = static_cast<int>(state.range(0));
  const uint8_t repl[] = {'w', 'x', 'y', 'z', '!', '!'};
  TCustomVXHexEditor ed;
  int count = 0;
  for (auto _ : state) {
    state.PauseTiming();
    LoadReplaceDocument(ed);
    state.ResumeTiming();
    count = ed.ReplaceAll("WXYZ", 4, repl, replLength, false);
  }
  if (count != kMatches) state.SkipWithError("wrong number of replacements");
  state.counters["replacements"] = count;
}
BENCHMARK(BM_ReplaceAll)->Arg(4)->Arg(6)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
}  // namespace

ZQ_BENCHMARK_MAIN()
