// The editor window: one document in one extended hex editor control.
#pragma once

#include <QMdiSubWindow>

#include "hexeditorex/VXHexEditorEx.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"

class TfrmMain;

class TfrmDavAru : public QMdiSubWindow {
  Q_OBJECT
public:
  // The main window is told when the user cancels closing; it may be null.
  explicit TfrmDavAru(TfrmMain* owner, QWidget* parent = nullptr);

  TVXHexEditorEx* davaruMain;
  TFileDialogRequest svdlgHexFrm;

  // Asks about unsaved changes; caNone keeps the window open.
  void FormClose(QObject* Sender, TCloseAction& Action);
  // Saves the document (with saveAs always through the save dialog); true when it was saved.
  // A failed save is reported and leaves the document marked as changed.
  bool SaveFile(TVXHexEditorEx& Editor, bool SaveAs);

  static void ConfigureEditor(TVXHexEditorEx& Editor);

  // True once the window has agreed to close; it is on its way to destruction then.
  bool IsClosed() const { return FClosed; }
  // Closes without asking and destroys the window later (used when loading failed).
  void Release();

protected:
  void closeEvent(QCloseEvent* e) override;

private:
  TfrmMain* FOwner;
  bool FClosed = false;
};
