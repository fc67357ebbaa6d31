// A full repaint of a 1920 x 1080 editor full of data, against the same cells drawn the
// straightforward way: one QPainter::drawText per cell.
#include "BenchMain.h"

#include <QImage>
#include <QPainter>

#include <vector>

#include "hexeditor/VXHexEditor.h"

namespace {

struct TEditorSetup {
  TCustomVXHexEditor Editor;
  TEditorSetup() {
    Editor.resize(1920, 1080);
    Editor.SetBytesPerRow(48);  // wide enough for the grid to fill the window
    Editor.SetShowRuler(true);
    QByteArray bytes(1 << 20, Qt::Uninitialized);
    uint32_t x = 7;
    for (char& c : bytes) { x = x * 1664525u + 1013904223u; c = char(x >> 24); }
    TMemoryStream s;
    s.WriteBuffer(bytes.constData(), bytes.size());
    Editor.LoadFromStream(s);
    for (int p = 0; p < 3000; p += 7) Editor.SetChanged(p, true);
    Editor.SetSelectionRaw(100, 100, 900, false);
  }
  QImage Target() const { return QImage(Editor.viewport()->size(), QImage::Format_ARGB32_Premultiplied); }
};

TEditorSetup& Setup() {
  static TEditorSetup setup;
  return setup;
}

void BM_PaintEditor(benchmark::State& state) {
  TEditorSetup& s = Setup();
  QImage image = s.Target();
  for (auto _ : state) {
    s.Editor.viewport()->render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PaintEditor)->Unit(benchmark::kMillisecond)->UseRealTime();

// The baseline gets every cell's rectangle, text and colours ready-made, so only the
// drawing is timed.
struct TBaselineCell {
  QRect Rect;
  QString Text;
  QColor Fg, Bg;
};

std::vector<TBaselineCell> BaselineCells(TCustomVXHexEditor& ed) {
  std::vector<TBaselineCell> cells;
  const int h = ed.HexColumnCount();
  auto add = [&](int col, int row) {
    const QRect r = ed.CellRect(col, row);
    if (r.isEmpty()) return;
    const QColor bg = col == 0 || row == 0 ? QColor(0xE0, 0xE0, 0xE0) : QColor(Qt::white);
    const QColor fg = col > h + 2 ? QColor(Qt::black) : QColor(Qt::blue);
    cells.push_back({r, ed.CellText(col, row), fg, bg});
  };
  for (int col = ed.LeftCol(); col < ed.ColCount(); ++col) add(col, 0);
  for (int row = ed.TopRow(); row < ed.RowCount(); ++row) {
    if (ed.CellRect(0, row).isEmpty()) break;
    add(0, row);
    for (int col = ed.LeftCol(); col < ed.ColCount(); ++col) add(col, row);
  }
  return cells;
}

void BM_PaintBaselineDrawText(benchmark::State& state) {
  TEditorSetup& s = Setup();
  QImage image = s.Target();
  const std::vector<TBaselineCell> cells = BaselineCells(s.Editor);
  const QFont font = s.Editor.Font().ToQFont();
  const int cw = s.Editor.CharWidth();
  for (auto _ : state) {
    QPainter p(&image);
    p.fillRect(image.rect(), Qt::white);
    p.setFont(font);
    for (const TBaselineCell& c : cells) {
      p.fillRect(c.Rect, c.Bg);
      p.setPen(c.Fg);
      p.drawText(QRect(c.Rect.left(), c.Rect.top(), c.Rect.left() == 0 ? c.Rect.width() : cw, c.Rect.height()),
                 Qt::AlignLeft | Qt::AlignTop, c.Text);
    }
    p.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["cells"] = double(cells.size());
}
BENCHMARK(BM_PaintBaselineDrawText)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

ZQ_BENCHMARK_MAIN()
