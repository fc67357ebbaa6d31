#include "hexeditorex/VXHexEditorEx.h"
#include "platform/Forms.h"
#include "platform/Grids.h"

namespace {
const QString kNoFileName = QStringLiteral("Keinen Dateinamen angegeben");
const QString kCannotDeleteBackup = QStringLiteral("Kann voriges Backup nicht löschen %s. (%s)");
const QString kCannotCreateBackup = QStringLiteral("Kann Backup nicht erstellen %s. (%s)");
}  // namespace

TVXHexEditorEx::TVXHexEditorEx(QWidget* parent) : TCustomVXHexEditor(parent), FPrintFont(Font()) {}

TVXHexEditorEx::~TVXHexEditorEx() = default;

void TVXHexEditorEx::WriteBuffer(const void* Buffer, int Position, int Count) {
  TCustomVXHexEditor::WriteBuffer(Buffer, Position, Count);
  FModified = true;
}

void TVXHexEditorEx::Save() {
  if (!HasFileName()) throw EVXHexEditor(kNoFileName);
  SaveToFile(FileName(), true);
}

// Decides whether this save keeps a backup. The old file is not touched here: it is
// kept under the backup name only once the new contents are completely on disk.
void TVXHexEditorEx::BeforeSaveOverFile() {
  FPendingBackup.clear();
  TCustomVXHexEditor::BeforeSaveOverFile();
  // An empty extension would name the backup like the file itself: no backup then.
  if (!FCreateBackup || FBackupExtension.isEmpty() || !Modified() || !FileExists(FileName())) return;
  FPendingBackup = FileName() + FBackupExtension;
}

void TVXHexEditorEx::CommitSave(TReplacingFileStream& File) {
  const QString backup = FPendingBackup;
  FPendingBackup.clear();
  try {
    File.Commit(backup);
  } catch (const EBackupError& e) {
    const QString& text = e.Stage == EBackupError::bsReplace ? kCannotDeleteBackup : kCannotCreateBackup;
    throw EVXHexEditor(Format(text, {backup, SysErrorMessage(e.Error)}));
  }
}

bool TVXHexEditorEx::CanPaste() const { return false; }
bool TVXHexEditorEx::CopyToClipboard() { return false; }
bool TVXHexEditorEx::CutToClipboard() { return false; }
bool TVXHexEditorEx::PasteFromClipboard() { return false; }

void TVXHexEditorEx::KeyDown(int& Key, TShiftState Shift) {
  TCustomVXHexEditor::KeyDown(Key, Shift);
  const TShiftState ctrl{ssCtrl};
  const TShiftState shiftCtrl{ssShift, ssCtrl};
  switch (Key) {
    case 'A':
      if (Shift == ctrl) SelectAll();
      break;
    case 'C':
      if (Shift == ctrl && CanCopy()) CopyToClipboard();
      break;
    case 'X':
      if (Shift == ctrl && CanCut()) CutToClipboard();
      break;
    case 'V':
      if (Shift == ctrl && CanPaste()) PasteFromClipboard();
      break;
    case 'Z':
      if (Shift == ctrl && CanUndo()) Undo();
      else if (Shift == shiftCtrl && CanRedo()) Redo();
      break;
    default: break;
  }
}

bool TVXHexEditorEx::WantsShortcutKey(int Key, TShiftState Shift) const {
  const bool ctrl = Shift == TShiftState{ssCtrl};
  if (ctrl && (Key == 'A' || Key == 'C' || Key == 'X' || Key == 'V' || Key == 'Z')) return true;
  if (Key == 'Z' && Shift == TShiftState({ssShift, ssCtrl})) return true;
  return TCustomVXHexEditor::WantsShortcutKey(Key, Shift);
}

bool TVXHexEditorEx::DoMouseWheel(TShiftState Shift, int WheelDelta, QPoint MousePos) {
  const TShiftState mods = Shift * TShiftState{ssShift, ssCtrl, ssAlt};
  const bool ctrl = mods == TShiftState{ssCtrl};
  const bool shiftCtrl = mods == TShiftState{ssShift, ssCtrl};
  if (!FZoomOnWheel || (!ctrl && !shiftCtrl)) return false;
  // One step per notch of 120; finer wheels add up.
  FWheelRemainder += WheelDelta;
  bool handled = false;
  while (FWheelRemainder >= 120 || FWheelRemainder <= -120) {
    const bool forward = FWheelRemainder > 0;
    FWheelRemainder += forward ? -120 : 120;
    if (ctrl) {
      if (forward && BytesPerRow() < 256) SetBytesPerRow(BytesPerRow() + 1);
      else if (!forward && BytesPerRow() > 1) SetBytesPerRow(BytesPerRow() - 1);
      else return handled;
      InvalidateGrid();
    } else {
      TFont f = Font();
      if (forward) f.SetSize(f.Size() + 1);
      else if (f.Size() > 2) f.SetSize(f.Size() - 1);
      else return handled;
      SetFont(f);
    }
    handled = true;
  }
  return true;
}

void TVXHexEditorEx::DblClick() {
  const QPoint p = viewport()->mapFromGlobal(QueryCursorPos());
  const TGridCoord c = MouseCoord(p.x(), p.y());
  // Only a data cell names a byte; the gutter, the ruler and the separator do not.
  if (c.X >= 2 && c.Y >= 2 && c.X != HexColumnCount() + 2) {
    const int position = CellToPosition(c.X, c.Y);
    if (position >= 0 && position < DataSize()) {
      SelectRange(position, position);
      FDblClickSelection = true;
      ClearPendingPress();
    }
  }
  if (OnDblClick) OnDblClick(this);
}

void TVXHexEditorEx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomVXHexEditor::MouseDown(Button, Shift, X, Y);
  if (FOleDragDrop && Button == mbLeft && IsOverSelection(X, Y) && !Selecting()) {
    FDragPending = true;
    FDragging = false;
    FDragOrigin = QPoint(X, Y);
  }
}

void TVXHexEditorEx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FDblClickSelection) {
    ClearPendingPress();
    FDblClickSelection = false;
  }
  TCustomVXHexEditor::MouseUp(Button, Shift, X, Y);
  if (FDragging) {
    FDragging = false;
    FDragPending = false;
  }
}
