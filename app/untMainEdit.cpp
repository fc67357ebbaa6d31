// The status bar, the enabled state of the commands, and the commands that forward to
// the active editor: undo, redo, clipboard, select all, edit mode, bookmarks, half-bytes.
#include <QAction>
#include <QLabel>
#include <QMenu>

#include "app/untHexFrm.h"
#include "app/untMain.h"
#include "platform/Dialogs.h"

TVXHexEditorEx* TfrmMain::ActiveEditor() const {
  TfrmDavAru* frm = ActiveEditorWindow();
  return frm ? frm->davaruMain : nullptr;
}

void TfrmMain::ConnectEditCommands() {
  auto bind = [this](QAction* action, void (TfrmMain::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
  };
  bind(acUndo, &TfrmMain::acUndoExecute);
  bind(acRedo, &TfrmMain::acRedoExecute);
  bind(acCut, &TfrmMain::acCutExecute);
  bind(acCopy, &TfrmMain::acCopyExecute);
  bind(acPaste, &TfrmMain::acPasteExecute);
  bind(acSelectAll, &TfrmMain::acSelectAllExecute);
  bind(miReadOnly, &TfrmMain::miReadOnlyClick);
  bind(miEditInsertNibble, &TfrmMain::miEditInsertNibbleClick);
  bind(miEditDeleteNibble, &TfrmMain::miEditDeleteNibbleClick);
  for (QMenu* menu : {miSetBookmark, miGotoBookmark})
    for (QAction* a : menu->actions())
      connect(a, &QAction::triggered, this, [this, a] { Guarded([&] { miBookmarkClick(a); }); });
}

// Runs whenever the event queue has become empty: reads state only, repaints nothing.
void TfrmMain::ApplicationIdle() {
  const int n = static_cast<int>(EditorWindows().size());
  TVXHexEditorEx* c = ActiveEditor();
  const bool any = n > 0;
  for (QAction* a : {acPrint, acClose, acCloseAll, acSearch, acSearchAgain, acGoto, acFileSave, acFileSaveAs,
                     acSelectAll, miEditInsertNibble, miEditDeleteNibble, miOverlapped, miWindowHorizontal,
                     miWindowVertical, miWindowIconized, miWindowArrange})
    a->setEnabled(any);
  miGotoBookmark->setEnabled(any);
  miSetBookmark->setEnabled(any);
  acReplace->setEnabled(any && c && !c->ReadOnlyView());
  acCut->setEnabled(any && c && c->CanCut());
  acCopy->setEnabled(any && c && c->CanCopy());
  acPaste->setEnabled(any && c && c->CanPaste());
  acUndo->setEnabled(any && c && c->CanUndo());
  acRedo->setEnabled(any && c && c->CanRedo());

  QString texts[5];
  if (c) {
    texts[0] = QStringLiteral("Pos: %1").arg(c->CaretPosition() + 1);
    texts[1] = QStringLiteral("Dateigröße: %1").arg(c->DataSize());
    texts[2] = c->InsertMode() ? QStringLiteral("Einfg.") : QStringLiteral("Übers.");
    if (c->Modified()) texts[3] = QStringLiteral("Geändert");
    if (c->ReadOnlyFile() && c->HasFileName()) texts[4] = QStringLiteral("[schreibgeschützt]");
    if (c->ReadOnlyView()) texts[4] += QStringLiteral(" [nur lesen]");
  }
  for (int i = 0; i < 5; ++i)
    if (StatusPanel(i)->text() != texts[i]) StatusPanel(i)->setText(texts[i]);
}

void TfrmMain::acUndoExecute() {
  if (TVXHexEditorEx* c = ActiveEditor()) c->Undo();
}

void TfrmMain::acRedoExecute() {
  if (TVXHexEditorEx* c = ActiveEditor()) c->Redo();
}

void TfrmMain::acCutExecute() {
  if (TVXHexEditorEx* c = ActiveEditor()) c->CutToClipboard();
}

void TfrmMain::acCopyExecute() {
  if (TVXHexEditorEx* c = ActiveEditor()) c->CopyToClipboard();
}

void TfrmMain::acPasteExecute() {
  if (TVXHexEditorEx* c = ActiveEditor()) c->PasteFromClipboard();
}

void TfrmMain::acSelectAllExecute() {
  if (TVXHexEditorEx* c = ActiveEditor()) c->SelectAll();
}

// The check mark belongs to the menu: it is toggled by the item (the action has already
// flipped it) and not brought in line with the window that becomes active.
void TfrmMain::miReadOnlyClick() {
  if (TVXHexEditorEx* c = ActiveEditor()) c->SetReadOnlyView(!miReadOnly->isChecked());
}

void TfrmMain::miBookmarkClick(QAction* Sender) {
  TVXHexEditorEx* c = ActiveEditor();
  if (!c) return;
  const int tag = Sender->data().toInt();
  if (tag >= 1 && tag <= 10) c->SetBookmarkEntry(tag - 1, {c->CaretPosition(), true});
  else if (tag >= 11 && tag <= 20) c->JumpToBookmark(tag - 11);
}

void TfrmMain::miEditInsertNibbleClick() {
  if (TVXHexEditorEx* c = ActiveEditor()) {
    const bool first = c->CaretInCharField() || c->Col() % 2 == 0;
    c->InsertNibble(c->CaretPosition(), first, QString());
  }
}

void TfrmMain::miEditDeleteNibbleClick() {
  if (TVXHexEditorEx* c = ActiveEditor()) {
    const bool first = c->CaretInCharField() || c->Col() % 2 == 0;
    c->DeleteNibble(c->CaretPosition(), first, QString());
  }
}
