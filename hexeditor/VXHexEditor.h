// The hex editor control: a grid over one document's bytes.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "hexeditor/VXHExceptions.h"
#include "hexeditor/VXHMemoryStream.h"
#include "hexeditor/VXHTranslationKind.h"
#include "platform/Grids.h"

class TVXHUndoStorage;

enum TVXHProgressKind : uint8_t { pkLoad, pkSave };

using TVXHProgressEvent = std::function<void(QObject* Sender, TVXHProgressKind ProgressType,
                                             const QString& aName, uint8_t Percent, bool& Cancel)>;
using TNotifyEvent = std::function<void(QObject* Sender)>;

class TCustomVXHexEditor : public TCustomGrid {
  Q_OBJECT
public:
  explicit TCustomVXHexEditor(QWidget* parent = nullptr);
  ~TCustomVXHexEditor() override;

  // ---- document
  int DataSize() const { return static_cast<int>(FDataStorage.Size()); }
  const QString& FileName() const { return FFileName; }
  bool ReadOnlyFile() const { return FReadOnlyFile; }
  bool HasFileName() const { return FHasFileName; }
  bool Modified() const;
  void SetModified(bool value);
  const QString& ProgressFileName() const { return FProgressFileName; }

  void CreateEmptyFile(const QString& Name);
  void LoadFromFile(const QString& Name);
  void LoadFromStream(TStream& Stream);
  void SaveToFile(const QString& Name, bool Unmodify);
  void SaveToStream(TStream& Stream);

  void ReadBuffer(void* Buffer, int Position, int Count);
  virtual void WriteBuffer(const void* Buffer, int Position, int Count);
  uint8_t GetByte(int Position);
  void SetByte(int Position, uint8_t Value);
  void ClearStorage(bool Undo);

  void PushWaitCursor();
  void PopCursor();

  static bool CheckFileAccess(const QString& Name, bool& ReadOnly);
  static QString MakeTempFileName();

  // Raw view of the document, for fast readers (painting, find, clipboard).
  const uint8_t* DataPointer() const { return FDataStorage.Memory(); }

  // ---- character translation
  TVXHTranslationKind Translation() const { return FTranslation; }
  void SetTranslation(TVXHTranslationKind value);
  bool UnicodeChars() const { return FUnicodeChars; }
  void SetUnicodeChars(bool value);
  bool UnicodeBigEndian() const { return FUnicodeBigEndian; }
  void SetUnicodeBigEndian(bool value);
  uint8_t MaskChar() const { return FMaskChar; }
  void SetMaskChar(uint8_t value);
  uint8_t CharToDataByte(uint8_t c) const;
  uint8_t DataByteToChar(uint8_t b) const;

  // ---- layout
  int BytesPerRow() const { return FBytesPerRow; }
  int BytesPerColumn() const { return FBytesPerColumn; }
  int BytesPerUnit() const { return FBytesPerUnit; }
  void SetBytesPerUnit(int value);
  void UpdateGridSize();
  void BuildRulerText();

  // ---- editing state
  bool InsertMode() const { return FInsertMode; }
  bool AllowInsertMode() const { return FAllowInsertMode; }
  bool NoSizeChange() const { return FNoSizeChange; }
  bool ReadOnlyView() const { return FReadOnlyView; }
  void SetReadOnlyView(bool value);
  int MaxUndo() const { return FMaxUndo; }
  TVXHUndoStorage& UndoStorage() { return *FUndoStorage; }

  // ---- events
  TNotifyEvent OnChange;
  TNotifyEvent OnSelectionChanged;
  TVXHProgressEvent OnLoadSaveProgress;

protected:
  virtual void NotifySelectionChanged();
  virtual void Changed();
  virtual void BeforeSaveOverFile();
  virtual void UndoBeginUpdate();
  virtual void UndoEndUpdate();

  void ResetUndo();
  void ClearChangeMarks();
  void ResetSelection(bool Redraw);
  void MoveCaretToFirstCell();
  void CopyWithProgress(TStream& Source, TStream& Dest, int64_t Count, TVXHProgressKind Kind);
  void Loaded();

  void DrawCell(QPainter& p, int col, int row, const QRect& rect) override;
  bool event(QEvent* e) override;

  TVXHMemoryStream FDataStorage;
  std::unique_ptr<TVXHUndoStorage> FUndoStorage;
  std::vector<bool> FChangeMarks;
  QString FFileName = QStringLiteral("---");
  bool FReadOnlyFile = true;
  bool FHasFileName = false;
  bool FModified = false;
  QString FProgressFileName;
  std::vector<QCursor> FCursorList;

  TVXHTranslationKind FTranslation = tkAsIs;
  bool FUnicodeChars = false;
  bool FUnicodeBigEndian = false;
  int FBytesPerUnit = 1;
  uint8_t FMaskChar = '.';

  int FBytesPerRow = 16;
  int FBytesPerColumn = 2;
  bool FInsertMode = false;
  bool FAllowInsertMode = true;
  bool FNoSizeChange = false;
  bool FReadOnlyView = false;
  bool FSelecting = false;
  int FMaxUndo = 1048576;
  int FSelStart = -1, FSelPosition = -1, FSelEnd = -1, FSelectionPivot = -1;
  bool FSelectionChangedPending = false;
};
