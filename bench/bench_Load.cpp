// Loading a 256 MiB file into the editor against a plain read() loop into fresh memory.
#include "BenchMain.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "hexeditor/VXHexEditor.h"

namespace {
constexpr int64_t kSize = int64_t(256) << 20;

const QString& TestFile() {
  static const QString path = [] {
    const QString p = QDir::tempPath() + QStringLiteral("/zqhex-bench-256m.bin");
    QFile f(p);
    if (f.size() != kSize && f.open(QIODevice::WriteOnly)) {
      QByteArray block(1 << 20, Qt::Uninitialized);
      uint32_t x = 1;
      for (char& c : block) { x = x * 1664525u + 1013904223u; c = char(x >> 24); }
      for (int64_t i = 0; i < kSize; i += block.size()) f.write(block);
    }
    return p;
  }();
  return path;
}

void BM_PlainRead(benchmark::State& state) {
  const QByteArray name = QFile::encodeName(TestFile());
  for (auto _ : state) {
    const int fd = ::open(name.constData(), O_RDONLY);
    auto* p = static_cast<uint8_t*>(std::malloc(kSize));
    int64_t done = 0;
    while (done < kSize) {
      const ssize_t r = ::read(fd, p + done, std::min<int64_t>(kSize - done, 61440));
      if (r <= 0) break;
      done += r;
    }
    benchmark::DoNotOptimize(p[kSize - 1]);
    std::free(p);
    ::close(fd);
  }
  state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadFromFile(benchmark::State& state) {
  TCustomVXHexEditor ed;
  for (auto _ : state) {
    ed.LoadFromFile(TestFile());
    benchmark::DoNotOptimize(ed.DataPointer()[kSize - 1]);
    state.PauseTiming();
    ed.CreateEmptyFile(QString());  // the next load starts from an empty document, as on open
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * kSize);
  state.counters["peak_MiB"] = double(PeakResidentKiB()) / 1024.0;
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace

ZQ_BENCHMARK_MAIN()
