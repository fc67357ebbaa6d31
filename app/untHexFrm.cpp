#include "app/untHexFrm.h"

#include <QCloseEvent>

#include "app/untMain.h"
#include "app/untProgress.h"
#include "platform/SysUtils.h"

// The control as the editor window lays it out; the stored settings overwrite most of it.
void TfrmDavAru::ConfigureEditor(TVXHexEditorEx& ed) {
  ed.viewport()->setCursor(Qt::IBeamCursor);
  ed.SetTranslation(tkAsIs);
  ed.SetInsertMode(true);
  ed.SetFocusFrame(true);
  ed.Colors().SetCursorFrame(clNavy);
  ed.SetBackupExtension(QStringLiteral(".bak"));
  TVXHPrintOptions print;
  print.SetMarginLeft(20);
  print.SetMarginTop(15);
  print.SetMarginRight(25);
  print.SetMarginBottom(25);
  print.SetFlags({pfSelectionBold, pfMonochrome});
  ed.SetPrintOptions(print);
  TFont font = ed.Font();
  font.SetName(QStringLiteral("Courier New"));
  font.SetHeight(-15);
  ed.SetFont(font);
  ed.SetPrintFont(font);
  ed.SetUseEditorFontForPrinting(true);
  ed.SetBytesPerRow(16);
  ed.SetOffsetFormat(QStringLiteral("-!10:0x|"));
  ed.SetDrawGridLines(false);
  ed.SetShowRuler(true);
  TVXHColors& c = ed.Colors();
  c.SetBackground(clWindow);
  c.SetChangedBackground(0x00A8FFFF);
  c.SetChangedText(clMaroon);
  c.SetOffset(clBlack);
  c.SetOddColumn(clBlue);
  c.SetEvenColumn(clNavy);
  c.SetCurrentOffsetBackground(clBtnShadow);
  c.SetOffsetBackGround(clBtnFace);
  c.SetCurrentOffset(clBtnHighlight);
  c.SetGrid(clBtnFace);
}

TfrmDavAru::TfrmDavAru(TfrmMain* owner, QWidget* parent) : QMdiSubWindow(parent), FOwner(owner) {
  setObjectName(QStringLiteral("frmDavAru"));
  // Closing always destroys the window; it is never just hidden.
  setAttribute(Qt::WA_DeleteOnClose);
  davaruMain = new TVXHexEditorEx(this);
  davaruMain->setObjectName(QStringLiteral("davaruMain"));
  ConfigureEditor(*davaruMain);
  AttachProgress(*davaruMain);
  setWidget(davaruMain);

  svdlgHexFrm.Title = QStringLiteral("Speichern unter");
  svdlgHexFrm.OverwritePrompt = true;
}

void TfrmDavAru::closeEvent(QCloseEvent* e) {
  if (!FClosed) {
    TCloseAction action = caFree;
    try {
      FormClose(this, action);
    } catch (const std::exception& ex) {
      // A window whose close prompt failed keeps its document.
      action = caNone;
      HandleException(ex);
    } catch (...) {
      action = caNone;
      HandleUnknownException();
    }
    if (action == caNone) {
      e->ignore();
      return;
    }
    FClosed = true;
  }
  QMdiSubWindow::closeEvent(e);
}

void TfrmDavAru::Release() {
  FClosed = true;
  close();
}

void TfrmDavAru::FormClose(QObject* /*Sender*/, TCloseAction& Action) {
  Action = caFree;
  if (!davaruMain->Modified()) return;
  const QString question = QStringLiteral("Möchten Sie die Änderungen an \"") +
                           ExtractFileName(davaruMain->FileName()) + QStringLiteral("\" speichern?");
  bool keepOpen = false;
  switch (Prompts().ConfirmYesNoCancel(QStringLiteral("Bestätigung"), question)) {
    case mrYes:
      // Closing after a cancelled or failed save would drop the changes unasked.
      keepOpen = !SaveFile(*davaruMain, false);
      break;
    case mrNo:
      break;
    default:
      keepOpen = true;
      break;
  }
  if (keepOpen) {
    Action = caNone;
    if (FOwner) FOwner->CloseCancelled = true;
  }
}

bool TfrmDavAru::SaveFile(TVXHexEditorEx& Editor, bool SaveAs) {
  bool result = true;
  try {
    TProgressScope progress(Editor);
    if (Editor.Modified() && Editor.HasFileName() && !Editor.ReadOnlyFile() && !SaveAs) {
      Editor.Save();
    } else {
      QString name = svdlgHexFrm.FileName;
      if (Prompts().SaveFileDialog(svdlgHexFrm, name)) {
        svdlgHexFrm.FileName = name;
        Editor.SaveToFile(name, true);
      } else {
        result = false;
      }
    }
  } catch (const std::exception& e) {
    // The user has to learn that nothing was written, or the changes may be dropped unawares.
    Editor.SetModified(true);
    HandleException(e);
    result = false;
  } catch (...) {
    Editor.SetModified(true);
    HandleUnknownException();
    result = false;
  }
  return result;
}
