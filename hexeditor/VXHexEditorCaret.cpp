// The caret and selection model, the cell check every caret move passes, and bookmarks.
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHexEditorStrings.h"
#include "platform/Forms.h"

#include <algorithm>

namespace {
const QString kInvalidSelection = QStringLiteral("Ungültige Auswahl");
const QString kInvalidBookmark = QStringLiteral("Fehlerhaftes Lesezeichen");
}  // namespace

void TCustomVXHexEditor::MoveCaretTo(int Position, bool InCharField) {
  const TGridCoord c = PositionToCell(Position, InCharField);
  MoveCurrentCell(c.X, c.Y, true);
}

bool TCustomVXHexEditor::SelectCell(int ACol, int ARow) {
  const int size = DataSize();
  const int h = HexColumnCount();
  if (size == 0) return ACol == 2 || (ACol == h + 3 && ARow == 2);

  if (!TCustomGrid::SelectCell(ACol, ARow)) return false;
  if (!FCellCheckRunning) {
    const TShiftState held = QueryPhysicalShiftState();
    if (!held.Contains(ssShift) && !held.Contains(ssLeft)) ResetSelection(true);
  }

  const int position = CellToPosition(ACol, ARow);
  const bool targetInChar = LastFieldIsCharField();
  const bool appendAllowed = InsertMode() && position == size && (targetInChar || ACol % 2 == 0);
  if (position >= size && !appendAllowed) {
    const bool guard = FCellCheckRunning;
    FCellCheckRunning = true;
    MoveCaretTo(InsertMode() ? size : size - 1, CaretInCharField());
    FCellCheckRunning = guard;
    return false;
  }
  if (ACol == h + 2) {
    if (QueryPhysicalShiftState().Contains(ssLeft)) {
      const bool guard = FCellCheckRunning;
      FCellCheckRunning = true;
      MoveCurrentCell(std::max(2, ACol - 1), ARow, true);
      FCellCheckRunning = guard;
    }
    return false;
  }

  // The counterpart frame and the gutter and ruler highlights follow the caret.
  InvalidateCell(OtherFieldColumn(Col()), Row());
  InvalidateCell(0, Row());
  InvalidateCell(OtherFieldColumn(ACol), ARow);
  InvalidateCell(0, ARow);
  if (FShowRuler) InvalidateRow(0);

  if (FSelecting) {
    int target = position;
    const int cur = CellToPosition(Col(), Row());
    if (FSelectionPivot == -1) FSelectionPivot = cur;
    if (!InsertMode()) {
      NormalizeRange(FSelectionPivot, target);
      SelectRange(FSelectionPivot, target);
    } else {
      int pivot = AlignToUnit(FSelectionPivot);
      target = AlignToUnit(target);
      FSelectionPivot = pivot;
      if (pivot > target) {
        SelectRange(pivot - FBytesPerUnit, target);
      } else if (pivot < target) {
        SelectRange(pivot, target - FBytesPerUnit);
      } else {
        ResetSelection(true);
        FSelectionPivot = target;
        FSelecting = true;
      }
    }
  } else {
    ResetSelection(true);
  }
  if (IsFocused()) {
    const QRect r = CellRect(ACol, ARow);
    SetCaretPos(r.isEmpty() ? QPoint(-50, -50) : r.topLeft());
  }
  NotifySelectionChanged();
  return true;
}

// ------------------------------------------------------------------ selection

void TCustomVXHexEditor::ResetSelection(bool Redraw) {
  FSelecting = false;
  const int low = FSelLow, high = FSelHigh;
  FSelAnchor = FSelLow = FSelHigh = -1;
  FSelectionPivot = -1;
  if (Redraw && low >= 0 && high >= 0)
    InvalidateRect({0, PositionToRow(low), ColCount() - 1, PositionToRow(high)});
}

int TCustomVXHexEditor::SelectionStart() const {
  return HasSelection() ? FSelAnchor : CellToPosition(Col(), Row());
}

void TCustomVXHexEditor::SetSelectionStart(int value) {
  if (value < 0 || value >= DataSize()) throw EVXHexEditor(kInvalidSelection);
  const bool inChar = CaretInCharField();
  ResetSelection(true);
  MoveCaretTo(value, inChar);
}

int TCustomVXHexEditor::SelectionEnd() const {
  if (!HasSelection()) return CaretPosition();
  return FSelAnchor == FSelHigh ? FSelLow : FSelHigh;
}

void TCustomVXHexEditor::SetSelectionEnd(int value) {
  if (value < -1 || value >= DataSize()) throw EVXHexEditor(kInvalidSelection);
  ResetSelection(true);
  if (value < 0) return;
  const int caret = CaretPosition();
  SetSelectionRaw(caret, std::min(caret, value), std::max(caret, value), false);
  InvalidateRect({0, PositionToRow(FSelLow), ColCount() - 1, PositionToRow(FSelHigh)});
  NotifySelectionChanged();
}

int TCustomVXHexEditor::SelectionCount() const { return HasSelection() ? FSelHigh - FSelLow + 1 : 0; }

void TCustomVXHexEditor::SelectRange(int A, int B) {
  NormalizeRange(A, B);
  const int oldLow = FSelLow, oldHigh = FSelHigh;
  SetSelectionRaw(A, std::min(A, B), std::max(A, B), false);
  auto rows = [&](int p, int q) {
    if (p < 0 || q < 0) return;
    InvalidateRect({0, PositionToRow(std::min(p, q)), ColCount() - 1, PositionToRow(std::max(p, q))});
  };
  if (oldLow < 0) {
    rows(FSelLow, FSelHigh);
  } else {
    rows(oldLow, FSelLow);
    rows(oldHigh, FSelHigh);
  }
  NotifySelectionChanged();
}

void TCustomVXHexEditor::SelectAll() {
  if (DataSize() == 0) return;
  MoveCaretTo(InsertMode() ? DataSize() : DataSize() - 1, CaretInCharField());
  SelectRange(0, DataSize() - 1);
}

void TCustomVXHexEditor::SetCaretInCharField(bool value) {
  if (DataSize() == 0 || value == CaretInCharField()) return;
  MoveCurrentCell(OtherFieldColumn(Col()), Row(), true);
}

void TCustomVXHexEditor::SetAllowInsertMode(bool value) {
  if (value == FAllowInsertMode) return;
  if (!value && FInsertMode) SetInsertMode(false);
  FAllowInsertMode = value;
}

void TCustomVXHexEditor::SetNoSizeChange(bool value) {
  if (value == FNoSizeChange) return;
  if (value) SetInsertMode(false);
  FNoSizeChange = value;
}

// ------------------------------------------------------------------ bookmarks

void TCustomVXHexEditor::DoBookmarkChanged() {
  if (OnBookmarkChanged) OnBookmarkChanged(this);
}

void TCustomVXHexEditor::ToggleBookmark(int Index, int Position, bool InCharField) {
  if (Index < 0 || Index > 9) throw EVXHexEditor(kInvalidBookmark);
  TVXHBookmarkEntry& b = FBookmarks[Index];
  if (b.Position == Position && b.InCharField == InCharField) {
    b.Position = -1;
  } else {
    b.Position = Position;
    b.InCharField = InCharField;
  }
  InvalidateGrid();
  DoBookmarkChanged();
}

bool TCustomVXHexEditor::JumpToBookmark(int Index) {
  if (Index < 0 || Index > 9) return false;
  const TVXHBookmarkEntry b = FBookmarks[Index];
  if (b.Position < 0) return false;
  ResetSelection(true);
  if (b.Position < DataSize() || (b.Position == DataSize() && InsertMode())) {
    MoveCaretTo(b.Position, b.InCharField);
    return true;
  }
  ToggleBookmark(Index, -1, false);
  return false;
}

void TCustomVXHexEditor::AdjustBookmarks(int From, int Delta, int SizeAfter) {
  if (From < 0) return;
  bool any = false;
  for (TVXHBookmarkEntry& b : FBookmarks) {
    if (b.Position >= From) {
      any = true;
      b.Position += Delta;
      if (b.Position > SizeAfter) b.Position = -1;
    }
  }
  if (any) DoBookmarkChanged();
}
