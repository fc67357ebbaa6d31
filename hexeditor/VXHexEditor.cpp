// Construction, notifications and the provisional layout and painting of the control.
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHUndoStorage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace {
// Posted to the control itself so any number of notifications within one pass of the
// event loop give one OnSelectionChanged.
const QEvent::Type kSelectionChangedEvent = static_cast<QEvent::Type>(QEvent::User + 0x101);
}  // namespace

TCustomVXHexEditor::TCustomVXHexEditor(QWidget* parent)
    : TCustomGrid(parent), FUndoStorage(std::make_unique<TVXHUndoStorage>(*this)) {
  Loaded();
}

TCustomVXHexEditor::~TCustomVXHexEditor() {
  FDataStorage.Clear();
  FUndoStorage->Clear();
}

void TCustomVXHexEditor::Loaded() {
  if (FFileName == QStringLiteral("---")) CreateEmptyFile(QString());
}

bool TCustomVXHexEditor::event(QEvent* e) {
  if (e->type() == kSelectionChangedEvent) {
    FSelectionChangedPending = false;
    if (OnSelectionChanged) OnSelectionChanged(this);
    return true;
  }
  return TCustomGrid::event(e);
}

void TCustomVXHexEditor::NotifySelectionChanged() {
  if (FSelectionChangedPending) return;
  FSelectionChangedPending = true;
  QCoreApplication::postEvent(this, new QEvent(kSelectionChangedEvent));
}

void TCustomVXHexEditor::Changed() {
  if (OnChange) OnChange(this);
  NotifySelectionChanged();
}

void TCustomVXHexEditor::UndoBeginUpdate() { FUndoStorage->BeginUpdate(); }
void TCustomVXHexEditor::UndoEndUpdate() { FUndoStorage->EndUpdate(); }

void TCustomVXHexEditor::ResetUndo() { FUndoStorage->Reset(); }
void TCustomVXHexEditor::ClearChangeMarks() { FChangeMarks.clear(); }

void TCustomVXHexEditor::ResetSelection(bool Redraw) {
  FSelecting = false;
  FSelStart = FSelPosition = FSelEnd = -1;
  FSelectionPivot = -1;
  if (Redraw) InvalidateGrid();
}

void TCustomVXHexEditor::MoveCaretToFirstCell() { MoveCurrentCell(2, 2, true); }

void TCustomVXHexEditor::SetReadOnlyView(bool value) { FReadOnlyView = value; }

// Provisional geometry: gutter, gap, nibble columns, separator, character columns.
void TCustomVXHexEditor::UpdateGridSize() {
  const int size = DataSize();
  if (static_cast<int64_t>(FChangeMarks.size()) > size) FChangeMarks.resize(size);
  const int n = FBytesPerRow;
  int rows = 3;
  if (size > 0) {
    rows = (size + n - 1) / n + 2;
    if (size % n == 0 && FInsertMode) ++rows;
  }
  SetRowCount(rows);
  SetColCount(3 * n + 3);
  SetFixedCols(2);
  SetFixedRows(2);

  const QFontMetrics fm(font());
  const int cw = std::max(1, fm.horizontalAdvance(QLatin1Char('w')));
  SetDefaultRowHeight(fm.height() + 2);
  SetRowHeights(0, 0);
  SetRowHeights(1, 0);
  SetColWidths(0, 10 * cw + 21);
  SetColWidths(1, 6);
  const int m = 2 * FBytesPerColumn;
  for (int k = 0; k < 2 * n; ++k)
    SetColWidths(k + 2, k == 2 * n - 1 ? 2 * cw : cw + (k % m == m - 1 ? cw : 0));
  SetColWidths(2 * n + 2, cw);
  for (int c = 2 * n + 3; c < ColCount(); ++c) SetColWidths(c, cw + 1);
}

void TCustomVXHexEditor::BuildRulerText() {}

void TCustomVXHexEditor::DrawCell(QPainter& p, int col, int row, const QRect& rect) {
  static const char kDigits[] = "0123456789ABCDEF";
  p.fillRect(rect, col < 2 ? palette().button() : palette().base());
  if (row < 2) return;
  const int n = FBytesPerRow;
  const int64_t rowStart = int64_t(row - 2) * n;
  QString text;
  if (col == 0) {
    text = QStringLiteral("0x") + QString::number(rowStart, 16).toUpper();
  } else if (col >= 2 && col < 2 * n + 2) {
    const int64_t pos = rowStart + (col - 2) / 2;
    if (pos < DataSize()) {
      const uint8_t b = FDataStorage.Memory()[pos];
      text = QLatin1Char(kDigits[(col - 2) % 2 == 0 ? b >> 4 : b & 15]);
    }
  } else if (col > 2 * n + 2) {
    const int64_t pos = rowStart + (col - 2 * n - 3);
    if (pos < DataSize()) {
      const uint8_t b = FDataStorage.Memory()[pos];
      text = QChar(b < 0x20 ? FMaskChar : b);
    }
  }
  if (!text.isEmpty()) {
    p.setPen(palette().text().color());
    p.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
  }
  if (col == Col() && row == Row() && hasFocus()) p.drawRect(rect.adjusted(0, 0, -1, -1));
}
