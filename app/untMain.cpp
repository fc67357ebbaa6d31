#include "app/untMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTranslator>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/untHexFrm.h"
#include "app/untIcons.h"
#include "app/untIniFile.h"
#include "app/untProgress.h"
#include "platform/Dialogs.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

QStringList StartupFiles;
bool StartedFromShell = false;

namespace {
constexpr TColor kClientColor = 0x00B4F0F0;
constexpr int kMaxStartupFiles = 10;
constexpr int kStatusPanelWidths[] = {100, 130, 52, 52, 50};
const QString kListFileError = QStringLiteral("Fehler beim Öffnen der markierten Dateien ...");

// Runs one handler of a menu command inside the error boundary.
template <typename F>
void connectGuarded(QAction* action, F&& fn) {
  QObject::connect(action, &QAction::triggered, action, [fn = std::forward<F>(fn)] { Guarded(fn); });
}
}  // namespace

// ---------------------------------------------------------------- program start

QStringList SplitListFileLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text.at(i);
    if (c != u'\r' && c != u'\n') continue;
    lines << text.mid(start, i - start);
    if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) lines << text.mid(start);
  return lines;
}

void SortStartupList(QStringList& list) {
  std::vector<std::pair<QString, QString>> keyed;
  keyed.reserve(list.size());
  for (const QString& s : list) keyed.emplace_back(s.toCaseFolded(), s);
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return QString::localeAwareCompare(a.first, b.first) < 0;
  });
  list.clear();
  for (auto& k : keyed) list << k.second;
}

void ProcessCommandLine(const QStringList& params) {
  StartedFromShell = false;
  StartupFiles.clear();
  if (params.size() != 2 || params.at(1) != QStringLiteral("0")) return;
  StartedFromShell = true;

  const QString& listFile = params.at(0);
  QFile file(listFile);
  if (!FileExists(listFile) || !file.open(QIODevice::ReadOnly)) {
    Prompts().ShowMessage(kListFileError);
    return;
  }
  QByteArray data = file.readAll();
  const bool readFailed = file.error() != QFileDevice::NoError;
  file.close();
  if (readFailed) {
    // The list stays where it is: it was not taken over.
    Prompts().ShowMessage(kListFileError);
    return;
  }
  if (data.startsWith("\xEF\xBB\xBF")) data.remove(0, 3);
  QStringList lines = SplitListFileLines(QFile::decodeName(data));
  SortStartupList(lines);
  StartupFiles = lines;
  DeleteFile(listFile);
}

// Every value goes through its property setter, in this order; a value the control refuses
// raises at its step and the later steps do not run.
void ApplySettings(TVXHexEditorEx& editor) {
  const TZQDavAruOptions& o = DavAruOptions;
  editor.SetDrawGridLines(o.DrawGridLines);
  editor.SetDrawGutter3D(o.Draw3DGutter);
  editor.SetShowRuler(o.ShowRuler);
  editor.SetMaskChar(o.MaskChar);
  editor.SetBytesPerColumn(o.BytesPerColumn);
  editor.SetBytesPerRow(o.BytesPerRow);
  editor.SetHexLowerCase(o.HexLowerCase);
  editor.SetBackupExtension(o.BackupExt);
  editor.SetCreateBackup(o.CreateBackup);

  TFont font = editor.Font();
  font.SetHeight(o.HEFontHeight);
  editor.SetFont(font);
  font.SetName(o.HEFontName);
  editor.SetFont(font);
  font.SetPitch(o.HEFontPitch >= fpDefault && o.HEFontPitch <= fpFixed ? static_cast<TFontPitch>(o.HEFontPitch)
                                                                        : fpDefault);
  editor.SetFont(font);
  font.SetSize(o.HEFontSize);  // after the height: the size decides
  editor.SetFont(font);
  TFontStyles style;
  if (o.HEFontStyleBold) style.Include(fsBold);
  if (o.HEFontStyleItalic) style.Include(fsItalic);
  if (o.HEFontStyleUnderline) style.Include(fsUnderline);
  if (o.HEFontStyleStrikeout) style.Include(fsStrikeOut);
  font.SetStyle(style);  // exactly the stored styles, not added to the current ones
  editor.SetFont(font);

  editor.SetOffsetFormat(o.OffsetFormat);
  TVXHColors& c = editor.Colors();
  c.SetOffset(o.ColorOffset);
  c.SetCurrentOffset(o.ColorActOffset);
  font.SetColor(o.ColorChar);
  editor.SetFont(font);
  c.SetEvenColumn(o.ColorEvenColumn);
  c.SetOddColumn(o.ColorOddColumn);
  c.SetChangedText(o.ColorChangedData);
  c.SetGrid(o.ColorGatter);
  c.SetOffsetBackGround(o.BGColorOffset);
  c.SetCurrentOffsetBackground(o.BGColorActOffset);
  c.SetBackground(o.BGColorChar);
  c.SetChangedBackground(o.BGColorChangedData);
}

int RunProgram(int argc, char** argv) {
  TApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZQ HEXEditor"));
  // Titles that end with the display name get nothing appended by the platform.
  QApplication::setApplicationDisplayName(QStringLiteral("ZQ HEXEditor 1.1"));
  QApplication::setWindowIcon(ProgramIcon());
  // Qt's own texts (standard dialogs, key names in menus) in German where Qt ships them.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                   QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTexts);

  Guarded([&] { ProcessCommandLine(QApplication::arguments().mid(1)); });
  TfrmMain frmMain;
  frmMain.showMaximized();
  return app.exec();
}

// ---------------------------------------------------------------- main window

TfrmMain::TfrmMain(const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent), FSettingsFile(settingsFile) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("ZQ HEXEditor 1.1"));
  // The window's default font: 8 points (11 pixels) of a plain sans serif face, which is what
  // makes the fixed status panel widths fit their texts.
  QFont uiFont;
  uiFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  uiFont.setStyleHint(QFont::SansSerif);
  uiFont.setPixelSize(11);
  setFont(uiFont);

  FMDIClient = new QMdiArea(this);
  FMDIClient->setObjectName(QStringLiteral("MDIClient"));
  FMDIClient->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FMDIClient->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(FMDIClient);

  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateStatusBar();

  popmnuHedEdt = new QMenu(this);
  popmnuHedEdt->setObjectName(QStringLiteral("popmnuHedEdt"));
  popmnuHedEdt->addAction(acUndo);
  popmnuHedEdt->addAction(acRedo);
  popmnuHedEdt->addSeparator();
  popmnuHedEdt->addAction(acCut);
  popmnuHedEdt->addAction(acCopy);
  popmnuHedEdt->addAction(acPaste);
  popmnuHedEdt->addAction(acSelectAll);
  popmnuHedEdt->addSeparator();
  popmnuHedEdt->addAction(acSearch);
  popmnuHedEdt->addAction(acGoto);
  ConnectFileCommands();
  ConnectEditCommands();

  // An error in one step ends the creation steps; the window is usable all the same.
  Guarded([this] { FormCreate(this); });
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::CreateActions() {
  auto make = [this](QAction*& member, const char* name, const QString& caption, const QString& hint,
                     int image, const QKeySequence& shortcut) {
    member = new QAction(caption, this);
    member->setObjectName(QString::fromLatin1(name));
    member->setStatusTip(hint);
    member->setToolTip(hint);
    member->setProperty("imageIndex", image);
    if (image >= 0) member->setIcon(MainImage(image));
    if (!shortcut.isEmpty()) member->setShortcut(shortcut);
    ActionList1 << member;
  };
  const QKeySequence none;
  make(acFileNew, "acFileNew", QStringLiteral("&Neu"), QStringLiteral("Neue Datei"), iiFileNew,
       QKeySequence(Qt::CTRL | Qt::Key_N));
  make(acFileOpen, "acFileOpen", QStringLiteral("Ö&ffnen"), QStringLiteral("Datei öffnen"), iiFileOpen,
       QKeySequence(Qt::CTRL | Qt::Key_O));
  make(acFileSave, "acFileSave", QStringLiteral("&Speichern"), QStringLiteral("Datei speichern"), iiFileSave,
       QKeySequence(Qt::CTRL | Qt::Key_S));
  make(acFileSaveAs, "acFileSaveAs", QStringLiteral("Speichern &unter ..."),
       QStringLiteral("Datei speichern unter"), -1, none);
  make(acClose, "acClose", QStringLiteral("S&chließen"), QStringLiteral("Datei schließen"), -1, none);
  make(acCloseAll, "acCloseAll", QStringLiteral("Alle sc&hließen"), QStringLiteral("Alle Dateien schließen"),
       -1, none);
  make(acPrint, "acPrint", QStringLiteral("&Drucken ..."), QStringLiteral("Drucken"), iiPrint, none);
  make(acUndo, "acUndo", QStringLiteral("&Rückgängig"), QStringLiteral("Rückgängig"), iiUndo,
       QKeySequence(Qt::CTRL | Qt::Key_Z));
  make(acRedo, "acRedo", QStringLiteral("&Widerrufen"), QStringLiteral("Widerrufen"), iiRedo,
       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  make(acCut, "acCut", QStringLiteral("&Ausschneiden"), QStringLiteral("Ausschneiden"), iiCut,
       QKeySequence(Qt::CTRL | Qt::Key_X));
  make(acCopy, "acCopy", QStringLiteral("&Kopieren"), QStringLiteral("Kopieren"), iiCopy,
       QKeySequence(Qt::CTRL | Qt::Key_C));
  make(acPaste, "acPaste", QStringLiteral("&Einfügen"), QStringLiteral("Einfügen"), iiPaste,
       QKeySequence(Qt::CTRL | Qt::Key_V));
  make(acSelectAll, "acSelectAll", QStringLiteral("Alles &markieren"), QStringLiteral("Alles markieren"), -1,
       none);
  make(acSearch, "acSearch", QStringLiteral("&Suchen ..."), QStringLiteral("Suchen"), iiSearch,
       QKeySequence(Qt::CTRL | Qt::Key_F));
  make(acSearchAgain, "acSearchAgain", QStringLiteral("&Weitersuchen"), QStringLiteral("Weitersuchen"),
       iiSearchAgain, QKeySequence(Qt::Key_F3));
  make(acReplace, "acReplace", QStringLiteral("Erset&zen ..."), QStringLiteral("Suchen/Ersetzen"), iiReplace,
       QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R));
  make(acGoto, "acGoto", QStringLiteral("&Gehe zu ..."), QStringLiteral("Gehe zu"), -1,
       QKeySequence(Qt::CTRL | Qt::Key_G));
  connectGuarded(acSearch, [this] { acSearchExecute(); });
  connectGuarded(acSearchAgain, [this] { acSearchAgainExecute(); });
  connectGuarded(acReplace, [this] { acReplaceExecute(); });
  connectGuarded(acGoto, [this] { acGotoExecute(); });
  make(acOptions, "acOptions", QStringLiteral("&Optionen ..."), QStringLiteral("Einstellungen"), iiOptions,
       QKeySequence(Qt::CTRL | Qt::Key_P));
}

void TfrmMain::CreateMenus() {
  mnuMain = menuBar();
  mnuMain->setObjectName(QStringLiteral("mnuMain"));

  auto menu = [this](QMenu* parentMenu, const char* name, const QString& caption) {
    QMenu* m = parentMenu ? parentMenu->addMenu(caption) : mnuMain->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  auto item = [this](QMenu* m, const char* name, const QString& caption, const QKeySequence& shortcut = {}) {
    QAction* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    m->addAction(a);
    return a;
  };

  miFile = menu(nullptr, "miFile", QStringLiteral("&Datei"));
  miFile->addAction(acFileNew);
  miFile->addAction(acFileOpen);
  miFileLastFiles = menu(miFile, "miFileLastFiles", QStringLiteral("Letzte Dateien"));
  miFileLastFiles->menuAction()->setEnabled(false);
  miFileLastFolders = menu(miFile, "miFileLastFolders", QStringLiteral("Letzte Ordner"));
  miFileLastFolders->menuAction()->setEnabled(false);
  miFile->addSeparator();
  miFile->addAction(acFileSave);
  miFile->addAction(acFileSaveAs);
  miFile->addSeparator();
  miFile->addAction(acClose);
  miFile->addAction(acCloseAll);
  miFile->addSeparator();
  miFilePrintSetup = item(miFile, "miFilePrintSetup", QStringLiteral("Drucker einrichten ..."));
  miFile->addAction(acPrint);
  miFile->addSeparator();
  miFileExit = item(miFile, "miFileExit", QStringLiteral("&Beenden"));
  connectGuarded(miFileExit, [this] { miFileExitClick(); });

  miEdit = menu(nullptr, "miEdit", QStringLiteral("&Bearbeiten"));
  miEdit->addAction(acUndo);
  miEdit->addAction(acRedo);
  miEdit->addSeparator();
  miEdit->addAction(acCut);
  miEdit->addAction(acCopy);
  miEdit->addAction(acPaste);
  miEdit->addAction(acSelectAll);
  miEdit->addSeparator();
  miEditInsertNibble = item(miEdit, "miEditInsertNibble", QStringLiteral("Halbbyte einfügen"),
                            QKeySequence(Qt::CTRL | Qt::Key_I));
  miEditInsertNibble->setEnabled(false);
  miEditDeleteNibble = item(miEdit, "miEditDeleteNibble", QStringLiteral("Halbbyte löschen"),
                            QKeySequence(Qt::CTRL | Qt::Key_D));
  miEditDeleteNibble->setEnabled(false);
  miEdit->addSeparator();
  miEdit->addAction(acSearch);
  miEdit->addAction(acSearchAgain);
  miEdit->addAction(acReplace);
  miEdit->addSeparator();
  miEdit->addAction(acGoto);

  miOptions = menu(nullptr, "miOptions", QStringLiteral("&Einstellungen"));
  miOptionsWinExplorer = item(miOptions, "miOptionsWinExplorer", QStringLiteral("&Windows-Explorer öffnen"),
                              QKeySequence(Qt::Key_F6));
  miReadOnly = item(miOptions, "miReadOnly", QStringLiteral("&Bearbeitungsmodus"), QKeySequence(Qt::Key_F2));
  miReadOnly->setCheckable(true);
  miOptions->addAction(acOptions);

  miBookmarks = menu(nullptr, "miBookmarks", QStringLiteral("&Lesezeichen"));
  miSetBookmark = menu(miBookmarks, "miSetBookmark", QStringLiteral("&Setzen"));
  miGotoBookmark = menu(miBookmarks, "miGotoBookmark", QStringLiteral("&Gehe zu"));
  for (int i = 1; i <= 10; ++i) {
    QAction* set = item(miSetBookmark, "", QString::number(i));
    set->setObjectName(QStringLiteral("miSetBookmark%1").arg(i));
    set->setData(i);
    QAction* go = item(miGotoBookmark, "", QString::number(i));
    go->setObjectName(QStringLiteral("miGotoBookmark%1").arg(i));
    go->setData(i + 10);
  }

  miWindow = menu(nullptr, "miWindow", QStringLiteral("&Fenster"));
  miOverlapped = item(miWindow, "miOverlapped", QStringLiteral("Ü&berlappend"));
  miWindowHorizontal = item(miWindow, "miWindowHorizontal", QStringLiteral("&Horizontal anordnen"));
  miWindowVertical = item(miWindow, "miWindowVertical", QStringLiteral("&Vertikal anordnen"));
  miWindowIconized = item(miWindow, "miWindowIconized", QStringLiteral("Alle &verkleinern"));
  miWindowArrange = item(miWindow, "miWindowArrange", QStringLiteral("Alle an&ordnen"));
  connectGuarded(miOverlapped, [this] { miOverlappedClick(); });
  connectGuarded(miWindowHorizontal, [this] { miWindowHorizontalClick(); });
  connectGuarded(miWindowVertical, [this] { miWindowVerticalClick(); });
  connectGuarded(miWindowIconized, [this] { miWindowIconizedClick(); });
  connectGuarded(miWindowArrange, [this] { miWindowArrangeClick(); });
  // The platform's list of open editor windows follows the five items.
  connect(miWindow, &QMenu::aboutToShow, this, [this] { Guarded([this] { UpdateWindowList(); }); });

  miHelp = menu(nullptr, "miHelp", QStringLiteral("&Hilfe"));
  miHelpContent = item(miHelp, "miHelpContent", QStringLiteral("I&nhalt"));
  miHelp->addSeparator();
  miHelpAsciiCodes = item(miHelp, "miHelpAsciiCodes", QStringLiteral("&ASCII-Codes anzeigen"));
  miHelpAsciiCodes->setData(1);
  miHelpAnsiCodes = item(miHelp, "miHelpAnsiCodes", QStringLiteral("A&NSI-Codes anzeigen"));
  miHelpAnsiCodes->setData(2);
  miHelp->addSeparator();
  miHelpInfo = item(miHelp, "miHelpInfo", QStringLiteral("&Info ..."));
}

void TfrmMain::CreateToolBar() {
  tlbrMain = addToolBar(QStringLiteral("tlbrMain"));
  tlbrMain->setObjectName(QStringLiteral("tlbrMain"));
  tlbrMain->setMovable(false);
  tlbrMain->setFloatable(false);
  tlbrMain->setIconSize(QSize(16, 16));
  tlbrMain->setToolButtonStyle(Qt::ToolButtonIconOnly);
  QPalette pal = tlbrMain->palette();
  pal.setColor(QPalette::Window, ColorToQColor(clMenu));
  tlbrMain->setPalette(pal);
  tlbrMain->setAutoFillBackground(true);
  // Paste stands before copy.
  for (QAction* a : {acFileNew, acFileOpen, acFileSave, static_cast<QAction*>(nullptr), acCut, acPaste, acCopy,
                     static_cast<QAction*>(nullptr), acSearch, acSearchAgain, acReplace,
                     static_cast<QAction*>(nullptr), acUndo, acRedo, static_cast<QAction*>(nullptr), acPrint,
                     static_cast<QAction*>(nullptr), acOptions}) {
    if (a)
      tlbrMain->addAction(a);
    else
      tlbrMain->addSeparator();
  }
}

void TfrmMain::CreateStatusBar() {
  stbrMain = statusBar();
  stbrMain->setObjectName(QStringLiteral("stbrMain"));
  for (int width : kStatusPanelWidths) {
    auto* panel = new QLabel(stbrMain);
    panel->setFixedWidth(width);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setIndent(2);  // the texts fill the fixed widths nearly to the edge
    stbrMain->addWidget(panel);
    FStatusPanels << panel;
  }
}

QLabel* TfrmMain::StatusPanel(int index) const {
  return index >= 0 && index < FStatusPanels.size() ? FStatusPanels.at(index) : nullptr;
}

// ---------------------------------------------------------------- creation, showing, ending

void TfrmMain::FormCreate(QObject* /*Sender*/) {
  ProgramFolder = ExtractFileDir(QCoreApplication::applicationFilePath());
  if (ProgramFolder.endsWith(u'/') || ProgramFolder.endsWith(u'\\')) ProgramFolder.chop(1);
  // (shell-extension registry check)
  FirstSearch = false;
  LastFolder.clear();
  WindowCount = 0;
  IniFileName =
      FSettingsFile.isEmpty() ? SettingsFilePath(QCoreApplication::applicationFilePath()) : FSettingsFile;
  ReadSettings(IniFileName);
  // (recent menus are loaded here)
  // (UseShellExtension follows the registry check here)
  miReadOnly->setChecked(!DavAruOptions.OpenReadOnly);
  if (auto* app = qobject_cast<TApplication*>(QCoreApplication::instance())) {
    QPointer<TfrmMain> self(this);
    app->OnIdle = [self] {
      if (self) self->ApplicationIdle();
    };
  }
  FMDIClient->setBackground(ColorToQColor(kClientColor));
}

void TfrmMain::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (FShown) return;
  FShown = true;
  Guarded([this] { FormShow(this); });
}

void TfrmMain::FormShow(QObject* /*Sender*/) {
  if (!StartedFromShell) return;
  const int n = std::min<int>(static_cast<int>(StartupFiles.size()), kMaxStartupFiles);
  for (int i = 0; i < n; ++i) {
    const QString path = StartupFiles.at(i);
    if (!FileExists(path)) continue;
    // (the path and its folder go to the recent menus here)
    // A file that cannot be loaded is reported; the others are opened all the same.
    Guarded([&] {
      TfrmDavAru* frm = CreateEditorWindow();
      try {
        frm->setWindowTitle(path);
        ApplySettings(*frm->davaruMain);
        frm->davaruMain->SetReadOnlyView(DavAruOptions.OpenReadOnly);
        TProgressScope progress(*frm->davaruMain);
        frm->davaruMain->LoadFromFile(path);
        frm->show();
      } catch (...) {
        frm->Release();
        throw;
      }
    });
  }
}

void TfrmMain::closeEvent(QCloseEvent* e) {
  bool canClose = true;
  try {
    FormCloseQuery(this, canClose);
  } catch (const std::exception& ex) {
    canClose = false;
    HandleException(ex);
  } catch (...) {
    canClose = false;
    HandleUnknownException();
  }
  if (!canClose) {
    e->ignore();
    return;
  }
  TCloseAction action = caFree;
  Guarded([&] { FormClose(this, action); });
  e->accept();
}

void TfrmMain::FormCloseQuery(QObject* /*Sender*/, bool& CanClose) {
  CloseCancelled = false;
  CanClose = true;
  const QList<TfrmDavAru*> windows = EditorWindows();
  for (qsizetype i = windows.size() - 1; i >= 0; --i) {
    QPointer<TfrmDavAru> frm = windows.at(i);
    if (!frm) continue;
    // A window that refused to close for any reason keeps the program open too:
    // ending now would destroy its unsaved document.
    const bool closed = frm->close();
    if (CloseCancelled || !closed) {
      CanClose = false;
      return;
    }
  }
}

void TfrmMain::FormClose(QObject* /*Sender*/, TCloseAction& Action) {
  // A settings file that cannot be written must not keep the program from ending:
  // the error is shown and the settings of this run are lost.
  Guarded([this] { WriteSettings(IniFileName); });
  // (the recent lists are saved here)
  Action = caFree;
}

void TfrmMain::miFileExitClick() { close(); }

// ---------------------------------------------------------------- editor windows

TfrmDavAru* TfrmMain::CreateEditorWindow() {
  auto* frm = new TfrmDavAru(this);
  FMDIClient->addSubWindow(frm);
  ++WindowCount;
  // New windows cascade from the top left, as MDI children are placed by default, and
  // start again at the top once the next step would push them out of the client area.
  const QSize area = FMDIClient->viewport()->size();
  const QSize size(std::max(320, area.width() * 3 / 4), std::max(200, area.height() * 3 / 4));
  const int step = std::max(16, frm->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frm));
  const int room = std::min(area.width() - size.width(), area.height() - size.height());
  const int positions = std::max(1, room / step + 1);
  const int offset = (FMDIClient->subWindowList().size() - 1) % positions * step;
  frm->resize(size);
  frm->move(offset, offset);
  return frm;
}

QList<TfrmDavAru*> TfrmMain::EditorWindows() const {
  QList<TfrmDavAru*> result;
  for (QMdiSubWindow* w : FMDIClient->subWindowList(QMdiArea::CreationOrder)) {
    auto* frm = qobject_cast<TfrmDavAru*>(w);
    if (frm && !frm->IsClosed()) result << frm;
  }
  return result;
}

TfrmDavAru* TfrmMain::ActiveEditorWindow() const {
  // The current window stays current while another program has the focus.
  auto* frm = qobject_cast<TfrmDavAru*>(FMDIClient->currentSubWindow());
  return frm && !frm->IsClosed() ? frm : nullptr;
}

void TfrmMain::UpdateWindowList() {
  for (QAction* a : FWindowListActions) {
    miWindow->removeAction(a);
    a->deleteLater();
  }
  FWindowListActions.clear();
  const QList<TfrmDavAru*> windows = EditorWindows();
  if (windows.isEmpty()) return;
  FWindowListActions << miWindow->addSeparator();
  TfrmDavAru* active = ActiveEditorWindow();
  int number = 1;
  for (TfrmDavAru* frm : windows) {
    QString caption = frm->windowTitle();
    caption.replace(u'&', QStringLiteral("&&"));
    const QString text = number <= 9 ? QStringLiteral("&%1 %2").arg(number).arg(caption)
                                     : QStringLiteral("%1 %2").arg(number).arg(caption);
    QAction* a = miWindow->addAction(text);
    a->setCheckable(true);
    a->setChecked(frm == active);
    QPointer<TfrmDavAru> target = frm;
    connect(a, &QAction::triggered, this, [this, target] {
      if (!target || target->IsClosed()) return;
      if (target->isMinimized()) target->showNormal();
      FMDIClient->setActiveSubWindow(target);
    });
    FWindowListActions << a;
    ++number;
  }
}

// ---------------------------------------------------------------- window menu

void TfrmMain::miOverlappedClick() { FMDIClient->cascadeSubWindows(); }

void TfrmMain::miWindowHorizontalClick() {
  TileMode = tbHorizontal;
  Tile();
}

void TfrmMain::miWindowVerticalClick() {
  TileMode = tbVertical;
  Tile();
}

void TfrmMain::miWindowIconizedClick() {
  const QList<TfrmDavAru*> windows = EditorWindows();
  for (qsizetype i = 0; i < windows.size(); ++i) {
    // Minimising one window makes another one active; fall back to any that is still open.
    TfrmDavAru* frm = ActiveEditorWindow();
    if (!frm || frm->isMinimized()) {
      frm = nullptr;
      for (TfrmDavAru* w : windows)
        if (!w->isMinimized()) {
          frm = w;
          break;
        }
    }
    if (!frm) break;
    frm->showMinimized();
  }
}

void TfrmMain::miWindowArrangeClick() { ArrangeIcons(); }

QList<QMdiSubWindow*> TfrmMain::TileableWindows() const {
  QList<QMdiSubWindow*> result;
  for (TfrmDavAru* frm : EditorWindows())
    if (frm->isVisible() && !frm->isMinimized()) result << frm;
  return result;
}

int TfrmMain::ArrangeIcons() {
  const QRect area = FMDIClient->viewport()->rect();
  int x = 0;
  int rowHeight = 0;
  int used = 0;
  int y = area.bottom() + 1;
  for (TfrmDavAru* frm : EditorWindows()) {
    if (!frm->isVisible() || !frm->isMinimized()) continue;
    const QSize size = frm->size();
    if (rowHeight == 0 || (x > 0 && x + size.width() > area.width())) {
      // Start a new row above the previous one.
      y -= rowHeight == 0 ? size.height() : rowHeight;
      used += rowHeight == 0 ? size.height() : rowHeight;
      rowHeight = size.height();
      x = 0;
    }
    frm->move(x, y);
    x += size.width();
  }
  return used;
}

void TfrmMain::Tile() {
  const QList<QMdiSubWindow*> windows = TileableWindows();
  for (QMdiSubWindow* w : windows)
    if (w->isMaximized()) w->showNormal();
  const int iconsHeight = ArrangeIcons();
  if (windows.isEmpty()) return;
  QRect area = FMDIClient->viewport()->rect();
  area.setBottom(area.bottom() - iconsHeight);

  // Horizontal: the windows lie one above the other (in columns once there are many);
  // vertical: side by side (in rows once there are many).
  const int n = static_cast<int>(windows.size());
  const int bands = n < 4 ? 1 : static_cast<int>(std::sqrt(static_cast<double>(n)));
  const int perBand = n / bands;
  const int extra = n % bands;  // the last bands take one window more
  const bool horizontal = TileMode == tbHorizontal;
  const int across = horizontal ? area.width() : area.height();
  const int along = horizontal ? area.height() : area.width();
  int k = 0;
  for (int b = 0; b < bands; ++b) {
    const int count = perBand + (b >= bands - extra ? 1 : 0);
    const int a0 = across * b / bands;
    const int a1 = across * (b + 1) / bands;
    for (int j = 0; j < count; ++j) {
      const int l0 = along * j / count;
      const int l1 = along * (j + 1) / count;
      const QRect r = horizontal ? QRect(area.left() + a0, area.top() + l0, a1 - a0, l1 - l0)
                                 : QRect(area.left() + l0, area.top() + a0, l1 - l0, a1 - a0);
      windows.at(k++)->setGeometry(r);
    }
  }
}
