// The File commands of the main window: new, open, save, save as, close, close all.
#include <QMdiSubWindow>
#include <QMenu>

#include "app/untHexFrm.h"
#include "app/untIniFile.h"
#include "app/untMain.h"
#include "app/untProgress.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

void TfrmMain::ConnectFileCommands() {
  svdlgMain.Filter = QStringLiteral("Alle Dateien (*.*)|*.*");
  svdlgMain.OverwritePrompt = true;
  opndlgMain.MustExist = true;
  auto bind = [this](QAction* action, void (TfrmMain::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
  };
  bind(acFileNew, &TfrmMain::acFileNewExecute);
  bind(acFileOpen, &TfrmMain::acFileOpenExecute);
  bind(acFileSave, &TfrmMain::acFileSaveExecute);
  bind(acFileSaveAs, &TfrmMain::acFileSaveAsExecute);
  bind(acClose, &TfrmMain::acCloseExecute);
  bind(acCloseAll, &TfrmMain::acCloseAllExecute);
}

void TfrmMain::AttachContextMenu(TfrmDavAru& frm) {
  TVXHexEditorEx* ed = frm.davaruMain;
  ed->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ed, &QWidget::customContextMenuRequested, this,
          [this, ed](const QPoint& pos) { popmnuHedEdt->exec(ed->mapToGlobal(pos)); });
}

void TfrmMain::acFileNewExecute() {
  TfrmDavAru* frm = CreateEditorWindow();
  const QString caption = QStringLiteral("Unbenannt ") + QString::number(WindowCount);
  frm->setWindowTitle(caption);
  AttachContextMenu(*frm);
  // The window is there even when a stored setting is refused half way.
  frm->show();
  TVXHexEditorEx& ed = *frm->davaruMain;
  ed.CreateEmptyFile(caption);
  ApplySettings(ed);
  // A new document is always editable and in insert mode, whatever the settings say.
  ed.SetReadOnlyView(false);
  ed.SetInsertMode(true);
  miReadOnly->setChecked(true);
  ed.setFocus();
}

void TfrmMain::acFileOpenExecute() {
  TFileDialogRequest request = opndlgMain;
  request.InitialDir = LastFolder;
  QString path;
  if (!Prompts().OpenFileDialog(request, path)) return;
  // (the path and its folder go to the recent menus here)
  LastFolder = ExtractFilePath(path);
  TfrmDavAru* frm = CreateEditorWindow();
  frm->setWindowTitle(path);
  AttachContextMenu(*frm);
  frm->show();
  TVXHexEditorEx& ed = *frm->davaruMain;
  ApplySettings(ed);
  {
    TProgressScope progress(ed);
    ed.LoadFromFile(path);
  }
  ed.SetReadOnlyView(DavAruOptions.OpenReadOnly);
  miReadOnly->setChecked(!DavAruOptions.OpenReadOnly);
  ed.setFocus();
}

bool TfrmMain::SaveDocument(bool saveAs) {
  TfrmDavAru* frm = ActiveEditorWindow();
  if (!frm) return false;
  TVXHexEditorEx& ed = *frm->davaruMain;
  if (!saveAs && !ed.Modified() && ed.HasFileName()) return true;  // nothing to write
  bool result = true;
  try {
    TProgressScope progress(ed);
    if (!ed.HasFileName() || ed.ReadOnlyFile() || saveAs) {
      TFileDialogRequest request = svdlgMain;
      request.InitialDir = LastFolder;
      result = false;
      QString name;
      if (Prompts().SaveFileDialog(request, name)) {
        // (the name and its folder go to the recent menus here)
        ed.SaveToFile(name, true);
        frm->setWindowTitle(name);
        result = true;
      }
    } else {
      ed.Save();
    }
  } catch (const std::exception& e) {
    // The document stays marked as changed, and the user learns that nothing was saved.
    ed.SetModified(true);
    HandleException(e);
    result = false;
  }
  return result;
}

void TfrmMain::acCloseExecute() {
  if (TfrmDavAru* frm = ActiveEditorWindow()) frm->close();
}

void TfrmMain::acCloseAllExecute() {
  const QList<TfrmDavAru*> windows = EditorWindows();
  // A cancelled prompt keeps its window and the others are still asked.
  for (qsizetype i = windows.size() - 1; i >= 0; --i) windows.at(i)->close();
}
