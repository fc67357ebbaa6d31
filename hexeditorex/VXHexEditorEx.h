// The extended editor control of every editor window: backups when saving over a file,
// editing shortcuts, wheel zoom, double-click selection, and the state of clipboard,
// drag and drop and printing.
#pragma once

#include <QMenu>
#include <QPointer>
#include <functional>

#include "hexeditor/VXHexEditor.h"
#include "hexeditorex/VXHPrintOptions.h"

using TVXHQueryPublicPropertyEvent =
    std::function<void(QObject* Sender, const QString& PropertyName, bool& IsPublic)>;

class TVXHexEditorEx : public TCustomVXHexEditor {
  Q_OBJECT
public:
  explicit TVXHexEditorEx(QWidget* parent = nullptr);
  ~TVXHexEditorEx() override;

  bool CreateBackup() const { return FCreateBackup; }
  void SetCreateBackup(bool value) { FCreateBackup = value; }
  const QString& BackupExtension() const { return FBackupExtension; }
  void SetBackupExtension(const QString& value) { FBackupExtension = value; }
  bool OleDragDrop() const { return FOleDragDrop; }
  void SetOleDragDrop(bool value) { FOleDragDrop = value; }
  TVXHPrintOptions& PrintOptions() { return FPrintOptions; }
  void SetPrintOptions(const TVXHPrintOptions& value) { FPrintOptions.Assign(value); }
  bool ClipboardAsHexText() const { return FClipboardAsHexText; }
  void SetClipboardAsHexText(bool value) { FClipboardAsHexText = value; }
  bool FlushClipboardAtShutDown() const { return FFlushClipboardAtShutDown; }
  void SetFlushClipboardAtShutDown(bool value) { FFlushClipboardAtShutDown = value; }
  bool SupportsOtherClipFormats() const { return FSupportsOtherClipFormats; }
  void SetSupportsOtherClipFormats(bool value) { FSupportsOtherClipFormats = value; }
  const TFont& PrintFont() const { return FPrintFont; }
  // Printing switches to this font, even when it equals the editor font.
  void SetPrintFont(const TFont& value) {
    FPrintFont = value;
    FUseEditorFontForPrinting = false;
  }
  bool UseEditorFontForPrinting() const { return FUseEditorFontForPrinting; }
  void SetUseEditorFontForPrinting(bool value) { FUseEditorFontForPrinting = value; }
  // Cleared by itself when the menu is destroyed.
  QMenu* OffsetPopupMenu() const { return FOffsetPopupMenu; }
  void SetOffsetPopupMenu(QMenu* value) { FOffsetPopupMenu = value; }
  bool ZoomOnWheel() const { return FZoomOnWheel; }
  void SetZoomOnWheel(bool value) { FZoomOnWheel = value; }
  TVXHQueryPublicPropertyEvent OnQueryPublicProperty;
  TNotifyEvent OnDblClick;

  bool CanCopy() const { return DataSize() > 0 && SelectionCount() > 0; }
  bool CanCut() const { return CanCopy() && !ReadOnlyView() && !NoSizeChange(); }
  bool CanPaste() const;
  bool CopyToClipboard();
  bool CutToClipboard();
  bool PasteFromClipboard();

  // Saves the document over its own file.
  void Save();

  void WriteBuffer(const void* Buffer, int Position, int Count) override;

protected:
  void BeforeSaveOverFile() override;
  void CommitSave(TReplacingFileStream& File) override;
  void KeyDown(int& Key, TShiftState Shift) override;
  bool WantsShortcutKey(int Key, TShiftState Shift) const override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, QPoint MousePos) override;
  void DblClick() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  bool FCreateBackup = true;
  QString FBackupExtension = QStringLiteral(".bak");
  bool FOleDragDrop = false;
  TVXHPrintOptions FPrintOptions;
  bool FClipboardAsHexText = false;
  bool FFlushClipboardAtShutDown = false;
  bool FSupportsOtherClipFormats = true;
  TFont FPrintFont;
  bool FUseEditorFontForPrinting = true;
  QPointer<QMenu> FOffsetPopupMenu;
  bool FZoomOnWheel = true;

  QString FPendingBackup;  // backup name for the save in progress, empty for none
  bool FDragPending = false;
  bool FDragging = false;
  QPoint FDragOrigin;
  bool FMovedWithinControl = false;
  bool FDblClickSelection = false;
  int FLastPageCount = 0;
  int FWheelRemainder = 0;
};
