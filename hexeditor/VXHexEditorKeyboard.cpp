// Keys and typed characters: caret moves, field switches, insert mode, bookmarks and typing
// into either field.
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHConvert.h"
#include "platform/CodePages.h"
#include "platform/Forms.h"

#include <algorithm>
#include <vector>

void TCustomVXHexEditor::StepBack() {
  const bool inChar = CaretInCharField();
  const int step = (FSelecting || (FUnicodeChars && inChar)) ? FBytesPerUnit : 1;
  int p = CellToPosition(Col(), Row()) - step;
  if (inChar) {
    MoveCaretTo(std::max(p, 0), true);
  } else if (FSelecting) {
    MoveCaretTo(p < 0 ? -1 : AlignToUnit(p), false);
  } else if (CaretOnSecondNibble()) {
    MoveCurrentCell(Col() - 1, Row(), true);
  } else {
    const int pos = CellToPosition(Col(), Row());
    if (pos > 0) {
      const TGridCoord c = PositionToCell(pos - 1, false);
      MoveCurrentCell(c.X + 1, c.Y, true);
    }
  }
}

void TCustomVXHexEditor::StepForward() {
  const bool inChar = CaretInCharField();
  const int step = (FSelecting || (FUnicodeChars && inChar)) ? FBytesPerUnit : 1;
  const int pos = CellToPosition(Col(), Row());
  int p = pos + step;
  if (inChar) {
    ClampToEnd(p);
    MoveCaretTo(p, true);
  } else if (FSelecting) {
    p = AlignToUnit(p);
    ClampToEnd(p);
    MoveCaretTo(p, false);
  } else if (!CaretOnSecondNibble() && pos < DataSize()) {
    MoveCurrentCell(Col() + 1, Row(), true);
  } else if (pos + 1 < DataSize() || (pos + 1 == DataSize() && InsertMode())) {
    MoveCaretTo(pos + 1, false);
  }
}

void TCustomVXHexEditor::KeyDown(int& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
  if (Key == 0) return;
  if (Shift.Empty() && Key != VK_SHIFT && !InsertMode()) ResetSelection(true);
  const bool ctrl = Shift.Contains(ssCtrl);
  const bool inChar = IsCharFieldColumn(Col());
  const int vis = VisibleRowCount();
  switch (Key) {
    case VK_BACK:
      if (InsertMode() && !FReadOnlyView) {
        if (HasSelection()) DeleteSelection(QString());
        else DeleteAtCaret(true, QString());
      } else if (!ctrl) {
        StepBack();
      }
      break;
    case VK_LEFT:
      if (ctrl) MoveCurrentCell(2, Row(), true);
      else StepBack();
      break;
    case VK_RIGHT:
      if (ctrl) MoveCurrentCell(ColCount() - 1, Row(), true);
      else StepForward();
      break;
    case VK_UP:
      if (!ctrl && Row() - 1 >= 2) MoveCurrentCell(Col(), Row() - 1, true);
      break;
    case VK_DOWN:
      if (!ctrl && Row() + 1 < RowCount()) MoveCurrentCell(Col(), Row() + 1, true);
      break;
    case VK_PRIOR:
      if (ctrl) {
        MoveCurrentCell(Col(), TopRow(), true);
      } else {
        const int target = std::max(2, Row() - vis + 1);
        SetTopRow(std::max(2, TopRow() - vis + 1));
        MoveCurrentCell(Col(), target, true);
      }
      break;
    case VK_NEXT:
      if (ctrl) {
        MoveCurrentCell(Col(), std::min(RowCount() - 1, TopRow() + vis - 1), true);
      } else {
        const int target = std::min(RowCount() - 1, Row() + vis - 1);
        SetTopRow(std::min(std::max(2, RowCount() - vis), TopRow() + vis - 1));
        MoveCurrentCell(Col(), target, true);
      }
      break;
    case VK_HOME: {
      const int col = inChar ? HexColumnCount() + 3 : 2;
      MoveCurrentCell(col, ctrl ? 2 : Row(), true);
      break;
    }
    case VK_END:
      if (ctrl) {
        MoveCaretTo(InsertMode() ? DataSize() : DataSize() - 1, inChar);
      } else {
        int p = CellToPosition(2, Row() + 1) - 1;
        ClampToEnd(p);
        TGridCoord c = PositionToCell(p, inChar);
        if (!inChar) ++c.X;
        MoveCurrentCell(c.X, c.Y, true);
      }
      break;
    case VK_TAB:
      if (Shift.Empty() || Shift == TShiftState{ssShift}) MoveCurrentCell(std::max(2, OtherFieldColumn(Col())), Row(), true);
      break;
    case 'T':
      if (ctrl) MoveCurrentCell(std::max(2, OtherFieldColumn(Col())), Row(), true);
      break;
    case VK_INSERT: SetInsertMode(!InsertMode()); break;
    case VK_DELETE:
      if (!FReadOnlyView && (InsertMode() || Shift == TShiftState{ssCtrl})) {
        if (HasSelection()) DeleteSelection(QString());
        else DeleteAtCaret(false, QString());
      }
      break;
    case VK_SHIFT:
      if (Shift == TShiftState{ssShift} || Shift == TShiftState{ssShift, ssCtrl}) FSelecting = true;
      break;
    default:
      if (Key >= '0' && Key <= '9' && ctrl) {
        const int digit = Key - '0';
        if (Shift.Contains(ssShift)) ToggleBookmark(digit, CellToPosition(Col(), Row()), inChar);
        else JumpToBookmark(digit);
      }
      break;
  }
}

bool TCustomVXHexEditor::WantsShortcutKey(int Key, TShiftState Shift) const {
  if (!Shift.Contains(ssCtrl)) return false;
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_DELETE:
    case 'T': return true;
    default: return Key >= '0' && Key <= '9';
  }
}

void TCustomVXHexEditor::InvalidKey() {
  if (OnInvalidKey) OnInvalidKey(this);
}

void TCustomVXHexEditor::AdvanceAfterTyping() {
  FSelecting = false;
  int key = VK_RIGHT;
  KeyDown(key, TShiftState());
}

void TCustomVXHexEditor::KeyPress(uint8_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
  if (FReadOnlyView || Key < 32) return;
  const int size = DataSize();
  const int pos = CellToPosition(Col(), Row());
  const bool inChar = LastFieldIsCharField();
  if (pos >= size && !InsertMode()) return;
  const int unit = FBytesPerUnit;

  if (!inChar) {
    int digit;
    if (Key >= '0' && Key <= '9') digit = Key - '0';
    else if (Key >= 'a' && Key <= 'f') digit = Key - 'a' + 10;
    else if (Key >= 'A' && Key <= 'F') digit = Key - 'A' + 10;
    else {
      InvalidKey();
      return;
    }
    if (!InsertMode()) ResetSelection(true);
    const uint8_t old = pos < size ? GetByte(pos) : 0;
    const bool highColumn = (Col() - 2) % 2 == FSwapNibbles;
    const uint8_t value = (highColumn || HasSelection()) ? static_cast<uint8_t>(digit * 16 + (old & 0x0F))
                                                         : static_cast<uint8_t>((old & 0xF0) + digit);
    if (InsertMode() && ((Col() - 2) % (2 * unit) == 0 || HasSelection())) {
      std::vector<uint8_t> bytes(unit, 0);
      bytes[0] = static_cast<uint8_t>(FSwapNibbles ? digit : digit << 4);
      if (size == 0) AppendBuffer(bytes.data(), unit, QString(), true);
      else if (HasSelection()) ReplaceSelection(bytes.data(), unit, QString(), true);
      else InsertBuffer(bytes.data(), unit, pos, QString(), false);
    } else if (pos < size) {
      ChangeByte(pos, old, value, QString());
    } else {
      return;
    }
  } else {
    const uint8_t b = CharToDataByte(Key);
    if (b < 32) {
      InvalidKey();
      return;
    }
    if (!InsertMode()) ResetSelection(true);
    uint16_t newWord = AnsiToUnicode(Key);
    if (FUnicodeBigEndian) SwapWord(newWord);
    const uint8_t old = (size == 0 || pos >= size) ? 0 : GetByte(pos);
    uint16_t oldWord = 0;
    if (pos + 1 < size) oldWord = static_cast<uint16_t>(GetByte(pos) | GetByte(pos + 1) << 8);
    std::vector<uint8_t> bytes(unit, 0);
    if (FUnicodeChars) {
      bytes[0] = static_cast<uint8_t>(newWord);
      if (unit > 1) bytes[1] = static_cast<uint8_t>(newWord >> 8);
    } else {
      bytes[0] = b;
    }
    if (InsertMode()) {
      if (HasSelection()) ReplaceSelection(bytes.data(), unit, QString(), true);
      else if (pos == size) AppendBuffer(bytes.data(), unit, QString(), true);
      else if (pos % unit == 0) InsertBuffer(bytes.data(), unit, pos, QString(), false);
      else ChangeByte(pos, old, b, QString());
    } else if (FUnicodeChars) {
      ChangeWord(pos, oldWord, newWord, QString());
    } else {
      ChangeByte(pos, old, b, QString());
    }
  }
  AdvanceAfterTyping();
}

void TCustomVXHexEditor::DoEnter() {
  CreateCaretShape();
  PlaceCaret();
  InvalidateGrid();
}

void TCustomVXHexEditor::DoExit() {
  DestroyCaret();
  FSelecting = false;
  InvalidateGrid();
}
