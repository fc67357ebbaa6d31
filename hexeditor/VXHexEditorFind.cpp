// Find, and replacing matches one by one or all at once.
//
// A replace-all over many matches would cost a whole-buffer move per match. It runs the
// first match through the ordinary editing operation, then does all matches but the last
// in one pass, building the undo records, bookmarks, change marks, caret and selection the
// one-by-one path would have left, and runs the last match through the ordinary operation
// again. Whatever it cannot reproduce exactly it leaves to the one-by-one path.
#include "hexeditor/VXHFind.h"
#include "hexeditor/VXHUndoStorage.h"
#include "hexeditor/VXHexEditor.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

int32_t get32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

uint8_t* put32(uint8_t* p, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  p[0] = uint8_t(u);
  p[1] = uint8_t(u >> 8);
  p[2] = uint8_t(u >> 16);
  p[3] = uint8_t(u >> 24);
  return p + 4;
}

// A record without description and with the selection: header, old bytes, selection, size.
constexpr int kSelectionTail = 12 + 4;

}  // namespace

// ------------------------------------------------------------------ find

int TCustomVXHexEditor::Find(const void* Pattern, int Length, int Start, int Last, bool IgnoreCase) {
  if (Last >= DataSize()) Last = DataSize() - 1;
  if (Length < 1 || int64_t(Start) + Length > int64_t(Last) + 1) return -1;
  PushWaitCursor();
  int found;
  try {
    TVXHFoldTable fold;
    if (IgnoreCase) fold = MakeFoldTable(FTranslation);
    found = FastFind(DataPointer(), DataSize(), static_cast<const uint8_t*>(Pattern), Length, Start, Last,
                     IgnoreCase ? &fold : nullptr);
  } catch (...) {
    PopCursor();
    throw;
  }
  PopCursor();
  return found;
}

void TCustomVXHexEditor::FoldCase(uint8_t* Buffer, int Count) const {
  const TVXHFoldTable fold = MakeFoldTable(FTranslation);
  for (int i = 0; i < Count; ++i) Buffer[i] = fold[Buffer[i]];
}

// ------------------------------------------------------------------ replace

bool TCustomVXHexEditor::ReplaceFound(int Position, int Length, const void* Replacement, int Size) {
  SetSelectionStart(Position);
  SetSelectionEnd(Position + Length - 1);
  // In the 16-bit character field the caret cannot stand on an odd byte, and the selection
  // would begin a byte early: select exactly the match.
  if (FSelLow != Position || FSelHigh != Position + Length - 1)
    SetSelectionRaw(Position, Position, Position + Length - 1, false);
  if (Size > 0) {
    // The counts ReplaceSelection will ask about.
    int newCount = Size, oldCount = Length;
    if (EffectiveNoSizeChange()) newCount = oldCount = std::min(Size, Length);
    const bool accepted = CanChange(ukReplaceSelection, newCount, oldCount);
    ReplaceSelection(Replacement, Size, QString(), true);
    return accepted;
  }
  const bool accepted = CanChange(ukRemoveData, Length, 0);
  DeleteSelection(QString());
  return accepted;
}

int TCustomVXHexEditor::ReplaceAll(const void* Pattern, int Length, const void* Replacement, int Size,
                                   bool IgnoreCase, int Start, bool Fast) {
  if (Length < 1) return 0;
  if (Size < 0 || !Replacement) Size = 0;
  // Own copies: the caller's buffers might live in the document.
  const std::vector<uint8_t> pattern(static_cast<const uint8_t*>(Pattern),
                                     static_cast<const uint8_t*>(Pattern) + Length);
  const std::vector<uint8_t> replacement(static_cast<const uint8_t*>(Replacement),
                                         static_cast<const uint8_t*>(Replacement) + Size);
  int count = 0;
  PushWaitCursor();
  try {
    int pos = std::max(0, Start);
    for (;;) {
      const int found = Find(pattern.data(), Length, pos, DataSize() - 1, IgnoreCase);
      if (found < 0) break;
      // A refused change would find the same match again for ever.
      if (!ReplaceFound(found, Length, replacement.data(), Size)) break;
      ++count;
      pos = found + Size;
      if (Fast && count == 1)
        count += ReplaceMatchesInBulk(pattern.data(), Length, replacement.data(), Size, IgnoreCase, pos, found);
    }
  } catch (...) {
    PopCursor();
    throw;
  }
  PopCursor();
  return count;
}

int TCustomVXHexEditor::ReplaceMatchesInBulk(const uint8_t* Pattern, int Length, const uint8_t* Replacement,
                                             int Size, bool IgnoreCase, int& Pos, int FirstPosition) {
  TVXHUndoStorage& undo = *FUndoStorage;
  if (undo.UpdateCount() != 0 || !FModified) return 0;
  if (EffectiveNoSizeChange() && Size != Length) return 0;
  const int m = Length;
  const int n = Size;
  const int64_t delta = int64_t(n) - m;
  const TVXHUndoKind kind = n > 0 ? ukReplaceSelection : ukRemoveData;
  const int recCount = n > 0 ? n : m;
  const int recReplaceCount = n > 0 ? m : 0;
  const int64_t recSize = kUndoHeaderSize + int64_t(m) + kSelectionTail;
  const bool inChar = CaretInCharField();
  auto caretFor = [&](int position) {
    const TGridCoord c = PositionToCell(position, inChar);
    return CellToPosition(c.X, c.Y);
  };

  // The first match's record, just written by the ordinary path, is the template; it must be
  // exactly the record this function would have built for it.
  TVXHUndoHeader h0;
  uint8_t firstData = 0;
  QString description;
  if (undo.ReadLastHeader(h0, firstData, description) != kind) return 0;
  const uint32_t wantFlags = (1u << kind) | ufHasSelection;
  if (h0.RecordSize != recSize || (h0.Flags & (ufKindMask | ufHasSelection | ufHasDescription)) != wantFlags ||
      h0.Position != FirstPosition || h0.Count != recCount || h0.ReplaceCount != recReplaceCount ||
      h0.CaretPos != caretFor(FirstPosition))
    return 0;
  {
    const uint8_t* tail = undo.Data() + undo.Size() - kSelectionTail;
    if (get32(tail) != FirstPosition || get32(tail + 4) != FirstPosition + m - 1 || get32(tail + 8) != FirstPosition)
      return 0;
  }
  if (!CanChange(kind, recCount, recReplaceCount)) return 0;

  TVXHFoldTable fold;
  if (IgnoreCase) fold = MakeFoldTable(FTranslation);
  const std::vector<int> matches =
      FindAllMatches(DataPointer(), DataSize(), Pattern, m, Pos, IgnoreCase ? &fold : nullptr);
  if (matches.size() < 2) return 0;
  const size_t bulk = matches.size() - 1;  // the last one goes the ordinary way
  const int64_t oldSize = DataSize();
  const int64_t newSize = oldSize + int64_t(bulk) * delta;
  if (newSize > INT32_MAX || newSize < 0) return 0;
  auto positionAt = [&](size_t k) { return static_cast<int>(matches[k] + int64_t(k) * delta); };

  // Which records survive the history limit: AddUndo drops the oldest records while the
  // history is over the limit, then appends.
  const int maxUndo = FMaxUndo;
  std::vector<int32_t> oldSizes;
  if (maxUndo > 0) {
    const uint8_t* d = undo.Data();
    const int64_t total = undo.Size();
    for (int64_t off = 0; off < total;) {
      if (total - off < 4) return 0;
      const int32_t s = get32(d + off);
      if (s <= kUndoHeaderSize || s > total - off) return 0;
      oldSizes.push_back(s);
      off += s;
    }
    if (int64_t(oldSizes.size()) != undo.RecordCount()) return 0;
  }
  size_t oldDropped = 0, newDropped = 0;
  {
    int64_t live = undo.Size();
    int64_t records = undo.RecordCount();
    for (size_t k = 0; k < bulk; ++k) {
      while (maxUndo > 0 && records > 0 && live > maxUndo) {
        if (oldDropped < oldSizes.size()) live -= oldSizes[oldDropped++];
        else {
          live -= recSize;
          ++newDropped;
        }
        --records;
      }
      live += recSize;
      ++records;
    }
  }

  // Build the surviving records before any byte moves: they keep the replaced bytes.
  const size_t kept = bulk - newDropped;
  std::vector<uint8_t> records(static_cast<size_t>(kept * recSize));
  {
    const uint32_t flags = h0.Flags | ufModified;
    const uint8_t* data = DataPointer();
    uint8_t* r = records.data();
    for (size_t k = newDropped; k < bulk; ++k) {
      const int at = positionAt(k);
      r = put32(r, static_cast<int32_t>(recSize));
      r = put32(r, static_cast<int32_t>(flags));
      r = put32(r, caretFor(at));
      r = put32(r, at);
      r = put32(r, recCount);
      r = put32(r, recReplaceCount);
      *r++ = h0.Translation;
      r = put32(r, h0.BytesPerUnit);
      std::memcpy(r, data + matches[k], static_cast<size_t>(m));
      r += m;
      r = put32(r, at);
      r = put32(r, at + m - 1);
      r = put32(r, at);
      r = put32(r, static_cast<int32_t>(recSize));
    }
  }
  FDataStorage.Reserve(std::max(oldSize, newSize));

  // Commit: the history first (the only step that may still run out of memory), then the
  // bookmarks and the bytes.
  for (size_t i = 0; i < oldDropped; ++i) undo.RemoveFirstRecord();
  undo.AppendRecords(records.data(), static_cast<int64_t>(records.size()), static_cast<int>(kept));

  bool bookmarksMoved = false;
  for (size_t k = 0; k < bulk; ++k) {
    const int64_t from = int64_t(positionAt(k)) + m;
    const int64_t sizeAfter = oldSize + int64_t(k + 1) * delta;
    for (TVXHBookmarkEntry& b : FBookmarks) {
      if (b.Position >= from) {
        bookmarksMoved = true;
        b.Position = static_cast<int>(b.Position + delta);
        if (b.Position > sizeAfter) b.Position = -1;
      }
    }
  }
  CutChangeMarks(positionAt(0));

  if (newSize > oldSize) FDataStorage.Grow(newSize);
  RewriteForReplace(FDataStorage.Memory(), oldSize, matches.data(), bulk, m, nullptr, n);
  if (newSize < oldSize) FDataStorage.SetSize(newSize);
  if (n > 0)
    for (size_t k = 0; k < bulk; ++k) WriteBuffer(Replacement, positionAt(k), n);

  // Caret and selection as the last of these replacements leaves them.
  UpdateGridSize();
  const int last = positionAt(bulk - 1);
  if (n > 0) {
    MoveCaretTo(last + n - 1, inChar);
    SetSelectionRaw(last + n - 1, last, last + n - 1, false);
  } else {
    MoveCaretTo(last, inChar);
    ResetSelection(false);
  }
  Pos = last + n;
  if (bookmarksMoved) DoBookmarkChanged();
  InvalidateGrid();
  Changed();
  return static_cast<int>(bulk);
}

// ------------------------------------------------------------------ undo storage support

void TVXHUndoStorage::AppendRecords(const void* Records, int64_t Size, int Count) {
  if (Size <= 0 || Count <= 0) return;
  TMemoryStream::Reserve(TMemoryStream::Size() + Size);
  TMemoryStream::Seek(0, soEnd);
  WriteBuffer(Records, Size);
  FRecordCount += Count;
}
