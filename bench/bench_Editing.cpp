// Editing a 256 MiB document against a plain memmove of the same size.
#include "BenchMain.h"

#include <cstring>
#include <vector>

#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHUndoStorage.h"

namespace {
constexpr int kSize = 256 << 20;

TCustomVXHexEditor& Editor() {
  static TCustomVXHexEditor* ed = [] {
    auto* e = new TCustomVXHexEditor;
    TMemoryStream s;
    s.SetSize(kSize);
    std::memset(s.Memory(), 0x5A, kSize);
    e->LoadFromStream(s);
    e->SetMaxUndo(0);
    return e;
  }();
  return *ed;
}

void BM_Memmove(benchmark::State& state) {
  std::vector<uint8_t> buf(size_t(kSize) + 1, 0x5A);
  for (auto _ : state) {
    std::memmove(buf.data() + 1, buf.data(), kSize);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Memmove)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InsertByteAtStart(benchmark::State& state) {
  TCustomVXHexEditor& ed = Editor();
  const uint8_t b = 1;
  for (auto _ : state) {
    ed.InsertBuffer(&b, 1, 0, QString(), false);
    state.PauseTiming();
    ed.Undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InsertByteAtStart)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InsertNibbleAtStart(benchmark::State& state) {
  TCustomVXHexEditor& ed = Editor();
  for (auto _ : state) {
    ed.InsertNibble(0, true, QString());
    state.PauseTiming();
    ed.UndoStorage().Reset();
    ed.SelectAll();
    ed.ResetSelection(false);
    ed.Seek(kSize, 0);
    ed.DeleteAtCaret(false, QString());  // back to the old size
    ed.UndoStorage().Reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InsertNibbleAtStart)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeleteNibbleAtStart(benchmark::State& state) {
  TCustomVXHexEditor& ed = Editor();
  for (auto _ : state) {
    ed.DeleteNibble(0, true, QString());
    state.PauseTiming();
    ed.UndoStorage().Reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DeleteNibbleAtStart)->Unit(benchmark::kMillisecond)->UseRealTime();

// One million overwrites with the default undo limit: the cost per change must not grow.
void BM_MillionChangeBytes(benchmark::State& state) {
  TCustomVXHexEditor ed;
  TMemoryStream s;
  s.SetSize(1 << 20);
  std::memset(s.Memory(), 0, 1 << 20);
  ed.LoadFromStream(s);
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 0; i < n; ++i) {
      const int p = (i * 7919) & ((1 << 20) - 1);
      ed.ChangeByte(p, ed.GetByte(p), static_cast<uint8_t>(i + 1 == 0 ? 1 : ed.GetByte(p) + 1), QString());
    }
  }
  state.counters["ns_per_change"] =
      benchmark::Counter(double(n) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MillionChangeBytes)->Arg(250000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
}  // namespace

ZQ_BENCHMARK_MAIN()
