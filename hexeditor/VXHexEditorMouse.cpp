// Mouse: caret placement, drag selection, presses on the selection, pointer shapes,
// auto-scroll, caret re-placement after scrolling and resizing, and the drop marker.
#include "hexeditor/VXHexEditor.h"
#include "platform/Forms.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>

namespace {
// Posted by Resize so the caret is placed once the grid has finished its own layout.
const QEvent::Type kPlaceCaretEvent = static_cast<QEvent::Type>(QEvent::User + 0x100);

class TPlaceCaretEvent : public QEvent {
public:
  explicit TPlaceCaretEvent(int param) : QEvent(kPlaceCaretEvent), Param(param) {}
  int Param;
};
}  // namespace

bool TCustomVXHexEditor::IsOverSelection(int X, int Y) const {
  if (SelectionCount() == 0 || DataSize() == 0) return false;
  const TGridCoord c = MouseCoord(X, Y);
  if (c.X < 2 || c.Y < 0) return false;
  const bool lastField = FLastFieldIsChar;
  const int pos = CellToPosition(c.X, c.Y);
  FLastFieldIsChar = lastField;
  return pos >= 0 && pos < DataSize() && pos >= FSelLow && pos <= FSelHigh;
}

TGridCoord TCustomVXHexEditor::WrapPointToNextRow(int& X, int& Y) const {
  TGridCoord c = MouseCoord(X, Y);
  if (!FInsertMode || c.X < 0) return c;
  const int h = HexColumnCount();
  const QRect r = CellRect(c.X, c.Y);
  if (r.isEmpty()) return c;
  int targetCol = -1;
  if (c.X == ColCount() - 1 && X > r.left() + FCharWidth) targetCol = h + 3;
  else if (c.X == h + 1 && X > r.left() + FCharWidth) targetCol = 2;
  if (targetCol < 0) return c;
  const QRect t = CellRect(targetCol, c.Y);
  X = t.isEmpty() ? r.left() : t.left();
  Y += DefaultRowHeight();
  return MouseCoord(X, Y);
}

void TCustomVXHexEditor::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FSelecting = false;
  FPendingPress = false;
  if (Button == mbLeft) WrapPointToNextRow(X, Y);
  const bool over = IsOverSelection(X, Y);
  if (!over) TCustomGrid::MouseDown(Button, Shift, X, Y);
  // A click into an inactive editor window gives the editor the keyboard at once.
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  if (Button != mbLeft) return;
  if (!over) {
    const TGridCoord c = MouseCoord(X, Y);
    if (c.X >= 2 && c.Y >= 2) {
      ResetSelection(true);
      if (!Shift.Contains(ssDouble)) FSelecting = true;
    }
  } else {
    FPressPoint = QPoint(X, Y);
    FPendingPress = true;
  }
}

void TCustomVXHexEditor::MouseMove(TShiftState Shift, int X, int Y) {
  const TShiftState buttons = Shift * TShiftState{ssLeft, ssRight, ssMiddle};
  if (buttons == TShiftState{ssLeft}) WrapPointToNextRow(X, Y);
  TCustomGrid::MouseMove(Shift, X, Y);
  if (FPendingPress && QPoint(X, Y) != FPressPoint) FPendingPress = false;
  const TShiftState held = Shift * TShiftState{ssLeft, ssRight, ssMiddle, ssShift, ssCtrl, ssAlt};
  bool arrow = false;
  if (held.Empty()) {
    const TGridCoord c = MouseCoord(X, Y);
    arrow = IsOverSelection(X, Y) || c.X == 0 || c.Y == 0;
  }
  viewport()->setCursor(arrow ? Qt::ArrowCursor : Qt::IBeamCursor);
}

void TCustomVXHexEditor::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridCoord c = WrapPointToNextRow(X, Y);
  TCustomGrid::MouseUp(Button, Shift, X, Y);
  if (FPendingPress) {
    FPendingPress = false;
    ResetSelection(true);
    if (c.X >= 0 && c.Y >= 0) MoveCurrentCell(c.X, c.Y, true);
  }
  if (FDropVisible) HideDropPosition();
}

void TCustomVXHexEditor::TimerTick() {
  if (GridState() != gsSelecting) return;
  QPoint pt = viewport()->mapFromGlobal(QueryCursorPos());
  int x = pt.x(), y = pt.y();
  const TGridCoord c = WrapPointToNextRow(x, y);
  if (c.X < 0 || c.Y < 0) return;
  TCustomGrid::TimerTick();
}

void TCustomVXHexEditor::ScrollMessage() { PlaceCaret(); }

void TCustomVXHexEditor::Resize() {
  QCoreApplication::postEvent(this, new TPlaceCaretEvent(7));
}

bool TCustomVXHexEditor::HandlePlaceCaretEvent(QEvent* e) {
  if (e->type() != kPlaceCaretEvent) return false;
  if (static_cast<TPlaceCaretEvent*>(e)->Param == 7) PlaceCaret();
  return true;
}

void TCustomVXHexEditor::TopLeftChanged() {
  TCustomGrid::TopLeftChanged();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// ------------------------------------------------------------------ drop marker

int TCustomVXHexEditor::ShowDropPosition(int X, int Y) {
  const TGridCoord hit = MouseCoord(X, Y);
  TGridCoord cell = hit;
  if (cell.X < 0 || cell.Y < 0) {
    // Beside the cells: take the nearest one.
    const QRect vis = viewport()->rect();
    cell = MouseCoord(std::clamp(X, 0, vis.width() - 1), std::clamp(Y, 0, vis.height() - 1));
  }
  const int rawRow = cell.Y, rawCol = cell.X;
  cell.X = std::max(cell.X, 2);
  cell.Y = std::clamp(cell.Y, 2, RowCount() - 1);
  const bool lastField = FLastFieldIsChar;
  int position = std::clamp(CellToPosition(cell.X, cell.Y), 0, DataSize());
  const bool inChar = FLastFieldIsChar;
  FLastFieldIsChar = lastField;
  if (HasSelection() && position >= FSelLow && position <= FSelHigh) position = std::min(SelectionStart(), SelectionEnd());
  position = AlignToUnit(position);
  FDropVisible = true;

  if (rawRow <= TopRow() && rawRow >= 3) SetTopRow(TopRow() - 1);
  else if (rawRow >= TopRow() + VisibleRowCount() - 1 && rawRow < RowCount() - 1) SetTopRow(TopRow() + 1);
  if (rawCol <= LeftCol() && rawCol >= 3) SetLeftCol(LeftCol() - 1);
  else if (rawCol >= LeftCol() + VisibleColCount() - 1 && rawCol < ColCount() - 1) SetLeftCol(LeftCol() + 1);

  const TGridCoord marker = PositionToCell(position, inChar);
  if (marker.X != FDropCol || marker.Y != FDropRow) {
    InvalidateCell(FDropCol, FDropRow);
    FDropCol = marker.X;
    FDropRow = marker.Y;
    InvalidateCell(FDropCol, FDropRow);
  }
  return position;
}

void TCustomVXHexEditor::HideDropPosition() {
  FDropVisible = false;
  InvalidateGrid();
}

int TCustomVXHexEditor::GetDropPosition() const {
  if (!FDropVisible) return -1;
  const bool lastField = FLastFieldIsChar;
  const int p = AlignToUnit(CellToPosition(FDropCol, FDropRow));
  FLastFieldIsChar = lastField;
  return p;
}
