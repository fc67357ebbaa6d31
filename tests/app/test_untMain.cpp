// The main window: its layout, the window menu, closing editor windows and ending the program.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <memory>

#include "app/untHexFrm.h"
#include "app/untIcons.h"
#include "app/untIniFile.h"
#include "app/untMain.h"
#include "common/ScriptedPrompts.h"
#include "common/TempDir.h"
#include "hexeditor/VXHMemoryStream.h"
#include "platform/SysUtils.h"

namespace {

void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Captions of a menu's entries, separators as "-".
QStringList Entries(const QWidget* menu) {
  QStringList r;
  for (QAction* a : menu->actions()) r << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return r;
}

class MainTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDefaultSettings();
    ProcessCommandLine({});
    Main = std::make_unique<TfrmMain>(Ini);
    Main->resize(800, 600);
  }
  void TearDown() override {
    Main.reset();
    FlushDeletes();
  }

  // An editor window holding a loaded file, marked as changed.
  TfrmDavAru* OpenChanged(const QString& name, const QByteArray& data = "some bytes") {
    const QString path = Dir.Write(name, data);
    TfrmDavAru* frm = Main->CreateEditorWindow();
    frm->setWindowTitle(path);
    frm->davaruMain->LoadFromFile(path);
    frm->davaruMain->SetModified(true);
    frm->show();
    return frm;
  }

  // A changed document that never had a file: saving it needs the save dialog.
  TfrmDavAru* OpenUntitledChanged(const QByteArray& data) {
    TfrmDavAru* frm = Main->CreateEditorWindow();
    TMemoryStream s;
    s.WriteBuffer(data.constData(), data.size());
    frm->davaruMain->LoadFromStream(s);
    frm->davaruMain->SetModified(true);
    frm->show();
    return frm;
  }

  QString Question(const QString& fileName) const {
    return QStringLiteral("confirm: Bestätigung|Möchten Sie die Änderungen an \"") + fileName +
           QStringLiteral("\" speichern?");
  }

  TempDir Dir;
  const QString Ini = Dir.Path(QStringLiteral("zq.ini"));
  ScriptedPrompts Prompts;
  std::unique_ptr<TfrmMain> Main;
};

// ---------------------------------------------------------------- layout

TEST_F(MainTest, WindowCaptionClientColourAndCreationState) {
  EXPECT_EQ(Main->windowTitle(), QStringLiteral("ZQ HEXEditor 1.1"));
  EXPECT_EQ(Main->MDIClient()->background().color(), QColor(0xF0, 0xF0, 0xB4));
  EXPECT_EQ(Main->IniFileName, Ini);
  EXPECT_EQ(Main->WindowCount, 0);
  EXPECT_FALSE(Main->ProgramFolder.isEmpty());
  EXPECT_FALSE(Main->ProgramFolder.endsWith(u'/'));
  EXPECT_EQ(Main->ProgramFolder + u'/', ExtractFilePath(QCoreApplication::applicationFilePath()));
  EXPECT_EQ(Main->miReadOnly->isChecked(), !DavAruOptions.OpenReadOnly);
  EXPECT_TRUE(Prompts.Log.isEmpty());
}

TEST_F(MainTest, ActionsHaveCaptionHintImageAndShortcut) {
  struct Row {
    const char* name;
    QString caption, hint;
    int image;
    const char* shortcut;
  } rows[] = {
      {"acFileNew", "&Neu", "Neue Datei", 0, "Ctrl+N"},
      {"acFileOpen", "Ö&ffnen", "Datei öffnen", 1, "Ctrl+O"},
      {"acFileSave", "&Speichern", "Datei speichern", 2, "Ctrl+S"},
      {"acFileSaveAs", "Speichern &unter ...", "Datei speichern unter", -1, ""},
      {"acClose", "S&chließen", "Datei schließen", -1, ""},
      {"acCloseAll", "Alle sc&hließen", "Alle Dateien schließen", -1, ""},
      {"acPrint", "&Drucken ...", "Drucken", 8, ""},
      {"acUndo", "&Rückgängig", "Rückgängig", 6, "Ctrl+Z"},
      {"acRedo", "&Widerrufen", "Widerrufen", 7, "Ctrl+Shift+Z"},
      {"acCut", "&Ausschneiden", "Ausschneiden", 3, "Ctrl+X"},
      {"acCopy", "&Kopieren", "Kopieren", 4, "Ctrl+C"},
      {"acPaste", "&Einfügen", "Einfügen", 5, "Ctrl+V"},
      {"acSelectAll", "Alles &markieren", "Alles markieren", -1, ""},
      {"acSearch", "&Suchen ...", "Suchen", 11, "Ctrl+F"},
      {"acSearchAgain", "&Weitersuchen", "Weitersuchen", 13, "F3"},
      {"acReplace", "Erset&zen ...", "Suchen/Ersetzen", 12, "Ctrl+Alt+R"},
      {"acGoto", "&Gehe zu ...", "Gehe zu", -1, "Ctrl+G"},
      {"acOptions", "&Optionen ...", "Einstellungen", 10, "Ctrl+P"},
  };
  ASSERT_EQ(Main->ActionList1.size(), static_cast<qsizetype>(std::size(rows)));
  for (const Row& r : rows) {
    auto* a = Main->findChild<QAction*>(QString::fromLatin1(r.name));
    ASSERT_NE(a, nullptr) << r.name;
    EXPECT_TRUE(Main->ActionList1.contains(a)) << r.name;
    EXPECT_EQ(a->text(), r.caption) << r.name;
    EXPECT_EQ(a->statusTip(), r.hint) << r.name;
    EXPECT_EQ(a->toolTip(), r.hint) << r.name;
    EXPECT_EQ(a->property("imageIndex").toInt(), r.image) << r.name;
    EXPECT_EQ(a->icon().isNull(), r.image < 0) << r.name;
    EXPECT_EQ(a->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(r.shortcut)) << r.name;
  }
}

TEST_F(MainTest, MenuItemsHaveCaptionShortcutStateAndTag) {
  struct Row {
    const char* name;
    QString caption;
    const char* shortcut;
    bool enabled;
    int tag;  // -1: none
  } rows[] = {
      {"miFilePrintSetup", "Drucker einrichten ...", "", true, -1},
      {"miFileExit", "&Beenden", "", true, -1},
      {"miEditInsertNibble", "Halbbyte einfügen", "Ctrl+I", false, -1},
      {"miEditDeleteNibble", "Halbbyte löschen", "Ctrl+D", false, -1},
      {"miOptionsWinExplorer", "&Windows-Explorer öffnen", "F6", true, -1},
      {"miReadOnly", "&Bearbeitungsmodus", "F2", true, -1},
      {"miOverlapped", "Ü&berlappend", "", true, -1},
      {"miWindowHorizontal", "&Horizontal anordnen", "", true, -1},
      {"miWindowVertical", "&Vertikal anordnen", "", true, -1},
      {"miWindowIconized", "Alle &verkleinern", "", true, -1},
      {"miWindowArrange", "Alle an&ordnen", "", true, -1},
      {"miHelpContent", "I&nhalt", "", true, -1},
      {"miHelpAsciiCodes", "&ASCII-Codes anzeigen", "", true, 1},
      {"miHelpAnsiCodes", "A&NSI-Codes anzeigen", "", true, 2},
      {"miHelpInfo", "&Info ...", "", true, -1},
  };
  for (const Row& r : rows) {
    auto* a = Main->findChild<QAction*>(QString::fromLatin1(r.name));
    ASSERT_NE(a, nullptr) << r.name;
    EXPECT_EQ(a->text(), r.caption) << r.name;
    EXPECT_EQ(a->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(r.shortcut)) << r.name;
    EXPECT_EQ(a->isEnabled(), r.enabled) << r.name;
    EXPECT_EQ(a->data().isValid() ? a->data().toInt() : -1, r.tag) << r.name;
  }
  EXPECT_TRUE(Main->miReadOnly->isCheckable());
  EXPECT_FALSE(Main->miFileLastFiles->menuAction()->isEnabled());
  EXPECT_FALSE(Main->miFileLastFolders->menuAction()->isEnabled());
  EXPECT_EQ(Main->miFileLastFiles->objectName(), QStringLiteral("miFileLastFiles"));
  EXPECT_EQ(Main->miFileLastFolders->objectName(), QStringLiteral("miFileLastFolders"));
  EXPECT_EQ(Main->miWindow->objectName(), QStringLiteral("miWindow"));
}

TEST_F(MainTest, MenusListTheirEntriesInOrder) {
  EXPECT_EQ(Entries(Main->mnuMain), (QStringList{"&Datei", "&Bearbeiten", "&Einstellungen", "&Lesezeichen",
                                                 "&Fenster", "&Hilfe"}));
  EXPECT_EQ(Entries(Main->miFile),
            (QStringList{"&Neu", "Ö&ffnen", "Letzte Dateien", "Letzte Ordner", "-", "&Speichern",
                         "Speichern &unter ...", "-", "S&chließen", "Alle sc&hließen", "-",
                         "Drucker einrichten ...", "&Drucken ...", "-", "&Beenden"}));
  EXPECT_EQ(Entries(Main->miEdit),
            (QStringList{"&Rückgängig", "&Widerrufen", "-", "&Ausschneiden", "&Kopieren", "&Einfügen",
                         "Alles &markieren", "-", "Halbbyte einfügen", "Halbbyte löschen", "-", "&Suchen ...",
                         "&Weitersuchen", "Erset&zen ...", "-", "&Gehe zu ..."}));
  EXPECT_EQ(Entries(Main->miOptions),
            (QStringList{"&Windows-Explorer öffnen", "&Bearbeitungsmodus", "&Optionen ..."}));
  EXPECT_EQ(Entries(Main->miBookmarks), (QStringList{"&Setzen", "&Gehe zu"}));
  EXPECT_EQ(Entries(Main->miWindow), (QStringList{"Ü&berlappend", "&Horizontal anordnen", "&Vertikal anordnen",
                                                  "Alle &verkleinern", "Alle an&ordnen"}));
  EXPECT_EQ(Entries(Main->miHelp), (QStringList{"I&nhalt", "-", "&ASCII-Codes anzeigen", "A&NSI-Codes anzeigen",
                                                "-", "&Info ..."}));
  // Entries naming an action are that action, so they show its image and shortcut.
  EXPECT_EQ(Main->miFile->actions().first(), Main->acFileNew);
  EXPECT_EQ(Main->miOptions->actions().last(), Main->acOptions);

  QStringList numbers;
  for (int i = 1; i <= 10; ++i) numbers << QString::number(i);
  EXPECT_EQ(Entries(Main->miSetBookmark), numbers);
  EXPECT_EQ(Entries(Main->miGotoBookmark), numbers);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(Main->miSetBookmark->actions()[i]->data().toInt(), i + 1);
    EXPECT_EQ(Main->miGotoBookmark->actions()[i]->data().toInt(), i + 11);
  }
}

TEST_F(MainTest, ToolbarStatusBarAndContextMenu) {
  QStringList tools;
  for (QAction* a : Main->tlbrMain->actions()) tools << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
  EXPECT_EQ(tools, (QStringList{"acFileNew", "acFileOpen", "acFileSave", "-", "acCut", "acPaste", "acCopy", "-",
                                "acSearch", "acSearchAgain", "acReplace", "-", "acUndo", "acRedo", "-", "acPrint",
                                "-", "acOptions"}));
  EXPECT_EQ(Main->tlbrMain->objectName(), QStringLiteral("tlbrMain"));

  EXPECT_EQ(Main->stbrMain->objectName(), QStringLiteral("stbrMain"));
  const int widths[] = {100, 130, 52, 52, 50};
  for (int i = 0; i < 5; ++i) {
    QLabel* p = Main->StatusPanel(i);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->parentWidget(), Main->stbrMain);
    EXPECT_EQ(p->minimumWidth(), widths[i]);
    EXPECT_EQ(p->maximumWidth(), widths[i]);
    EXPECT_TRUE(p->text().isEmpty());
  }
  EXPECT_EQ(Main->StatusPanel(5), nullptr);

  QStringList popup;
  for (QAction* a : Main->popmnuHedEdt->actions()) popup << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
  EXPECT_EQ(popup, (QStringList{"acUndo", "acRedo", "-", "acCut", "acCopy", "acPaste", "acSelectAll", "-",
                                "acSearch", "acGoto"}));
}

TEST(MainImages, EveryUsedImageIsPaintedInBothSizes) {
  for (int i = 0; i < MainImageCount; ++i) {
    for (int size : {16, 32}) {
      const QImage img = PaintMainImage(i, size).toImage();
      ASSERT_EQ(img.size(), QSize(size, size));
      int opaque = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) opaque += qAlpha(img.pixel(x, y)) > 0;
      if (i == iiUnused)
        EXPECT_EQ(opaque, 0);
      else
        EXPECT_GT(opaque, size * size / 8) << "image " << i << " at " << size;
    }
  }
  EXPECT_FALSE(ProgramIcon().isNull());
}

// ---------------------------------------------------------------- closing editor windows

TEST_F(MainTest, EndingAsksFromTheLastWindowAndStopsAtTheFirstCancel) {
  TfrmDavAru* first = OpenChanged(QStringLiteral("a.bin"));
  TfrmDavAru* middle = OpenChanged(QStringLiteral("b.bin"));
  QPointer<TfrmDavAru> last = OpenChanged(QStringLiteral("c.bin"));
  Main->show();
  QFile::remove(Ini);
  Prompts.Confirmations = {mrNo, mrCancel};

  EXPECT_FALSE(Main->close());
  FlushDeletes();
  EXPECT_EQ(Prompts.Log, (QStringList{Question("c.bin"), Question("b.bin")}));
  EXPECT_TRUE(last.isNull()) << "the window answered with Nein is destroyed";
  EXPECT_EQ(Main->EditorWindows(), (QList<TfrmDavAru*>{first, middle}));
  EXPECT_TRUE(first->davaruMain->Modified());
  EXPECT_TRUE(middle->davaruMain->Modified());
  EXPECT_TRUE(Main->CloseCancelled);
  EXPECT_TRUE(Main->isVisible());
  EXPECT_FALSE(QFile::exists(Ini)) << "settings are written only when the program ends";
  EXPECT_EQ(TempDir::Read(Dir.Path(QStringLiteral("c.bin"))), QByteArray("some bytes"));
}

TEST_F(MainTest, EndingClosesEveryWindowAndWritesTheSettings) {
  QPointer<TfrmDavAru> unchanged = Main->CreateEditorWindow();
  unchanged->show();
  QPointer<TfrmDavAru> changed = OpenChanged(QStringLiteral("a.bin"));
  Main->show();
  QFile::remove(Ini);
  Prompts.Confirmations = {mrNo};

  Main->miFileExit->trigger();
  FlushDeletes();
  EXPECT_FALSE(Main->isVisible());
  EXPECT_TRUE(unchanged.isNull());
  EXPECT_TRUE(changed.isNull());
  EXPECT_EQ(Prompts.Log, QStringList{Question("a.bin")}) << "an unchanged document is not asked about";
  EXPECT_TRUE(QFile::exists(Ini));
}

TEST_F(MainTest, YesSavesOverTheOwnFileAndCloses) {
  QPointer<TfrmDavAru> frm = OpenChanged(QStringLiteral("own.bin"), "0123");
  Prompts.Confirmations = {mrYes};
  EXPECT_TRUE(frm->close());
  FlushDeletes();
  EXPECT_TRUE(frm.isNull());
  EXPECT_EQ(Prompts.Log, QStringList{Question("own.bin")}) << "no save dialog for a document with its own file";
  EXPECT_EQ(TempDir::Read(Dir.Path(QStringLiteral("own.bin"))), QByteArray("0123"));
}

TEST_F(MainTest, YesWithoutAFileNameAsksForOneAndKeepsTheWindowWhenCancelled) {
  QPointer<TfrmDavAru> frm = OpenUntitledChanged("xyz");
  Prompts.Confirmations = {mrYes, mrYes};
  Prompts.SaveNames = {QString(), Dir.Path(QStringLiteral("new.bin"))};

  Main->CloseCancelled = false;
  EXPECT_FALSE(frm->close());
  EXPECT_FALSE(frm.isNull());
  EXPECT_FALSE(frm->isHidden());
  EXPECT_TRUE(frm->davaruMain->Modified());
  EXPECT_TRUE(Main->CloseCancelled) << "a cancelled save dialog cancels the closing";
  EXPECT_TRUE(Prompts.LastFileRequest.OverwritePrompt);
  EXPECT_TRUE(Prompts.LastFileRequest.Filter.isEmpty());

  EXPECT_TRUE(frm->close());
  FlushDeletes();
  EXPECT_TRUE(frm.isNull());
  EXPECT_EQ(TempDir::Read(Dir.Path(QStringLiteral("new.bin"))), QByteArray("xyz"));
  EXPECT_EQ(Prompts.Log.filter(QStringLiteral("save: ")).size(), 2);
  EXPECT_TRUE(Prompts.Errors().isEmpty());
}

TEST_F(MainTest, AFailedSaveIsReportedAndKeepsTheDocument) {
  // Over its own file, whose folder has gone away.
  const QString sub = Dir.Path(QStringLiteral("sub"));
  QDir().mkdir(sub);
  const QString path = Dir.Write(QStringLiteral("sub/doc.bin"), "data");
  QPointer<TfrmDavAru> own = Main->CreateEditorWindow();
  own->davaruMain->LoadFromFile(path);
  own->davaruMain->SetModified(true);
  own->show();
  QFile::remove(path);
  QDir().rmdir(sub);
  Prompts.Confirmations = {mrYes};
  EXPECT_FALSE(own->close());
  EXPECT_FALSE(own.isNull());
  EXPECT_TRUE(own->davaruMain->Modified());
  EXPECT_EQ(Prompts.Errors().size(), 1);

  // Through the dialog, to a folder that does not exist.
  TfrmDavAru* untitled = OpenUntitledChanged("abc");
  Prompts.SaveNames = {Dir.Path(QStringLiteral("missing/x.bin"))};
  EXPECT_FALSE(untitled->SaveFile(*untitled->davaruMain, true));
  EXPECT_TRUE(untitled->davaruMain->Modified());
  EXPECT_EQ(Prompts.Errors().size(), 2);
  EXPECT_FALSE(QFile::exists(Dir.Path(QStringLiteral("missing/x.bin"))));
}

TEST_F(MainTest, SaveAsUsesTheDialogEvenForADocumentWithItsOwnFile) {
  TfrmDavAru* frm = OpenChanged(QStringLiteral("a.bin"), "AB");
  const QString target = Dir.Path(QStringLiteral("b.bin"));
  Prompts.SaveNames = {target};
  EXPECT_TRUE(frm->SaveFile(*frm->davaruMain, true));
  EXPECT_EQ(TempDir::Read(target), QByteArray("AB"));
  EXPECT_EQ(frm->davaruMain->FileName(), target) << "the document now belongs to the new file";
  EXPECT_FALSE(frm->davaruMain->Modified());
  EXPECT_EQ(frm->windowTitle(), Dir.Path(QStringLiteral("a.bin"))) << "SaveFile leaves the caption alone";
}

TEST(MainSettings, AnUnwritableSettingsFileIsReportedAndTheProgramStillEnds) {
  SetDefaultSettings();
  TempDir dir;
  ScriptedPrompts prompts;
  const QString ini = dir.Path(QStringLiteral("no-such-folder/zq.ini"));
  {
    TfrmMain frm(ini);
    // Writing the defaults at creation fails: reported, the later creation steps skipped.
    EXPECT_EQ(prompts.Errors().size(), 1);
    EXPECT_NE(frm.MDIClient()->background().color(), QColor(0xF0, 0xF0, 0xB4));
    frm.show();
    prompts.Log.clear();
    EXPECT_TRUE(frm.close());
    ASSERT_EQ(prompts.Errors().size(), 1);
    EXPECT_TRUE(prompts.Errors().first().contains(QStringLiteral("kann nicht geschrieben werden")))
        << prompts.Errors().first().toStdString();
  }
  FlushDeletes();
}

// ---------------------------------------------------------------- window menu

class WindowMenuTest : public MainTest {
protected:
  void SetUp() override {
    MainTest::SetUp();
    Main->show();
    for (int i = 0; i < 3; ++i) {
      TfrmDavAru* frm = Main->CreateEditorWindow();
      frm->setWindowTitle(QStringLiteral("doc%1").arg(i));
      frm->show();
      Windows << frm;
    }
  }
  QRect Area() const { return Main->MDIClient()->viewport()->rect(); }
  QList<TfrmDavAru*> Windows;
};

TEST_F(WindowMenuTest, HorizontalStacksTheWindowsVerticalPutsThemSideBySide) {
  Main->miWindowHorizontal->trigger();
  EXPECT_EQ(Main->TileMode, tbHorizontal);
  int y = Area().top();
  for (TfrmDavAru* w : Windows) {
    EXPECT_EQ(w->geometry().left(), Area().left());
    EXPECT_EQ(w->width(), Area().width());
    EXPECT_EQ(w->geometry().top(), y);
    y = w->geometry().bottom() + 1;
  }
  EXPECT_EQ(y, Area().bottom() + 1);

  Main->miWindowVertical->trigger();
  EXPECT_EQ(Main->TileMode, tbVertical);
  int x = Area().left();
  for (TfrmDavAru* w : Windows) {
    EXPECT_EQ(w->geometry().top(), Area().top());
    EXPECT_EQ(w->height(), Area().height());
    EXPECT_EQ(w->geometry().left(), x);
    x = w->geometry().right() + 1;
  }
  EXPECT_EQ(x, Area().right() + 1);
}

TEST_F(WindowMenuTest, ManyWindowsTileInAGridWithoutOverlap) {
  for (int i = 3; i < 7; ++i) {
    TfrmDavAru* frm = Main->CreateEditorWindow();
    frm->show();
    Windows << frm;
  }
  for (QAction* mode : {Main->miWindowHorizontal, Main->miWindowVertical}) {
    mode->trigger();
    int covered = 0;
    for (int i = 0; i < Windows.size(); ++i) {
      EXPECT_TRUE(Area().contains(Windows[i]->geometry()));
      covered += Windows[i]->width() * Windows[i]->height();
      for (int j = i + 1; j < Windows.size(); ++j)
        EXPECT_FALSE(Windows[i]->geometry().intersects(Windows[j]->geometry())) << i << ' ' << j;
    }
    EXPECT_EQ(covered, Area().width() * Area().height());
  }
}

TEST_F(WindowMenuTest, MinimiseAllThenArrangeAndTileAroundTheIcons) {
  Main->miWindowIconized->trigger();
  for (TfrmDavAru* w : Windows) EXPECT_TRUE(w->isMinimized());

  Main->miWindowArrange->trigger();
  for (int i = 0; i < Windows.size(); ++i) {
    EXPECT_TRUE(Area().contains(Windows[i]->geometry()));
    EXPECT_EQ(Windows[i]->geometry().bottom(), Area().bottom()) << "icons line up along the bottom";
    for (int j = i + 1; j < Windows.size(); ++j)
      EXPECT_FALSE(Windows[i]->geometry().intersects(Windows[j]->geometry()));
  }

  // With one icon left, the two restored windows share the space above it.
  Windows[0]->showNormal();
  Windows[1]->showNormal();
  Main->miWindowHorizontal->trigger();
  EXPECT_FALSE(Windows[0]->geometry().intersects(Windows[2]->geometry()));
  EXPECT_FALSE(Windows[1]->geometry().intersects(Windows[2]->geometry()));
  EXPECT_EQ(Windows[1]->geometry().bottom() + 1, Windows[2]->geometry().top());
}

TEST_F(WindowMenuTest, CascadeAndTheListOfOpenWindows) {
  Main->miOverlapped->trigger();
  for (int i = 1; i < Windows.size(); ++i) {
    EXPECT_GT(Windows[i]->pos().x(), Windows[i - 1]->pos().x());
    EXPECT_GT(Windows[i]->pos().y(), Windows[i - 1]->pos().y());
  }

  Windows[1]->setWindowTitle(QStringLiteral("a&b"));
  Main->MDIClient()->setActiveSubWindow(Windows[1]);
  emit Main->miWindow->aboutToShow();
  const QStringList entries = Entries(Main->miWindow);
  ASSERT_EQ(entries.size(), 9);
  EXPECT_EQ(entries.mid(5), (QStringList{"-", "&1 doc0", "&2 a&&b", "&3 doc2"}));
  EXPECT_TRUE(Main->miWindow->actions()[7]->isChecked());

  Main->miWindow->actions()[8]->trigger();
  EXPECT_EQ(Main->ActiveEditorWindow(), Windows[2]);

  // The list is rebuilt, not appended to.
  Windows[0]->close();
  emit Main->miWindow->aboutToShow();
  EXPECT_EQ(Entries(Main->miWindow).mid(5), (QStringList{"-", "&1 a&&b", "&2 doc2"}));
}

}  // namespace
