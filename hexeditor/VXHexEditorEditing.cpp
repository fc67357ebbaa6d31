// Editing operations, change marks and the size-change policy. Every public operation
// asks CanChange and records its undo step before it touches a byte.
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHTranslation.h"
#include "hexeditor/VXHUndoStorage.h"
#include "platform/CodePages.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

uint64_t loadBigEndian(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

void storeBigEndian(uint8_t* p, uint64_t v) {
  v = __builtin_bswap64(v);
  std::memcpy(p, &v, 8);
}

}  // namespace

// ------------------------------------------------------------------ change marks

bool TCustomVXHexEditor::HasChanged(int Position) const {
  if (InsertMode() || Position < 0) return false;
  return static_cast<size_t>(Position) < FChangeMarks.size() && FChangeMarks[Position];
}

void TCustomVXHexEditor::SetChanged(int Position, bool Value) {
  if (InsertMode()) FChangeMarks.clear();
  if (Position < 0) return;
  if (static_cast<size_t>(Position) < FChangeMarks.size()) {
    FChangeMarks[Position] = Value;
  } else if (Value) {
    FChangeMarks.resize(static_cast<size_t>(Position) + 1, false);
    FChangeMarks[Position] = true;
  }
}

void TCustomVXHexEditor::CutChangeMarks(int Position) {
  if (Position >= 0 && FChangeMarks.size() >= static_cast<size_t>(Position)) FChangeMarks.resize(Position);
}

// ------------------------------------------------------------------ policy and recording

bool TCustomVXHexEditor::CanChange(TVXHUndoKind Kind, int Count, int ReplaceCount) {
  bool r = DataSize() > 0 || Kind == ukInsertBuffer || Kind == ukAppendBuffer;
  if (r && EffectiveNoSizeChange()) {
    switch (Kind) {
      case ukRemoveData:
      case ukInsertBuffer:
      case ukAppendBuffer:
      case ukInsertNibble:
      case ukDeleteNibble: r = false; break;
      case ukReplaceSelection: r = Count == ReplaceCount; break;
      default: break;
    }
  }
  if (!r && Kind == ukGroup) r = Count <= FUndoStorage->RecordCount();
  return r;
}

bool TCustomVXHexEditor::CreateUndo(TVXHUndoKind Kind, int Position, int Count, int ReplaceCount,
                                    const QString& Description) {
  const bool r = CanChange(Kind, Count, ReplaceCount);
  if (r) {
    if (FUndoStorage->UpdateCount() == 0) FUndoStorage->AddUndo(Kind, Position, Count, ReplaceCount, Description);
    FModified = true;
  }
  return r;
}

// ------------------------------------------------------------------ internal data operations

void TCustomVXHexEditor::InsertData(const void* Buffer, int Count, int Position) {
  if (Count <= 0) return;
  const int oldSize = DataSize();
  if (oldSize == 0) {
    FDataStorage.SetPosition(0);
    FChangeMarks.clear();
  }
  FDataStorage.Grow(int64_t(oldSize) + Count);
  if (Position < oldSize) FDataStorage.MoveData(Position, Position + Count, oldSize - Position);
  WriteBuffer(Buffer, Position, Count);
  UpdateGridSize();
}

void TCustomVXHexEditor::AppendData(const void* Buffer, int Count) { InsertData(Buffer, Count, DataSize()); }

void TCustomVXHexEditor::DeleteData(int Start, int End, int ACol, int ARow) {
  const int size = DataSize();
  Start = std::clamp(Start, 0, size);
  End = std::clamp(End, Start, size);
  const bool wasInChar = IsCharFieldColumn(Col());
  if (End <= size - 1) FDataStorage.MoveData(End, Start, size - End);
  FDataStorage.SetSize(size - (End - Start));

  const int p = ACol < 0 ? 0 : CellToPosition(ACol, ARow);
  if (DataSize() == 0) {
    MoveCurrentCell(wasInChar ? HexColumnCount() + 3 : 2, 2, true);
  } else if (p >= DataSize()) {
    const TGridCoord c = PositionToCell(InsertMode() ? DataSize() : DataSize() - 1, wasInChar);
    MoveCurrentCell(c.X, c.Y, true);
  } else if (ACol >= 0) {
    MoveCurrentCell(ACol, ARow, true);
  }
  UpdateGridSize();
  ResetSelection(false);
  InvalidateGrid();
}

// Half-byte shifts work on the tail in place, eight bytes at a time.
bool TCustomVXHexEditor::ShiftNibblesRight(int Position, bool HighNibble) {
  const int size = DataSize();
  if (size == 0 || Position < 0 || Position >= size) return false;
  PushWaitCursor();
  FDataStorage.Grow(int64_t(size) + 1);  // may raise before anything moved
  uint8_t* d = FDataStorage.Memory();
  const uint8_t first = d[Position], last = d[size - 1];
  uint64_t carry = 0;
  int64_t i = Position;
  for (; i + 8 <= size; i += 8) {
    const uint64_t x = loadBigEndian(d + i);
    storeBigEndian(d + i, (carry << 60) | (x >> 4));
    carry = x & 0xF;
  }
  for (; i < size; ++i) {
    const uint8_t b = d[i];
    d[i] = static_cast<uint8_t>((carry << 4) | (b >> 4));
    carry = b & 0xF;
  }
  d[Position] = HighNibble ? static_cast<uint8_t>(first >> 4) : static_cast<uint8_t>(first & 0xF0);
  d[size] = static_cast<uint8_t>(last << 4);
  PopCursor();
  return true;
}

bool TCustomVXHexEditor::ShiftNibblesLeft(int Position, bool HighNibble) {
  const int size = DataSize();
  if (size == 0 || Position < 0 || Position >= size) return false;
  PushWaitCursor();
  uint8_t* d = FDataStorage.Memory();
  const uint8_t first = d[Position];
  int64_t j = Position;
  for (; j + 9 <= size; j += 8) {
    const uint64_t x = loadBigEndian(d + j);
    storeBigEndian(d + j, (x << 4) | (d[j + 8] >> 4));
  }
  for (; j + 1 < size; ++j) d[j] = static_cast<uint8_t>((d[j] << 4) | (d[j + 1] >> 4));
  if (!HighNibble) d[Position] = static_cast<uint8_t>((d[Position] & 0x0F) | (first & 0xF0));
  if (Position == size - 1 && !HighNibble) d[size - 1] = first & 0xF0;
  else d[size - 1] = static_cast<uint8_t>(d[size - 1] << 4);
  PopCursor();
  return true;
}

// ------------------------------------------------------------------ public editing operations

void TCustomVXHexEditor::InvalidatePosition(int Position) {
  const TGridCoord hex = PositionToCell(Position, false);
  InvalidateCell(hex.X, hex.Y);
  InvalidateCell(hex.X + 1, hex.Y);
  const TGridCoord ch = PositionToCell(Position, true);
  InvalidateCell(ch.X, ch.Y);
}

void TCustomVXHexEditor::ChangeByte(int Position, uint8_t Old, uint8_t New, const QString& Description) {
  if (Old == New || !CreateUndo(ukChangeBytes, Position, 1, 0, Description)) return;
  SetByte(Position, New);
  if (!InsertMode()) SetChanged(Position, true);
  InvalidatePosition(Position);
  Changed();
}

void TCustomVXHexEditor::ChangeWord(int Position, uint16_t Old, uint16_t New, const QString& Description) {
  if (Old == New || !CreateUndo(ukChangeBytes, Position, 2, 0, Description)) return;
  const uint8_t bytes[2] = {static_cast<uint8_t>(New), static_cast<uint8_t>(New >> 8)};
  WriteBuffer(bytes, Position, 2);
  if (!InsertMode()) {
    SetChanged(Position, (Old & 0xFF) != (New & 0xFF));
    SetChanged(Position + 1, (Old >> 8) != (New >> 8));
  }
  InvalidatePosition(Position);
  InvalidatePosition(Position + 1);
  Changed();
}

void TCustomVXHexEditor::InsertBuffer(const void* Buffer, int Size, int Position, const QString& Description,
                                      bool MoveCursor) {
  if (Size <= 0 || Position < 0 || Position > DataSize()) return;
  FDataStorage.Reserve(int64_t(DataSize()) + Size);  // out of memory raises before anything is recorded
  if (!CreateUndo(ukInsertBuffer, Position, Size, 0, Description)) return;
  InsertData(Buffer, Size, Position);
  CutChangeMarks(Position);
  if (isEnabled()) {
    SetSelectionRaw(Position, Position, Position + Size - 1, false);
    if (MoveCursor) {
      MoveCaretTo(Position + Size - 1, CaretInCharField());
      SetSelectionRaw(Position, Position, Position + Size - 1, false);
    }
    InvalidateGrid();
  }
  Changed();
}

void TCustomVXHexEditor::AppendBuffer(const void* Buffer, int Size, const QString& Description, bool MoveCursor) {
  if (!Buffer || Size <= 0) return;
  const int oldSize = DataSize();
  FDataStorage.Reserve(int64_t(oldSize) + Size);
  if (!CreateUndo(ukAppendBuffer, oldSize, Size, 0, Description)) return;
  CutChangeMarks(oldSize);
  const bool inChar = IsCharFieldColumn(Col());
  AppendData(Buffer, Size);
  if (MoveCursor) MoveCaretTo(oldSize, inChar);
  SetSelectionRaw(oldSize, oldSize, oldSize + Size - 1, false);
  InvalidateGrid();
  Changed();
}

void TCustomVXHexEditor::ReplaceSelection(const void* Buffer, int Size, const QString& Description,
                                          bool MoveCursor) {
  const bool inChar = CaretInCharField();
  if (!HasSelection()) {
    InsertBuffer(Buffer, Size, SelectionStart(), Description, MoveCursor);
    return;
  }
  if (EffectiveNoSizeChange()) {
    if (Size > SelectionCount()) {
      Size = SelectionCount();
    } else if (Size < SelectionCount()) {
      if (Size <= 0) return;
      const int low = std::min(SelectionStart(), SelectionEnd());
      SetSelectionStart(low);
      SetSelectionEnd(low + Size - 1);
    }
  }
  if (Size < 0) return;
  const int first = FSelLow;
  const int count = SelectionCount();
  FDataStorage.Reserve(int64_t(DataSize()) - count + Size);
  if (!CreateUndo(ukReplaceSelection, first, Size, count, Description)) return;
  CutChangeMarks(first);
  const TGridCoord cell = PositionToCell(first, inChar);
  DeleteData(first, first + count, cell.X, cell.Y);
  InsertData(Buffer, Size, first);
  CutChangeMarks(std::max(0, first));
  if (MoveCursor && Size > 0) {
    MoveCaretTo(first + Size - 1, inChar);
    SetSelectionRaw(first + Size - 1, first, first + Size - 1, false);
  }
  InvalidateGrid();
  Changed();
}

int TCustomVXHexEditor::OverwriteBuffer(const void* Buffer, int Position, int OldCount, int NewCount,
                                        const QString& Description, bool MoveCursor) {
  const bool inChar = CaretInCharField();
  if (Position < 0 || Position > DataSize() || OldCount < 0 || NewCount < 0) return -1;
  if (OldCount > DataSize() - Position) {
    if (OldCount == NewCount) NewCount = DataSize() - Position;
    OldCount = DataSize() - Position;
  }
  if (EffectiveNoSizeChange()) OldCount = NewCount = std::min(OldCount, NewCount);
  FDataStorage.Reserve(int64_t(DataSize()) - OldCount + NewCount);
  if (!CreateUndo(ukReplaceSelection, Position, NewCount, OldCount, Description)) return -1;
  if (!MoveCursor) FUndoStorage->SetLastSelection(Position, OldCount);
  if (OldCount == NewCount) {
    WriteBuffer(Buffer, Position, OldCount);
  } else {
    if (OldCount > 0) DeleteData(Position, Position + OldCount, Col(), Row());
    if (NewCount > 0) InsertData(Buffer, NewCount, Position);
  }
  CutChangeMarks(std::max(0, Position));
  if (MoveCursor) MoveCaretTo(Position, inChar);
  InvalidateGrid();
  Changed();
  return NewCount;
}

void TCustomVXHexEditor::DeleteSelection(const QString& Description) {
  int start, end;
  TGridCoord cell;
  if (HasSelection()) {
    start = FSelLow;
    end = FSelHigh + 1;
    cell = PositionToCell(start, CaretInCharField());
  } else {
    start = CellToPosition(Col(), Row());
    end = start + 1;
    cell = {Col(), Row()};
  }
  CutChangeMarks(start);
  if (!HasSelection() && start >= DataSize()) return;
  if (!CreateUndo(ukRemoveData, start, end - start, 0, Description)) return;
  DeleteData(start, end, cell.X, cell.Y);
  Changed();
}

void TCustomVXHexEditor::DeleteAtCaret(bool Backspace, const QString& Description) {
  const int u = FBytesPerUnit;
  int p = (CaretPosition() / u) * u;
  int n = u;
  const int p0 = p;
  if (Backspace) {
    if (InsertMode() && !HasSelection()) {
      p = CellToPosition(Col(), Row());
      if (p == DataSize() && DataSize() % u != 0) n = 1;
      else p = (p / u) * u;
    }
    if (p <= 0) return;
    if (!CreateUndo(ukRemoveData, p - n, n, 0, Description)) return;
    DeleteData(p - n, p, Col(), Row());
    if (p == p0) Seek(p - n, 0);
    else if (Col() + 1 < ColCount()) MoveCurrentCell(Col() + 1, Row(), true);
    Changed();
  } else {
    if (p >= DataSize()) return;
    while (p + n > DataSize()) --n;
    if (!CreateUndo(ukRemoveData, p, n, 0, Description)) return;
    DeleteData(p, p + n, Col(), Row());
    Changed();
  }
}

bool TCustomVXHexEditor::InsertNibble(int Position, bool HighNibble, const QString& Description) {
  if (DataSize() == 0) {
    ResetSelection(false);
    const uint8_t zero = 0;
    AppendBuffer(&zero, 1, QString(), true);
    return true;
  }
  if (Position < 0 || Position >= DataSize()) return false;
  FDataStorage.Reserve(int64_t(DataSize()) + 1);
  if (!CreateUndo(ukInsertNibble, Position, 0, 0, Description)) return false;
  ResetSelection(false);
  const bool done = ShiftNibblesRight(Position, HighNibble);
  if (done) CutChangeMarks(Position);
  UpdateGridSize();
  Changed();
  return done;
}

bool TCustomVXHexEditor::DeleteNibble(int Position, bool HighNibble, const QString& Description) {
  if (Position < 0 || Position >= DataSize() || !CreateUndo(ukDeleteNibble, Position, 0, 0, Description))
    return false;
  ResetSelection(false);
  const bool done = ShiftNibblesLeft(Position, HighNibble);
  if (done) CutChangeMarks(Position);
  UpdateGridSize();
  Changed();
  return done;
}

void TCustomVXHexEditor::GroupUndo(int Count, const QString& Description) {
  CreateUndo(ukGroup, 0, Count, 0, Description);
}

void TCustomVXHexEditor::SetAsText(const QString& Text) {
  if (DataSize() > 0) {
    SetSelectionStart(0);
    SetSelectionEnd(DataSize() - 1);
  }
  QByteArray bytes = StringToAnsiBytes(Text);
  auto* b = reinterpret_cast<uint8_t*>(bytes.data());
  TranslateToForeign(FTranslation, b, b, static_cast<int>(bytes.size()));
  ReplaceSelection(bytes.constData(), static_cast<int>(bytes.size()), QString(), true);
}

int TCustomVXHexEditor::Seek(int Offset, int Origin) {
  int64_t target;
  switch (Origin) {
    case 0: target = Offset; break;
    case 1: target = int64_t(CaretPosition()) + Offset; break;
    case 2: target = int64_t(DataSize()) + Offset - 1; break;
    default: target = CaretPosition(); break;
  }
  if (DataSize() == 0) return -1;
  const int t = static_cast<int>(std::clamp<int64_t>(target, 0, DataSize() - 1));
  SetSelectionStart(t);
  return t;
}

// ------------------------------------------------------------------ undo forwarding

void TCustomVXHexEditor::Undo() { FUndoStorage->Undo(); }
void TCustomVXHexEditor::Redo() { FUndoStorage->Redo(); }
bool TCustomVXHexEditor::CanUndo() const { return FUndoStorage->CanUndo(); }
bool TCustomVXHexEditor::CanRedo() const { return FUndoStorage->CanRedo(); }
QString TCustomVXHexEditor::UndoDescription() const { return FUndoStorage->UndoDescription(); }

void TCustomVXHexEditor::RestoreDisplayState(TVXHTranslationKind Translation, bool Unicode, bool BigEndian,
                                             int BytesPerUnit) {
  FTranslation = Translation <= tkCustom ? Translation : tkAsIs;
  FUnicodeChars = Unicode;
  FUnicodeBigEndian = BigEndian;
  if (BytesPerUnit == 1 || BytesPerUnit == 2 || BytesPerUnit == 4 || BytesPerUnit == 8) FBytesPerUnit = BytesPerUnit;
  FEffectiveRulerUnit = FRulerBytesPerUnit == -1 ? FBytesPerUnit : FRulerBytesPerUnit;
  if (FOffsetFormat.Flags.Contains(offRulerUnit)) FOffsetFormat.UnitSize = static_cast<uint8_t>(FEffectiveRulerUnit);
  UpdateGridSize();
  BuildRulerText();
  InvalidateGrid();
}
