// The program's start-up and its MDI main window, which owns every command.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "app/untFindDialog.h"
#include "app/untReplace.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class TfrmDavAru;
class TVXHexEditorEx;

// The files handed over on the command line, sorted.
extern QStringList StartupFiles;
// The program was started in the two-argument list-file form.
extern bool StartedFromShell;

// Reads the command line (the arguments without the program's own name). Only the form
// (list file, "0") is looked at: the list file is read into StartupFiles, sorted and deleted.
void ProcessCommandLine(const QStringList& params);
// Splits a list file's text at CR, LF or CRLF; empty lines are entries, a final line end is not.
QStringList SplitListFileLines(const QString& text);
// Sorts ascending, ignoring letter case, in the user's locale.
void SortStartupList(QStringList& list);

// Puts the stored settings onto a new editor control.
void ApplySettings(TVXHexEditorEx& editor);

int RunProgram(int argc, char** argv);

enum TTileMode : uint8_t { tbHorizontal, tbVertical };

class TfrmMain : public QMainWindow {
  Q_OBJECT
public:
  // settingsFile overrides the settings file next to the executable (tests use it).
  explicit TfrmMain(const QString& settingsFile = QString(), QWidget* parent = nullptr);
  ~TfrmMain() override;

  // ---- ActionList1
  QAction* acFileNew;
  QAction* acFileOpen;
  QAction* acFileSave;
  QAction* acFileSaveAs;
  QAction* acClose;
  QAction* acCloseAll;
  QAction* acPrint;
  QAction* acUndo;
  QAction* acRedo;
  QAction* acCut;
  QAction* acCopy;
  QAction* acPaste;
  QAction* acSelectAll;
  QAction* acSearch;
  QAction* acSearchAgain;
  QAction* acReplace;
  QAction* acGoto;
  QAction* acOptions;
  QList<QAction*> ActionList1;

  // ---- mnuMain
  QMenuBar* mnuMain;
  QMenu* miFile;
  QMenu* miFileLastFiles;
  QMenu* miFileLastFolders;
  QAction* miFilePrintSetup;
  QAction* miFileExit;
  QMenu* miEdit;
  QAction* miEditInsertNibble;
  QAction* miEditDeleteNibble;
  QMenu* miOptions;
  QAction* miOptionsWinExplorer;
  QAction* miReadOnly;
  QMenu* miBookmarks;
  QMenu* miSetBookmark;
  QMenu* miGotoBookmark;
  QMenu* miWindow;
  QAction* miOverlapped;
  QAction* miWindowHorizontal;
  QAction* miWindowVertical;
  QAction* miWindowIconized;
  QAction* miWindowArrange;
  QMenu* miHelp;
  QAction* miHelpContent;
  QAction* miHelpAsciiCodes;
  QAction* miHelpAnsiCodes;
  QAction* miHelpInfo;

  QMenu* popmnuHedEdt;
  QToolBar* tlbrMain;
  QStatusBar* stbrMain;

  // ---- state
  bool FirstSearch = false;
  QString LastSearchText;
  QString ProgramFolder;
  bool ShellExtensionRegistered = false;
  QString LastFolder;
  int WindowCount = 0;
  QString IniFileName;
  bool CloseCancelled = false;
  TTileMode TileMode = tbHorizontal;

  // ---- handlers
  void FormCreate(QObject* Sender);
  void FormShow(QObject* Sender);
  void FormCloseQuery(QObject* Sender, bool& CanClose);
  void FormClose(QObject* Sender, TCloseAction& Action);
  void miFileExitClick();
  void miOverlappedClick();
  void miWindowHorizontalClick();
  void miWindowVerticalClick();
  void miWindowIconizedClick();
  void miWindowArrangeClick();

  // ---- file commands
  TFileDialogRequest opndlgMain;
  TFileDialogRequest svdlgMain;
  void acFileNewExecute();
  void acFileOpenExecute();
  void acFileSaveExecute() { SaveDocument(false); }
  void acFileSaveAsExecute() { SaveDocument(true); }
  void acCloseExecute();
  void acCloseAllExecute();
  // Saves the active document; false when a dialog was cancelled or the save failed.
  bool SaveDocument(bool saveAs);
  // The editor context menu, for windows created by the file commands.
  void AttachContextMenu(TfrmDavAru& frm);

  // ---- status bar and edit commands
  void ApplicationIdle();
  void acUndoExecute();
  void acRedoExecute();
  void acCutExecute();
  void acCopyExecute();
  void acPasteExecute();
  void acSelectAllExecute();
  void miReadOnlyClick();
  void miBookmarkClick(QAction* Sender);
  void miEditInsertNibbleClick();
  void miEditDeleteNibbleClick();

  // ---- search, replace, go-to
  TFindRec FindRec;
  TReplaceRec ReplaceRec;
  // Runs the modal dialogs of these commands; empty runs them with exec(). Tests put in
  // one that fills and closes the dialog.
  TModalRunner RunDialog;
  void acSearchExecute();
  void acSearchAgainExecute();
  void acReplaceExecute();
  void acGotoExecute();

  // ---- MDI frame services
  QMdiArea* MDIClient() const { return FMDIClient; }
  // A new, still hidden editor window in the client area; counts towards WindowCount.
  TfrmDavAru* CreateEditorWindow();
  // The editor windows in creation order, without those already closing.
  QList<TfrmDavAru*> EditorWindows() const;
  TfrmDavAru* ActiveEditorWindow() const;
  // Lays the non-minimised editor windows out by TileMode.
  void Tile();
  // Lines the minimised editor windows up along the bottom of the client area;
  // returns the height their rows take.
  int ArrangeIcons();

  // The five panels of stbrMain, 0 to 4.
  QLabel* StatusPanel(int index) const;

protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void ConnectFileCommands();
  void ConnectEditCommands();
  TVXHexEditorEx* ActiveEditor() const;
  void UpdateWindowList();
  QList<QMdiSubWindow*> TileableWindows() const;

  QMdiArea* FMDIClient;
  QList<QLabel*> FStatusPanels;
  QList<QAction*> FWindowListActions;
  QString FSettingsFile;
  bool FShown = false;
};
