// The document: its byte buffer, loading and saving with progress, positioned access.
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHUndoStorage.h"
#include "hexeditor/VXHexEditorStrings.h"

#include <QCursor>

#include <cmath>
#include <cstring>
#include <exception>

namespace {
constexpr int64_t kChunk = 61440;
constexpr int64_t kMaxDocument = 0x7FFFFFFF;
}  // namespace

bool TCustomVXHexEditor::CheckFileAccess(const QString& Name, bool& ReadOnly) {
  ReadOnly = true;
  if (!FileExists(Name)) return false;
  if (!CanOpenForRead(Name)) return false;
  if (CanOpenForReadWrite(Name)) ReadOnly = false;
  return true;
}

bool TCustomVXHexEditor::Modified() const {
  return FModified && (DataSize() > 0 || FileExists(FFileName));
}

void TCustomVXHexEditor::SetModified(bool value) {
  FModified = value;
  if (!value) {
    ResetUndo();
    ClearChangeMarks();
    InvalidateGrid();
  }
}

void TCustomVXHexEditor::CreateEmptyFile(const QString& Name) {
  FDataStorage.Clear();
  FFileName = Name.isEmpty() ? VXHStrings::Untitled : Name;
  ResetUndo();
  ResetSelection(false);
  ClearChangeMarks();
  UpdateGridSize();
  FModified = false;
  FReadOnlyFile = true;
  FHasFileName = false;
  MoveCaretToFirstCell();
  Changed();
}

void TCustomVXHexEditor::LoadFromFile(const QString& Name) {
  if (!CheckFileAccess(Name, FReadOnlyFile))
    throw EFOpenError(Format(VXHStrings::CannotOpen, {Name, SysErrorMessage(GetLastError())}));
  TFileStream file(Name, TFileStream::fmOpenRead);
  FProgressFileName = Name;
  try {
    LoadFromStream(file);
  } catch (...) {
    FHasFileName = false;
    FProgressFileName.clear();
    throw;
  }
  FFileName = Name;
  FHasFileName = true;
  FProgressFileName.clear();
}

void TCustomVXHexEditor::LoadFromStream(TStream& Stream) {
  // Refuse what cannot become a document before anything of the current one is touched.
  const int64_t size = Stream.Size();
  const QString name = FProgressFileName.isEmpty() ? FFileName : FProgressFileName;
  if (size > kMaxDocument) throw EVXHexEditor(Format(VXHStrings::FileTooLarge, {name}));
  TVXHMemoryStream fresh;
  try {
    fresh.SetSize(size);
  } catch (const EOutOfMemory&) {
    throw EVXHexEditor(Format(VXHStrings::OutOfMemory, {name, QString::number(size)}));
  }

  FDataStorage.Clear();
  UpdateGridSize();
  PushWaitCursor();
  std::exception_ptr failure;
  try {
    Stream.SetPosition(0);
    FDataStorage.Swap(fresh);
    FDataStorage.SetPosition(0);
    CopyWithProgress(Stream, FDataStorage, -1, pkLoad);
    FDataStorage.SetPosition(0);
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    if (!FUndoStorage->InUpdate()) ResetUndo();
    ClearChangeMarks();
    if (failure) FDataStorage.Clear();
    UpdateGridSize();
    FModified = false;
    FSelecting = false;
    MoveCaretToFirstCell();
    Changed();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  PopCursor();
  if (failure) {
    FDataStorage.Clear();
    FUndoStorage->Clear();
    UpdateGridSize();
    FHasFileName = false;
    std::rethrow_exception(failure);
  }
}

void TCustomVXHexEditor::BeforeSaveOverFile() {
  if (FReadOnlyFile) throw EFOpenError(Format(VXHStrings::SaveReadOnly, {FFileName}));
}

void TCustomVXHexEditor::CommitSave(TReplacingFileStream& File) { File.Commit(); }

void TCustomVXHexEditor::SaveToFile(const QString& Name, bool Unmodify) {
  if (Name == FFileName) BeforeSaveOverFile();
  // The new contents go to a file beside the target and replace it only when
  // complete: a failed or cancelled save leaves the old file untouched.
  TReplacingFileStream file(Name);
  FProgressFileName = Name;
  try {
    SaveToStream(file);
    CommitSave(file);
  } catch (...) {
    FProgressFileName.clear();
    throw;
  }
  FHasFileName = true;
  if (Unmodify) {
    ClearChangeMarks();
    FModified = false;
    FReadOnlyFile = false;
    FFileName = Name;
    FDataStorage.SetPosition(0);
    ResetUndo();
  }
  FProgressFileName.clear();
}

void TCustomVXHexEditor::SaveToStream(TStream& Stream) {
  PushWaitCursor();
  try {
    FDataStorage.SetPosition(0);
    CopyWithProgress(FDataStorage, Stream, -1, pkSave);
  } catch (...) {
    InvalidateGrid();
    PopCursor();
    throw;
  }
  InvalidateGrid();
  PopCursor();
}

void TCustomVXHexEditor::CopyWithProgress(TStream& Source, TStream& Dest, int64_t Count,
                                          TVXHProgressKind Kind) {
  const int64_t total = Count == -1 ? Source.Size() - Source.Position() : Count;
  int64_t remaining = total;
  bool cancel = false;
  int lastPercent = 255;
  const QString name = FProgressFileName.isEmpty() ? FFileName : FProgressFileName;
  // Memory on either side is read or written in place instead of through the
  // chunk buffer; the chunking and the events stay the same.
  auto* memSource = dynamic_cast<TMemoryStream*>(&Source);
  auto* memDest = dynamic_cast<TMemoryStream*>(&Dest);
  std::unique_ptr<uint8_t[]> chunk;
  if (!memSource && !memDest) chunk.reset(new uint8_t[kChunk]);

  while (remaining > 0) {
    const int percent = static_cast<int>(
        std::nearbyint(static_cast<double>(total - remaining) / static_cast<double>(total) * 100.0));
    if (percent != lastPercent || remaining <= kChunk) {
      lastPercent = remaining <= kChunk ? 100 : percent;
      if (OnLoadSaveProgress) {
        OnLoadSaveProgress(this, Kind, name, static_cast<uint8_t>(lastPercent), cancel);
        if (cancel) throw EVXHexEditor(VXHStrings::Cancelled);
      }
    }
    const int64_t n = std::min(remaining, kChunk);
    if (memDest && memDest->Position() + n <= memDest->Size()) {
      Source.ReadBuffer(memDest->Memory() + memDest->Position(), n);
      memDest->Seek(n, soCurrent);
    } else if (memSource && memSource->Position() + n <= memSource->Size()) {
      Dest.WriteBuffer(memSource->Memory() + memSource->Position(), n);
      memSource->Seek(n, soCurrent);
    } else {
      if (!chunk) chunk.reset(new uint8_t[kChunk]);
      Source.ReadBuffer(chunk.get(), n);
      Dest.WriteBuffer(chunk.get(), n);
    }
    remaining -= n;
  }
}

void TCustomVXHexEditor::ReadBuffer(void* Buffer, int Position, int Count) {
  FDataStorage.ReadAt(Buffer, Position, Count);
}

void TCustomVXHexEditor::WriteBuffer(const void* Buffer, int Position, int Count) {
  FDataStorage.WriteAt(Buffer, Position, Count);
}

uint8_t TCustomVXHexEditor::GetByte(int Position) {
  uint8_t b = 0;
  ReadBuffer(&b, Position, 1);
  return b;
}

void TCustomVXHexEditor::SetByte(int Position, uint8_t Value) { WriteBuffer(&Value, Position, 1); }

void TCustomVXHexEditor::ClearStorage(bool Undo) {
  if (Undo) FUndoStorage->SetSize(0);
  else FDataStorage.SetSize(0);
}

void TCustomVXHexEditor::PushWaitCursor() {
  FCursorList.push_back(viewport()->cursor());
  viewport()->setCursor(Qt::WaitCursor);
}

void TCustomVXHexEditor::PopCursor() {
  if (FCursorList.empty()) return;
  viewport()->setCursor(FCursorList.back());
  FCursorList.pop_back();
}

QString TCustomVXHexEditor::MakeTempFileName() {
  const QString dir = GetTempDirectory();
  QString name;
  do {
    name = dir + QStringLiteral("%1").arg(GetTickCount(), 8, 16, QLatin1Char('0')).toUpper() +
           QStringLiteral(".VXHT");
  } while (FileOrDirectoryExists(name));
  return name;
}
