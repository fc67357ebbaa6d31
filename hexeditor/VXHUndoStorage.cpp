#include "hexeditor/VXHUndoStorage.h"
#include "hexeditor/VXHexEditor.h"
#include "platform/CodePages.h"

#include <cstring>

namespace {

int32_t get32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

void put32(uint8_t* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  p[0] = uint8_t(u);
  p[1] = uint8_t(u >> 8);
  p[2] = uint8_t(u >> 16);
  p[3] = uint8_t(u >> 24);
}

TVXHUndoHeader readHeader(const uint8_t* p) {
  TVXHUndoHeader h;
  h.RecordSize = get32(p);
  h.Flags = static_cast<uint32_t>(get32(p + 4));
  h.CaretPos = get32(p + 8);
  h.Position = get32(p + 12);
  h.Count = get32(p + 16);
  h.ReplaceCount = get32(p + 20);
  h.Translation = p[24];
  h.BytesPerUnit = get32(p + 25);
  return h;
}

void writeHeader(uint8_t* p, const TVXHUndoHeader& h) {
  put32(p, h.RecordSize);
  put32(p + 4, static_cast<int32_t>(h.Flags));
  put32(p + 8, h.CaretPos);
  put32(p + 12, h.Position);
  put32(p + 16, h.Count);
  put32(p + 20, h.ReplaceCount);
  p[24] = h.Translation;
  put32(p + 25, h.BytesPerUnit);
}

const QString kDescriptions[11] = {
    QStringLiteral("Ändere Byte(s)"),    QStringLiteral("Entferne Daten"),    QStringLiteral("Buffer einfügen"),
    QStringLiteral("Ersetze Auswahl"),   QStringLiteral("Buffer anfügen"),    QStringLiteral("Halbbyte einfügen"),
    QStringLiteral("Halbbyte löschen"),  QStringLiteral("Konvertieren"),      QStringLiteral("Cursor movement"),
    QStringLiteral("Mehrere Änderungen"), QStringLiteral("Alle Daten gespeichert")};

constexpr int kMinRecord = 30;

}  // namespace

int UndoKindOf(uint32_t Flags) {
  for (int k = 0; k <= 10; ++k)
    if (Flags & (1u << k)) return k;
  return 11;
}

const QString& UndoDescriptionOf(TVXHUndoKind Kind) { return kDescriptions[Kind <= ukAllSaved ? Kind : 0]; }

struct TVXHUndoStorage::TRedoStep {
  TVXHUndoHeader H;
  int Kind = 0;
  QByteArray Data;
  TVXHBookmarkEntry Bookmarks[10];
  int SelLow = -1, SelHigh = -1, SelAnchor = -1;
};

TVXHUndoStorage::TVXHUndoStorage(TCustomVXHexEditor& editor) : FEditor(editor) {}

TVXHUndoStorage::~TVXHUndoStorage() { Reset(true); }

void TVXHUndoStorage::SetSize(int64_t newSize) {
  if (newSize <= 0) {
    Clear();
    FStart = 0;
  } else {
    TMemoryStream::SetSize(FStart + newSize);
  }
  if (newSize < kMinRecord) FRecordCount = 0;
}

void TVXHUndoStorage::Compact() {
  const int64_t live = Size();
  if (FStart < 4096 || FStart < live) return;
  std::memmove(Memory(), Memory() + FStart, static_cast<size_t>(live));
  FStart = 0;
  TMemoryStream::SetSize(live);
}

void TVXHUndoStorage::Reset(bool DropRedo) {
  SetSize(0);
  FRecordCount = 0;
  FUpdateCount = 0;
  FUndoDescription.clear();
  if (DropRedo) ResetRedo();
}

void TVXHUndoStorage::ResetRedo() {
  FRedo.reset();
  FLastUndone.clear();
  FLastUndoneDescription.clear();
}

void TVXHUndoStorage::AddUndo(TVXHUndoKind Kind, int Position, int Count, int ReplaceCount,
                              const QString& Description) {
  if (FUpdateCount >= 1) return;
  TCustomVXHexEditor& ed = FEditor;
  ResetRedo();
  FUndoDescription = Description.isEmpty() ? UndoDescriptionOf(Kind) : Description;
  while (ed.MaxUndo() > 0 && FRecordCount > 0 && Size() > ed.MaxUndo()) RemoveFirstRecord();

  const QByteArray description = Description.isEmpty() ? QByteArray() : StringToAnsiBytes(Description);
  QByteArray group;
  if (Kind == ukAllSaved) Count = ed.DataSize();
  int n = 1;
  switch (Kind) {
    case ukChangeBytes:
    case ukRemoveData:
    case ukConvert: n = Count; break;
    case ukReplaceSelection: n = ReplaceCount; break;
    case ukGroup:
      group = StringToAnsiBytes(Description.left(255));
      n = static_cast<int>(group.size()) + 1;
      break;
    case ukAllSaved: n = Count; break;
    default: n = 1; break;
  }
  if (n < 0) n = 0;
  const bool hasSelection = Kind == ukCursorMove || ed.HasSelection();
  const int64_t total = kUndoHeaderSize + int64_t(n) + (description.isEmpty() ? 0 : description.size() + 4) +
                        (hasSelection ? 12 : 0) + 4;
  if (total > INT32_MAX) throw EOutOfMemory(QStringLiteral("Zu wenig Arbeitsspeicher"));
  QByteArray record(static_cast<qsizetype>(total), '\0');
  auto* rec = reinterpret_cast<uint8_t*>(record.data());

  TVXHUndoHeader h;
  h.RecordSize = static_cast<int32_t>(total);
  h.Flags = 1u << Kind;
  if (ed.FModified) h.Flags |= ufModified;
  if (ed.IsCharFieldColumn(ed.Col())) h.Flags |= ufCaretInCharField;
  else if (ed.CaretOnSecondNibble()) h.Flags |= ufCaretOnLowDigit;
  if (hasSelection) h.Flags |= ufHasSelection;
  if (ed.FInsertMode) h.Flags |= ufInsertMode;
  if (ed.FUnicodeChars) h.Flags |= ufUnicodeChars;
  if (ed.FUnicodeBigEndian) h.Flags |= ufUnicodeBigEndian;
  if (!description.isEmpty()) h.Flags |= ufHasDescription;
  h.CaretPos = ed.CellToPosition(ed.Col(), ed.Row());
  h.Position = Position;
  h.Count = Count;
  h.ReplaceCount = ReplaceCount;
  h.Translation = ed.FTranslation;
  h.BytesPerUnit = ed.FBytesPerUnit;

  uint8_t* data = rec + kUndoHeaderSize;
  int selLow = ed.FSelLow, selHigh = ed.FSelHigh, selAnchor = ed.FSelAnchor;
  // Read everything the record keeps before anything else changes, so a bad range
  // raises with the history untouched.
  switch (Kind) {
    case ukChangeBytes:
      ed.ReadBuffer(data, Position, Count);
      if (ed.HasChanged(Position)) h.Flags |= ufFirstChanged;
      if (Count == 2 && ed.HasChanged(Position + 1)) h.Flags |= ufSecondChanged;
      break;
    case ukRemoveData:
    case ukConvert: ed.ReadBuffer(data, Position, Count); break;
    case ukReplaceSelection: ed.ReadBuffer(data, Position, ReplaceCount); break;
    case ukInsertNibble:
    case ukDeleteNibble:
      ed.ReadBuffer(data, Position, 1);
      if (ed.HasChanged(Position)) h.Flags |= ufFirstChanged;
      break;
    case ukCursorMove:
      h.CaretPos = Position;
      selLow = selAnchor = Position;
      selHigh = Position + Count - 1;
      break;
    case ukGroup:
      data[0] = static_cast<uint8_t>(group.size());
      std::memcpy(data + 1, group.constData(), static_cast<size_t>(group.size()));
      if (ed.HasChanged(Position)) h.Flags |= ufFirstChanged;
      break;
    case ukAllSaved: ed.ReadBuffer(data, 0, Count); break;
    default: break;
  }
  writeHeader(rec, h);
  uint8_t* tail = data + n;
  if (!description.isEmpty()) {
    std::memcpy(tail, description.constData(), static_cast<size_t>(description.size()));
    tail += description.size();
    put32(tail, static_cast<int32_t>(description.size()));
    tail += 4;
  }
  if (hasSelection) {
    put32(tail, selLow);
    put32(tail + 4, selHigh);
    put32(tail + 8, selAnchor);
    tail += 12;
  }
  put32(tail, h.RecordSize);

  TMemoryStream::Seek(0, soEnd);
  WriteBuffer(rec, total);
  ++FRecordCount;

  // Bookmarks follow the bytes they mark; the change is still to come, so they must fit the
  // size it will leave. For a replacement the bytes after the old range move by the change
  // in length.
  const int size = ed.DataSize();
  switch (Kind) {
    case ukRemoveData: ed.AdjustBookmarks(Position + Count, -Count, size - Count); break;
    case ukInsertBuffer: ed.AdjustBookmarks(Position, Count, size + Count); break;
    case ukReplaceSelection:
      ed.AdjustBookmarks(Position + ReplaceCount, Count - ReplaceCount, size + Count - ReplaceCount);
      break;
    default: break;
  }
}

void TVXHUndoStorage::RemoveFirstRecord() {
  const int64_t size = Size();
  const int32_t first = size > 3 ? get32(Data()) : 0;
  if (size > 3 && first > kUndoHeaderSize && first <= size) {
    FStart += first;
    --FRecordCount;
    if (Size() == 0) {
      SetSize(0);
    } else {
      Compact();
    }
  } else {
    SetSize(0);
    FRecordCount = 0;
  }
}

int TVXHUndoStorage::ReadLastHeader(TVXHUndoHeader& H, uint8_t& FirstData, QString& Description) const {
  const int64_t size = Size();
  Description.clear();
  if (size < kMinRecord) return 11;
  const int32_t recSize = get32(Data() + size - 4);
  if (recSize < kMinRecord || recSize > size) return 11;
  const uint8_t* rec = Data() + size - recSize;
  H = readHeader(rec);
  FirstData = rec[kUndoHeaderSize];
  if (H.Flags & ufHasDescription) {
    const int64_t lenPos = recSize - ((H.Flags & ufHasSelection) ? 20 : 8);
    if (lenPos >= kUndoHeaderSize) {
      const int32_t len = get32(rec + lenPos);
      if (len >= 0 && len <= lenPos - kUndoHeaderSize) Description = AnsiBytesToString(rec + lenPos - len, len);
    }
  }
  return UndoKindOf(H.Flags);
}

QString TVXHUndoStorage::DescriptionOfLast() const {
  TVXHUndoHeader h;
  uint8_t first = 0;
  QString d;
  const int kind = ReadLastHeader(h, first, d);
  if (kind > ukAllSaved) return QString();
  if (kind == ukGroup && first > 0) {
    const uint8_t* rec = Data() + Size() - h.RecordSize;
    if (kUndoHeaderSize + 1 + first <= h.RecordSize) return AnsiBytesToString(rec + kUndoHeaderSize + 1, first);
  }
  if (!d.isEmpty()) return d;
  return UndoDescriptionOf(static_cast<TVXHUndoKind>(kind));
}

void TVXHUndoStorage::RemoveLastRecord() {
  if (Size() < kMinRecord) {
    Reset(false);
    return;
  }
  const int32_t recSize = get32(Data() + Size() - 4);
  if (recSize < kMinRecord || recSize > Size()) {
    Reset(false);
    return;
  }
  FLastUndone = QByteArray(reinterpret_cast<const char*>(Data() + Size() - recSize), recSize);
  FLastUndoneDescription = FUndoDescription;
  TMemoryStream::SetSize(TMemoryStream::Size() - recSize);
  --FRecordCount;
  if (Size() < kMinRecord) Reset(false);
  else FUndoDescription = DescriptionOfLast();
}

void TVXHUndoStorage::SetLastSelection(int Position, int Count) {
  if (!CanUndo() || Size() < kMinRecord) return;
  int32_t recSize = get32(Data() + Size() - 4);
  if (recSize < kMinRecord || recSize > Size()) return;
  uint32_t flags = static_cast<uint32_t>(get32(Data() + Size() - recSize + 4));
  if (!(flags & ufHasSelection)) {
    const uint8_t pad[12] = {};
    TMemoryStream::Seek(0, soEnd);
    WriteBuffer(pad, 12);
    recSize += 12;
    uint8_t* rec = Memory() + FStart + Size() - recSize;
    flags |= ufHasSelection;
    put32(rec + 4, static_cast<int32_t>(flags));
    put32(rec, recSize);
    put32(rec + recSize - 4, recSize);
  }
  uint8_t* rec = Memory() + FStart + Size() - recSize;
  put32(rec + 8, Position);
  put32(rec + recSize - 16, Position);
  put32(rec + recSize - 12, Position + Count - 1);
  put32(rec + recSize - 8, Position);
}

void TVXHUndoStorage::CreateRedo(const TVXHUndoHeader& H, int Kind) {
  ResetRedo();
  if (Kind == ukGroup || Kind > ukAllSaved) return;
  TCustomVXHexEditor& ed = FEditor;
  auto r = std::make_unique<TRedoStep>();
  r->Kind = Kind;
  r->H = H;
  r->H.Flags = 1u << Kind;
  if (Kind == ukChangeBytes) {
    if (ed.HasChanged(H.Position)) r->H.Flags |= ufFirstChanged;
    if (H.Count == 2 && ed.HasChanged(H.Position + 1)) r->H.Flags |= ufSecondChanged;
  }
  if (ed.FModified) r->H.Flags |= ufModified;
  if (ed.IsCharFieldColumn(ed.Col())) r->H.Flags |= ufCaretInCharField;
  else if (ed.CaretOnSecondNibble()) r->H.Flags |= ufCaretOnLowDigit;
  if (ed.FInsertMode) r->H.Flags |= ufInsertMode;
  if (ed.FUnicodeChars) r->H.Flags |= ufUnicodeChars;
  if (ed.FUnicodeBigEndian) r->H.Flags |= ufUnicodeBigEndian;
  r->H.CaretPos = ed.CellToPosition(ed.Col(), ed.Row());
  r->H.Translation = ed.FTranslation;
  r->H.BytesPerUnit = ed.FBytesPerUnit;

  auto grab = [&](int pos, int count) {
    r->Data.resize(std::max(count, 0));
    if (count > 0) ed.ReadBuffer(r->Data.data(), pos, count);
  };
  switch (Kind) {
    case ukChangeBytes:
    case ukInsertBuffer:
    case ukReplaceSelection:
    case ukConvert: grab(H.Position, H.Count); break;
    case ukAppendBuffer: grab(H.Position, ed.DataSize() - H.Position); break;
    case ukInsertNibble:
    case ukDeleteNibble:
      r->H.Count = ed.DataSize();
      grab(0, ed.DataSize());
      break;
    case ukAllSaved: grab(0, H.Count); break;
    default: break;
  }
  for (int i = 0; i < 10; ++i) r->Bookmarks[i] = ed.FBookmarks[i];
  r->SelLow = ed.FSelLow;
  r->SelHigh = ed.FSelHigh;
  r->SelAnchor = ed.FSelAnchor;
  FRedo = std::move(r);
}

// Caret (second digit included), modified flag and insert mode as recorded in a header.
void TVXHUndoStorage::RestoreCaretState(const TVXHUndoHeader& H) {
  TCustomVXHexEditor& ed = FEditor;
  const bool inChar = H.Flags & ufCaretInCharField;
  TGridCoord cell = ed.PositionToCell(H.CaretPos, inChar);
  if (!inChar && (H.Flags & ufCaretOnLowDigit) && ed.DataSize() > 0) ++cell.X;
  ed.MoveCurrentCell(cell.X, cell.Y, true);
  ed.FModified = H.Flags & ufModified;
  ed.SetInsertMode(H.Flags & ufInsertMode);
}

// Caret, modified flag, insert mode, selection and display state as recorded.
void TVXHUndoStorage::RestoreUndoState(const TVXHUndoHeader& H, const uint8_t* Record) {
  TCustomVXHexEditor& ed = FEditor;
  RestoreCaretState(H);
  if (H.Flags & ufHasSelection) {
    const uint8_t* sel = Record + H.RecordSize - 16;
    ed.SetSelectionRaw(get32(sel + 8), get32(sel), get32(sel + 4), false);
  }
  ed.RestoreDisplayState(static_cast<TVXHTranslationKind>(H.Translation), H.Flags & ufUnicodeChars,
                         H.Flags & ufUnicodeBigEndian, H.BytesPerUnit);
  ed.InvalidateGrid();
  ed.Changed();
}

void TVXHUndoStorage::Undo() {
  if (!CanUndo()) {
    Reset(false);
    return;
  }
  if (Size() < kMinRecord) {
    Reset(true);
    return;
  }
  TVXHUndoHeader H;
  uint8_t first = 0;
  QString description;
  const int kind = ReadLastHeader(H, first, description);
  if (kind > ukAllSaved) {  // no kind bit: the record is dropped unread
    RemoveLastRecord();
    return;
  }
  // The editor may grow or shrink this stream's block while reverting: work on a copy.
  const QByteArray record(reinterpret_cast<const char*>(Data() + Size() - H.RecordSize), H.RecordSize);
  const auto* rec = reinterpret_cast<const uint8_t*>(record.constData());
  const uint8_t* data = rec + kUndoHeaderSize;
  TCustomVXHexEditor& ed = FEditor;

  CreateRedo(H, kind);
  switch (kind) {
    case ukChangeBytes:
      ed.WriteBuffer(data, H.Position, H.Count);
      ed.SetChanged(H.Position, H.Flags & ufFirstChanged);
      if (H.Count == 2) ed.SetChanged(H.Position + 1, H.Flags & ufSecondChanged);
      RestoreUndoState(H, rec);
      break;
    case ukRemoveData:
      ed.InsertData(data, H.Count, H.Position);
      RestoreUndoState(H, rec);
      // The removed bytes come back at Position: what followed them moves up again.
      ed.AdjustBookmarks(H.Position, H.Count);
      ed.CutChangeMarks(H.Position);
      break;
    case ukInsertBuffer:
      ed.DeleteData(H.Position, H.Position + H.Count);
      RestoreUndoState(H, rec);
      ed.AdjustBookmarks(H.Position, -H.Count);
      ed.CutChangeMarks(H.Position);
      break;
    case ukReplaceSelection:
      ed.DeleteData(H.Position, H.Position + H.Count);
      ed.InsertData(data, H.ReplaceCount, H.Position);
      RestoreUndoState(H, rec);
      ed.AdjustBookmarks(H.Position + H.Count, H.ReplaceCount - H.Count);
      ed.CutChangeMarks(std::max(0, H.Position - 1));
      break;
    case ukAppendBuffer:
      ed.MoveCurrentCell(2, 2, true);
      ed.FDataStorage.SetSize(H.Position);
      ed.UpdateGridSize();
      ed.CutChangeMarks(H.Position);
      RestoreUndoState(H, rec);
      break;
    case ukInsertNibble:
    case ukDeleteNibble:
      // The reverse shift on the low half, then the byte as it was; the size ends one lower
      // than the shift left it (a removal keeps the size, an insertion adds a byte).
      if (kind == ukInsertNibble) ed.ShiftNibblesLeft(H.Position, false);
      else ed.ShiftNibblesRight(H.Position, false);
      ed.SetByte(H.Position, first);
      ed.SetChanged(H.Position, H.Flags & ufFirstChanged);
      RestoreUndoState(H, rec);
      ed.CutChangeMarks(H.Position);
      ed.FDataStorage.SetSize(ed.DataSize() - 1);
      ed.UpdateGridSize();
      break;
    case ukConvert:
      ed.WriteBuffer(data, H.Position, H.Count);
      RestoreUndoState(H, rec);
      ed.CutChangeMarks(H.Position);
      break;
    case ukCursorMove: RestoreUndoState(H, rec); break;
    case ukGroup: {
      RemoveLastRecord();
      for (int i = 0; i < H.Count && CanUndo(); ++i) Undo();
      ResetRedo();
      return;
    }
    case ukAllSaved:
      ed.FDataStorage.SetSize(H.Count);
      ed.WriteBuffer(data, 0, H.Count);
      ed.UpdateGridSize();
      RestoreUndoState(H, rec);
      break;
  }
  ed.InvalidateGrid();
  RemoveLastRecord();
}

void TVXHUndoStorage::Redo() {
  if (!FRedo) return;
  const std::unique_ptr<TRedoStep> r = std::move(FRedo);
  TCustomVXHexEditor& ed = FEditor;
  const TVXHUndoHeader& H = r->H;
  const auto* data = reinterpret_cast<const uint8_t*>(r->Data.constData());
  switch (r->Kind) {
    case ukChangeBytes: ed.WriteBuffer(data, H.Position, H.Count); break;
    case ukRemoveData: ed.DeleteData(H.Position, H.Position + H.Count); break;
    case ukInsertBuffer: ed.InsertData(data, H.Count, H.Position); break;
    case ukReplaceSelection:
      ed.DeleteData(H.Position, H.Position + H.ReplaceCount);
      ed.InsertData(data, H.Count, H.Position);
      break;
    case ukAppendBuffer: ed.AppendData(data, static_cast<int>(r->Data.size())); break;
    case ukInsertNibble:
    case ukDeleteNibble:
    case ukAllSaved:
      ed.FDataStorage.SetSize(H.Count);
      ed.WriteBuffer(data, 0, H.Count);
      ed.UpdateGridSize();
      break;
    case ukConvert:
      ed.DeleteData(H.Position, H.Position + H.Count);
      ed.InsertData(data, H.Count, H.Position);
      break;
    default: break;
  }

  // The state of the moment the change had been made.
  for (int i = 0; i < 10; ++i) ed.FBookmarks[i] = r->Bookmarks[i];
  RestoreCaretState(H);
  ed.SetSelectionRaw(r->SelAnchor, r->SelLow, r->SelHigh, false);
  ed.RestoreDisplayState(static_cast<TVXHTranslationKind>(H.Translation), H.Flags & ufUnicodeChars,
                         H.Flags & ufUnicodeBigEndian, H.BytesPerUnit);
  ed.SetCaretInCharField(H.Flags & ufCaretInCharField);
  ed.SetChanged(H.Position, H.Flags & ufFirstChanged);
  if (r->Kind == ukChangeBytes && H.Count == 2) ed.SetChanged(H.Position + 1, H.Flags & ufSecondChanged);
  if (!FLastUndone.isEmpty()) {
    TMemoryStream::Seek(0, soEnd);
    WriteBuffer(FLastUndone.constData(), FLastUndone.size());
    ++FRecordCount;
    FLastUndone.clear();
    FUndoDescription = FLastUndoneDescription;
  }
  ed.InvalidateGrid();
  ed.DoBookmarkChanged();
  ResetRedo();
  ed.Changed();
}
