// The hex editor control: a grid over one document's bytes.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "hexeditor/VXHColors.h"
#include "hexeditor/VXHExceptions.h"
#include "hexeditor/VXHMemoryStream.h"
#include "hexeditor/VXHOffsetFormat.h"
#include "hexeditor/VXHTranslationKind.h"
#include "hexeditor/VXHUndoKind.h"
#include "platform/Grids.h"

class TVXHUndoStorage;

struct TVXHBookmarkEntry {
  int Position = -1;  // negative: not set
  bool InCharField = false;
};

enum TVXHProgressKind : uint8_t { pkLoad, pkSave };

using TVXHProgressEvent = std::function<void(QObject* Sender, TVXHProgressKind ProgressType,
                                             const QString& aName, uint8_t Percent, bool& Cancel)>;
using TNotifyEvent = std::function<void(QObject* Sender)>;
using TVXHGetOffsetTextEvent = std::function<void(QObject* Sender, int64_t Number, QString& OffsetText)>;

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
  void SetBytesPerRow(int value);
  int BytesPerColumn() const { return FBytesPerColumn; }
  void SetBytesPerColumn(int value);
  int BytesPerUnit() const { return FBytesPerUnit; }
  void SetBytesPerUnit(int value);
  int RulerBytesPerUnit() const { return FRulerBytesPerUnit; }
  void SetRulerBytesPerUnit(int value);
  int BytesPerBlock() const { return FBytesPerBlock; }
  void SetBytesPerBlock(int value);
  bool SeparateBlocksInCharField() const { return FSeparateBlocksInCharField; }
  void SetSeparateBlocksInCharField(bool value);
  int GutterWidth() const { return FGutterWidth; }
  void SetGutterWidth(int value);
  bool ShowRuler() const { return FShowRuler; }
  void SetShowRuler(bool value);
  bool DrawGutter3D() const { return FDrawGutter3D; }
  void SetDrawGutter3D(bool value);
  bool HexLowerCase() const { return FHexLowerCase; }
  void SetHexLowerCase(bool value);
  QString OffsetFormat() const { return FOffsetFormat.Format; }
  void SetOffsetFormat(const QString& value);
  const TVXHOffsetFormat& OffsetFormatRecord() const { return FOffsetFormat; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& value);
  QString Version() const;
  void SetVersion(const QString&) {}

  int CharWidth() const { return FCharWidth; }
  int LineHeight() const { return FLineHeight; }
  int HexColumnCount() const { return 2 * FBytesPerRow; }
  int EffectiveRulerUnit() const { return FEffectiveRulerUnit; }
  int GutterChars() const { return FGutterChars; }
  const QString& RulerText() const { return FRulerText; }
  QChar HexDigit(int value) const { return QLatin1Char(FDigits[value & 15]); }

  void UpdateLayout();
  void UpdateGridSize();
  void UpdateGutterWidth();
  void BuildRulerText();

  // Cells and bytes.
  int CellToPosition(int ACol, int ARow) const;
  bool LastFieldIsCharField() const { return FLastFieldIsChar; }
  TGridCoord PositionToCell(int Position, bool InCharField) const;
  int PositionToRow(int Position) const { return Position / FBytesPerRow + 2; }
  int OtherFieldColumn(int ACol, bool* InCharField = nullptr) const;
  bool IsCharFieldColumn(int ACol) const { return ACol > HexColumnCount() + 2; }
  int FirstVisiblePosition() const;
  int LastVisiblePosition() const;
  int AlignToUnit(int p) const { return (p / FBytesPerUnit) * FBytesPerUnit; }
  void NormalizeRange(int& a, int& b) const;
  void ClampToEnd(int& p) const;

  void ParseOffsetFormat(const QString& Text);
  virtual QString GetOffsetText(uint32_t Offset);
  TVXHGetOffsetTextEvent OnGetOffsetText;

  // ---- caret and selection
  int CaretPosition() const;
  bool CaretInCharField() const;
  bool CaretOnSecondNibble() const;
  int SelAnchor() const { return FSelAnchor; }
  int SelLow() const { return FSelLow; }
  int SelHigh() const { return FSelHigh; }
  // Stores the three selection positions, each clamped to -1 .. size - 1.
  void SetSelectionRaw(int Anchor, int Low, int High, bool Redraw);

  // ---- change marks and bookmarks
  bool HasChanged(int Position) const;
  void SetChanged(int Position, bool Value);
  const TVXHBookmarkEntry& Bookmark(int Index) const { return FBookmarks[Index]; }
  void ToggleBookmark(int Index, int Position, bool InCharField);
  void SetBookmarkEntry(int Index, const TVXHBookmarkEntry& Entry) {
    ToggleBookmark(Index, Entry.Position, Entry.InCharField);
  }
  bool JumpToBookmark(int Index);
  void AdjustBookmarks(int From, int Delta) { AdjustBookmarks(From, Delta, DataSize()); }
  // SizeAfter: the document size the shifted bookmarks must fit into.
  void AdjustBookmarks(int From, int Delta, int SizeAfter);
  TNotifyEvent OnBookmarkChanged;

  // ---- editing operations (each asks CanChange and records an undo step first)
  bool CreateUndo(TVXHUndoKind Kind, int Position, int Count, int ReplaceCount, const QString& Description);
  virtual bool CanChange(TVXHUndoKind Kind, int Count, int ReplaceCount);
  void ChangeByte(int Position, uint8_t Old, uint8_t New, const QString& Description);
  void ChangeWord(int Position, uint16_t Old, uint16_t New, const QString& Description);
  void InsertBuffer(const void* Buffer, int Size, int Position, const QString& Description, bool MoveCursor);
  void AppendBuffer(const void* Buffer, int Size, const QString& Description, bool MoveCursor);
  void ReplaceSelection(const void* Buffer, int Size, const QString& Description, bool MoveCursor);
  int OverwriteBuffer(const void* Buffer, int Position, int OldCount, int NewCount, const QString& Description,
                      bool MoveCursor);
  void DeleteSelection(const QString& Description);
  void DeleteAtCaret(bool Backspace, const QString& Description);
  bool InsertNibble(int Position, bool HighNibble, const QString& Description);
  bool DeleteNibble(int Position, bool HighNibble, const QString& Description);
  void GroupUndo(int Count, const QString& Description);
  void SetAsText(const QString& Text);
  int Seek(int Offset, int Origin);

  bool SuspendNoSizeChange() const { return FSuspendNoSizeChange; }
  void SetSuspendNoSizeChange(bool value) { FSuspendNoSizeChange = value; }
  bool EffectiveNoSizeChange() const { return FNoSizeChange && !FSuspendNoSizeChange; }
  bool CanInsert() const { return !EffectiveNoSizeChange() && FAllowInsertMode && !FReadOnlyView; }

  // ---- undo
  void Undo();
  void Redo();
  bool CanUndo() const;
  bool CanRedo() const;
  QString UndoDescription() const;
  void SetMaxUndo(int value) { FMaxUndo = value; }

  // ---- selection
  int SelectionStart() const;
  void SetSelectionStart(int value);
  int SelectionEnd() const;
  void SetSelectionEnd(int value);
  int SelectionCount() const;
  bool HasSelection() const { return FSelLow >= 0 && FSelHigh >= 0; }
  void SelectRange(int A, int B);
  void SelectAll();
  void ResetSelection(bool Redraw);
  void SetCaretInCharField(bool value);
  bool Selecting() const { return FSelecting; }

  // ---- editing state
  bool InsertMode() const;
  void SetInsertMode(bool value);
  bool AllowInsertMode() const { return FAllowInsertMode; }
  void SetAllowInsertMode(bool value);
  bool NoSizeChange() const { return FNoSizeChange; }
  void SetNoSizeChange(bool value);
  bool ReadOnlyView() const { return FReadOnlyView; }
  void SetReadOnlyView(bool value);
  int MaxUndo() const { return FMaxUndo; }
  TVXHUndoStorage& UndoStorage() { return *FUndoStorage; }

  // ---- painting
  TVXHColors& Colors() { return FColors; }
  const TVXHColors& Colors() const { return FColors; }
  void SetColors(const TVXHColors& value) { FColors.Assign(value); }
  // The control colour: what cells the editor leaves unpainted show. Follows Colors().Background().
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  bool DrawGridLines() const { return FDrawGridLines; }
  void SetDrawGridLines(bool value);
  bool FocusFrame() const { return FFocusFrame; }
  void SetFocusFrame(bool value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  bool GraySelectionIfNotFocused() const { return FGraySelectionIfNotFocused; }
  void SetGraySelectionIfNotFocused(bool value);
  bool ShowPositionIfNotFocused() const { return FShowPositionIfNotFocused; }
  void SetShowPositionIfNotFocused(bool value);
  bool SwapNibbles() const { return FSwapNibbles != 0; }
  void SetSwapNibbles(bool value);
  TVXHCaretKind CaretKind() const { return FCaretKind; }
  void SetCaretKind(TVXHCaretKind value);
  // 200 x 10 pixels: ten hex-field icons, then ten character-field icons.
  const QImage& BookmarkBitmap() const;
  // A null image brings back the built-in strip.
  void SetBookmarkBitmap(const QImage& value);
  bool BookmarkBitmapStored() const { return !FBookmarkBitmap.isNull(); }
  // The text the editor draws in a cell (before OnDrawCell sees it).
  QString CellText(int ACol, int ARow);
  // The caret is drawn by the control: an inverting shape blinking over the caret cell.
  void CreateCaretShape();
  void DestroyCaret();
  // Moves the caret to the caret cell, or parks it at (-50, -50) when that cell is not visible.
  void PlaceCaret();
  QPoint CaretPos() const { return FCaretPos; }
  TVXHDrawCellEvent OnDrawCell;

  // ---- keyboard and mouse
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  bool IsOverSelection(int X, int Y) const;
  // In insert mode a point right of a row's last byte moves to the start of the next row.
  TGridCoord WrapPointToNextRow(int& X, int& Y) const;
  int ShowDropPosition(int X, int Y);
  void HideDropPosition();
  int GetDropPosition() const;
  bool PendingPress() const { return FPendingPress; }
  TNotifyEvent OnInvalidKey;
  TNotifyEvent OnTopLeftChanged;

  // ---- find
  // The first match of Pattern that begins at or after Start and ends at or before Last
  // (values at or beyond DataSize mean the last byte), or -1. With IgnoreCase each document
  // byte is lower-cased through the translation before it is compared; the pattern is
  // compared as given (see FoldCase). Caret, selection and data stay as they are.
  int Find(const void* Pattern, int Length, int Start, int Last, bool IgnoreCase);
  // Lower-cases Count bytes as Find(IgnoreCase) lower-cases the document's bytes.
  void FoldCase(uint8_t* Buffer, int Count) const;
  // Selects the Length bytes at Position and puts Size bytes of Replacement in their place
  // (deletes them when Size is 0) as one undo step. False when the change was refused.
  bool ReplaceFound(int Position, int Length, const void* Replacement, int Size);
  // Replaces every match from Start on, left to right; the search resumes behind each
  // replacement, so inserted bytes are never searched again. Returns the number replaced.
  // The result is that of ReplaceFound on each match in turn, undo history included; Fast
  // false takes exactly that path, one by one (the reference the fast path is tested against).
  int ReplaceAll(const void* Pattern, int Length, const void* Replacement, int Size, bool IgnoreCase,
                 int Start = 0, bool Fast = true);

  // ---- events
  TNotifyEvent OnChange;
  TNotifyEvent OnSelectionChanged;
  TVXHProgressEvent OnLoadSaveProgress;

protected:
  virtual void NotifySelectionChanged();
  virtual void Changed();
  virtual void BeforeSaveOverFile();
  // Puts the completely written new file in place of the old one.
  virtual void CommitSave(TReplacingFileStream& File);
  virtual void UndoBeginUpdate();
  virtual void UndoEndUpdate();

  friend class TVXHUndoStorage;
  virtual void DoBookmarkChanged();
  void ResetUndo();
  void ClearChangeMarks();
  void CutChangeMarks(int Position);
  void MoveCaretToFirstCell();
  void MoveCaretTo(int Position, bool InCharField);
  void InvalidatePosition(int Position);
  void InsertData(const void* Buffer, int Count, int Position);
  void AppendData(const void* Buffer, int Count);
  void DeleteData(int Start, int End, int ACol = -1, int ARow = -1);
  bool ShiftNibblesRight(int Position, bool HighNibble);
  bool ShiftNibblesLeft(int Position, bool HighNibble);
  // Translation, 16-bit display and unit as recorded with an undo step: no checks.
  void RestoreDisplayState(TVXHTranslationKind Translation, bool Unicode, bool BigEndian, int BytesPerUnit);
  bool SelectCell(int ACol, int ARow) override;
  void KeyDown(int& Key, TShiftState Shift) override;
  void KeyPress(uint8_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void TimerTick() override;
  void ScrollMessage() override;
  void Resize() override;
  void TopLeftChanged() override;
  void DoEnter() override;
  void DoExit() override;
  bool WantsTabKey() const override { return FWantTabs; }
  bool WantsShortcutKey(int Key, TShiftState Shift) const override;
  bool HandlePlaceCaretEvent(QEvent* e);
  void StepBack();
  void StepForward();
  void InvalidKey();
  void AdvanceAfterTyping();
  void ClearPendingPress() { FPendingPress = false; }
  void CopyWithProgress(TStream& Source, TStream& Dest, int64_t Count, TVXHProgressKind Kind);
  void Loaded();

  // ---- find
  // Does all but the last of the matches after Pos in one pass, with the state and undo
  // records the one-by-one path leaves; returns how many (0: nothing done, go on one by one).
  int ReplaceMatchesInBulk(const uint8_t* Pattern, int Length, const uint8_t* Replacement, int Size,
                           bool IgnoreCase, int& Pos, int FirstPosition);

  bool event(QEvent* e) override;
  void changeEvent(QEvent* e) override;
  void ApplyUnitSizeFollowers();

  TVXHMemoryStream FDataStorage;
  std::unique_ptr<TVXHUndoStorage> FUndoStorage;
  std::vector<bool> FChangeMarks;
  TVXHBookmarkEntry FBookmarks[10];
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
  int FRulerBytesPerUnit = -1;
  int FEffectiveRulerUnit = 1;
  int FBytesPerBlock = -1;
  bool FSeparateBlocksInCharField = true;
  int FGutterWidth = -1;
  bool FShowRuler = false;
  bool FDrawGutter3D = true;
  bool FHexLowerCase = false;
  const char* FDigits = "0123456789ABCDEF";
  TVXHOffsetFormat FOffsetFormat;
  TFont FFont;
  int FCharWidth = -1;
  int FLineHeight = 0;
  int FGutterChars = -1;
  QString FRulerText;
  mutable bool FLastFieldIsChar = false;

  bool FInsertMode = false;  // the setting; InsertMode() tells whether it is in effect
  bool FAllowInsertMode = true;
  bool FNoSizeChange = false;
  bool FReadOnlyView = false;
  bool FSelecting = false;
  int FMaxUndo = 1048576;
  int FSelAnchor = -1, FSelLow = -1, FSelHigh = -1, FSelectionPivot = -1;
  bool FSelectionChangedPending = false;
  bool FCellCheckRunning = false;
  bool FSuspendNoSizeChange = false;
  bool FWantTabs = true;
  bool FPendingPress = false;
  QPoint FPressPoint;

  // ---- painting
  struct TPaintCache;
  struct TPaintContext;
  struct TCellRecord;
  void Paint(QPainter& p, const QRect& clip) override;
  void paintEvent(QPaintEvent* e) override;
  void DrawCells(TPaintContext& ctx, int area, int firstCol, int firstRow, int left, int top, int right, int bottom);
  void DrawDataCell(TPaintContext& ctx, int ACol, int ARow, const QRect& ARect, bool InCharField);
  void DrawGutterCell(TPaintContext& ctx, int ARow, const QRect& ARect);
  void DrawRulerCell(TPaintContext& ctx, int ACol, const QRect& ARect);
  void DrawCellText(TPaintContext& ctx, TCellRecord& cell);
  void DrawFrame(TPaintContext& ctx, const QRect& ARect, TColor OutlineColor);
  TPaintCache& PaintCache();
  bool IsFocused() const { return FFocusOverride < 0 ? hasFocus() : FFocusOverride != 0; }
  // The caret's rectangle in viewport pixels; empty while it is parked or not created.
  QRect CaretRect() const;
  void CaretBlinkTick();
  void SetCaretPos(QPoint pos);

  TVXHColors FColors{this};
  TColor FColor = clWindow;
  bool FDrawGridLines = false;
  bool FFocusFrame = true;
  bool FHideSelection = false;
  bool FGraySelectionIfNotFocused = false;
  bool FShowPositionIfNotFocused = false;
  int FSwapNibbles = 0;  // 0 or 1: which nibble column of a byte shows the high nibble
  TVXHCaretKind FCaretKind = ckAuto;
  QImage FBookmarkBitmap;  // null: the built-in strip
  bool FDropVisible = false;
  int FDropCol = -1, FDropRow = -1;
  QPoint FCaretPos{-50, -50};
  QRect FCaretShape;           // relative to FCaretPos
  bool FCaretCreated = false;
  bool FCaretBlinkOn = false;  // the visible half of the blink cycle
  int FFocusOverride = -1;     // tests: -1 follows the keyboard focus, 0 or 1 forces it
  QRegion FPaintRegion;        // of the paint event being handled
  std::shared_ptr<TPaintCache> FPaintCache;  // glyphs, bookmark icons, caret timer; built on first use
};
