// Undo storage of the control: records back to back, oldest first, each framed by its size
// at both ends so the newest is found from the end and the oldest dropped from the front.
//
// Dropping the oldest record only advances a start offset; the block is compacted when the
// dead prefix outgrows the live records, so trimming a full history costs no whole-stream move.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

#include "hexeditor/VXHUndoKind.h"
#include "platform/Classes.h"

class TCustomVXHexEditor;
struct TVXHBookmarkEntry;

enum : uint32_t {
  ufKindMask = 0x7FF,
  ufFirstChanged = 0x800,
  ufSecondChanged = 0x1000,
  ufModified = 0x2000,
  ufCaretOnLowDigit = 0x4000,
  ufCaretInCharField = 0x8000,
  ufHasSelection = 0x10000,
  ufInsertMode = 0x20000,
  ufUnicodeChars = 0x40000,
  ufUnicodeBigEndian = 0x80000,
  ufHasDescription = 0x100000,
};

// The fixed head of a record: 29 bytes, then the data.
struct TVXHUndoHeader {
  int32_t RecordSize = 0;
  uint32_t Flags = 0;
  int32_t CaretPos = 0;
  int32_t Position = 0;
  int32_t Count = 0;
  int32_t ReplaceCount = 0;
  uint8_t Translation = 0;
  int32_t BytesPerUnit = 1;
};
constexpr int kUndoHeaderSize = 29;

// Lowest kind bit among bits 0..10; 11 when none is set.
int UndoKindOf(uint32_t Flags);
const QString& UndoDescriptionOf(TVXHUndoKind Kind);

class TVXHUndoStorage : public TMemoryStream {
public:
  explicit TVXHUndoStorage(TCustomVXHexEditor& editor);
  ~TVXHUndoStorage() override;

  // The live records; the dead prefix left by trimming is not part of the stream.
  int64_t Size() const override { return TMemoryStream::Size() - FStart; }
  void SetSize(int64_t newSize) override;
  const uint8_t* Data() const { return Memory() + FStart; }

  void AddUndo(TVXHUndoKind Kind, int Position, int Count, int ReplaceCount, const QString& Description);
  void Undo();
  void Redo();
  bool CanUndo() const { return FRecordCount >= 1 && FUpdateCount <= 0 && Size() >= 1; }
  bool CanRedo() const { return FRedo != nullptr; }
  void Reset(bool DropRedo = true);
  void ResetRedo();
  int BeginUpdate() { return ++FUpdateCount; }
  int EndUpdate() { return FUpdateCount = FUpdateCount > 0 ? FUpdateCount - 1 : 0; }
  bool InUpdate() const { return FUpdateCount > 0; }
  int UpdateCount() const { return FUpdateCount; }
  int RecordCount() const { return FRecordCount; }
  const QString& UndoDescription() const { return FUndoDescription; }
  void SetLastSelection(int Position, int Count);
  void RemoveFirstRecord();
  void RemoveLastRecord();
  // ---- find
  // Appends Count complete records (Size bytes, each framed as AddUndo frames it) that a
  // bulk edit built itself; the caller has trimmed the history as AddUndo would have.
  void AppendRecords(const void* Records, int64_t Size, int Count);
  // Header of the newest record (and its description); returns its kind.
  int ReadLastHeader(TVXHUndoHeader& H, uint8_t& FirstData, QString& Description) const;

private:
  struct TRedoStep;
  void CreateRedo(const TVXHUndoHeader& H, int Kind);
  void RestoreCaretState(const TVXHUndoHeader& H);
  void RestoreUndoState(const TVXHUndoHeader& H, const uint8_t* Record);
  void Compact();
  QString DescriptionOfLast() const;

  TCustomVXHexEditor& FEditor;
  int64_t FStart = 0;
  int FRecordCount = 0;
  int FUpdateCount = 0;
  QString FUndoDescription;
  std::unique_ptr<TRedoStep> FRedo;
  QByteArray FLastUndone;
  QString FLastUndoneDescription;
};
