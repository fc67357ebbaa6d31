// The File commands with scripted dialogs, applying the settings, and load/save progress.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>
#include <memory>

#include "MainFixture.h"
#include "app/untHexFrm.h"
#include "app/untIniFile.h"
#include "app/untMain.h"
#include "app/untProgress.h"
#include "common/ScriptedPrompts.h"
#include "common/TempDir.h"

namespace {

class FileCommands : public MainWindowFixture {
protected:
  QStringList Captions() const {
    QStringList r;
    for (TfrmDavAru* w : Main->EditorWindows()) r << w->windowTitle();
    return r;
  }
  TfrmDavAru* Open(const QString& path) {
    Script.OpenNames.push_back(path);
    Main->acFileOpen->trigger();
    return Main->ActiveEditorWindow();
  }
};

}  // namespace

TEST_F(FileCommands, UntitledDocumentsAreNumberedByEveryWindowEverMade) {
  Main->acFileNew->trigger();
  Main->acFileNew->trigger();
  EXPECT_EQ(Captions(), QStringList({QStringLiteral("Unbenannt 1"), QStringLiteral("Unbenannt 2")}));
  Main->EditorWindows().first()->close();
  FlushDeletes();
  Main->acFileNew->trigger();
  EXPECT_EQ(Captions(), QStringList({QStringLiteral("Unbenannt 2"), QStringLiteral("Unbenannt 3")}));
  EXPECT_EQ(Active().FileName(), QStringLiteral("Unbenannt 3"));
}

TEST_F(FileCommands, NewAfterTwoOpenedFilesIsEditableInInsertMode) {
  DavAruOptions.OpenReadOnly = true;
  Open(Dir.Write(QStringLiteral("a.bin"), "aaaa"));
  EXPECT_TRUE(Active().ReadOnlyView());
  EXPECT_FALSE(Main->miReadOnly->isChecked());
  EXPECT_EQ(Main->LastFolder, QFileInfo(Dir.Path(QStringLiteral("a.bin"))).path() + "/");
  Open(Dir.Write(QStringLiteral("b.bin"), "bbbb"));
  Main->acFileNew->trigger();
  EXPECT_EQ(Main->ActiveEditorWindow()->windowTitle(), QStringLiteral("Unbenannt 3"));
  EXPECT_FALSE(Active().ReadOnlyView());
  EXPECT_TRUE(Active().InsertMode());
  EXPECT_TRUE(Main->miReadOnly->isChecked());
  EXPECT_EQ(Active().contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(FileCommands, CancelledOpenChangesNothing) {
  Script.OpenNames.push_back(QString());
  Main->acFileOpen->trigger();
  EXPECT_TRUE(Main->EditorWindows().isEmpty());
  EXPECT_TRUE(Main->LastFolder.isEmpty());
}

TEST_F(FileCommands, SaveOfAnUnchangedDocumentWritesNothing) {
  const QString path = Dir.Write(QStringLiteral("f.bin"), "same");
  Open(path);
  const QDateTime before = QFileInfo(path).lastModified();
  Main->acFileSave->trigger();
  EXPECT_EQ(QFileInfo(path).lastModified(), before);
  EXPECT_FALSE(QFile::exists(path + ".bak"));
  EXPECT_TRUE(Script.Log.filter(QStringLiteral("save:")).isEmpty());
}

TEST_F(FileCommands, SaveOverTheOwnFileKeepsABackup) {
  const QString path = Dir.Write(QStringLiteral("f.bin"), "before");
  Open(path);
  Active().ChangeByte(0, 'b', 'B', QString());
  Main->acFileSave->trigger();
  EXPECT_EQ(TempDir::Read(path), QByteArray("Before"));
  EXPECT_EQ(TempDir::Read(path + ".bak"), QByteArray("before"));
  EXPECT_FALSE(Active().Modified());
}

TEST_F(FileCommands, AWriteProtectedFileGoesThroughTheSaveDialog) {
  const QString readOnly = Dir.UnwritableFile();
  if (readOnly.isEmpty()) GTEST_SKIP() << "no file here can be made unwritable";
  Open(readOnly);
  ASSERT_TRUE(Active().ReadOnlyFile());
  Active().SetModified(true);
  Script.SaveNames.push_back(QString());  // cancelled
  Main->acFileSave->trigger();
  EXPECT_EQ(Script.Log.filter(QStringLiteral("save:")).size(), 1);
  EXPECT_EQ(Script.LastFileRequest.Filter, QStringLiteral("Alle Dateien (*.*)|*.*"));
  EXPECT_TRUE(Script.LastFileRequest.OverwritePrompt);

  const QString copy = Dir.Path(QStringLiteral("copy.bin"));
  Script.SaveNames.push_back(copy);
  const QString folder = Main->LastFolder;
  Main->acFileSave->trigger();
  EXPECT_TRUE(QFile::exists(copy));
  EXPECT_EQ(Main->ActiveEditorWindow()->windowTitle(), copy);
  EXPECT_EQ(Main->LastFolder, folder);  // saving does not move the start folder
}

TEST_F(FileCommands, AFailedSaveIsReportedAndKeepsTheDocumentChanged) {
  Main->acFileNew->trigger();
  const uint8_t b = 1;
  Active().AppendBuffer(&b, 1, QString(), true);
  Script.SaveNames.push_back(Dir.Path(QStringLiteral("no/such/folder/x.bin")));
  EXPECT_FALSE(Main->SaveDocument(false));
  EXPECT_EQ(Script.Errors().size(), 1);
  EXPECT_TRUE(Active().Modified());
}

TEST_F(FileCommands, CloseAllAsksEveryChangedDocumentDespiteACancel) {
  for (int i = 0; i < 3; ++i) {
    Main->acFileNew->trigger();
    const uint8_t b = static_cast<uint8_t>(i);
    Active().AppendBuffer(&b, 1, QString(), true);
  }
  Script.Confirmations = {mrNo, mrCancel, mrNo};  // last, middle, first
  Main->acCloseAll->trigger();
  FlushDeletes();
  EXPECT_EQ(Captions(), QStringList{QStringLiteral("Unbenannt 2")});
  EXPECT_EQ(Script.Log.filter(QStringLiteral("confirm:")).size(), 3);
}

TEST_F(FileCommands, CloseClosesTheActiveWindow) {
  Main->acFileNew->trigger();
  Main->acFileNew->trigger();
  Main->acClose->trigger();
  FlushDeletes();
  EXPECT_EQ(Captions(), QStringList{QStringLiteral("Unbenannt 1")});
}

TEST_F(FileCommands, SettingsReachTheNewEditor) {
  DavAruOptions.BytesPerRow = 8;
  DavAruOptions.HexLowerCase = true;
  DavAruOptions.HEFontStyleBold = true;
  DavAruOptions.HEFontSize = 14;
  DavAruOptions.BGColorChar = 0x00CCDDEE;
  DavAruOptions.OffsetFormat = QStringLiteral("a:|");
  DavAruOptions.CreateBackup = false;
  Main->acFileNew->trigger();
  TVXHexEditorEx& ed = Active();
  EXPECT_EQ(ed.BytesPerRow(), 8);
  EXPECT_TRUE(ed.HexLowerCase());
  EXPECT_TRUE(ed.Font().Style().Contains(fsBold));
  EXPECT_EQ(ed.Font().Size(), 14);
  EXPECT_EQ(ed.Colors().Background(), 0x00CCDDEE);
  EXPECT_EQ(ed.OffsetFormat(), QStringLiteral("a:|"));
  EXPECT_FALSE(ed.CreateBackup());
  EXPECT_EQ(ed.Colors().CursorFrame(), clNavy);  // not a setting

  DavAruOptions.HEFontStyleBold = false;  // styles are set exactly, not added to
  ed.SetTranslation(tkBCD);
  ApplySettings(ed);
  EXPECT_FALSE(ed.Font().Style().Contains(fsBold));
  EXPECT_EQ(ed.Translation(), tkBCD);
  EXPECT_TRUE(ed.InsertMode());
}

TEST_F(FileCommands, ARefusedSettingStopsAtItsStep) {
  DavAruOptions.BytesPerRow = 0;
  DavAruOptions.BytesPerColumn = 4;
  DavAruOptions.HexLowerCase = true;
  Main->acFileNew->trigger();
  ASSERT_EQ(Script.Errors(), QStringList{QStringLiteral("error: Ungültige Anzahl Bytes per Zeile")});
  ASSERT_EQ(Main->EditorWindows().size(), 1);
  TVXHexEditorEx& ed = Active();
  EXPECT_EQ(ed.BytesPerColumn(), 4);  // step 5 ran
  EXPECT_EQ(ed.BytesPerRow(), 16);
  EXPECT_FALSE(ed.HexLowerCase());  // step 7 did not
}

TEST(Progress, LargeLoadsShowADialogThatCancels) {
  TempDir dir;
  const QString path = dir.Write(QStringLiteral("big.bin"), TempDir::Pattern(20 * 61440));
  TfrmDavAru frm(nullptr);
  TVXHexEditorEx& ed = *frm.davaruMain;
  AttachProgress(ed, 0);
  bool sawDialog = false;
  // Press "Abbrechen" as soon as the dialog is up.
  QTimer timer;
  timer.setInterval(0);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (auto* dlg = ed.findChild<QProgressDialog*>()) {
      sawDialog = dlg->isVisible() && dlg->labelText().contains(QStringLiteral("big.bin"));
      dlg->cancel();
    }
  });
  timer.start();
  try {
    TProgressScope scope(ed);
    ed.LoadFromFile(path);
    FAIL() << "not cancelled";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Operation abgebrochen"));
  }
  timer.stop();
  EXPECT_TRUE(sawDialog);
  EXPECT_EQ(ed.DataSize(), 0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(ed.findChild<QProgressDialog*>(), nullptr);
}

TEST(Progress, SmallFilesShowNoDialog) {
  TempDir dir;
  const QString path = dir.Write(QStringLiteral("small.bin"), TempDir::Pattern(5 * 61440));
  TfrmDavAru frm(nullptr);
  TVXHexEditorEx& ed = *frm.davaruMain;
  bool sawDialog = false;
  ed.OnChange = [&](QObject*) { sawDialog |= ed.findChild<QProgressDialog*>() != nullptr; };
  ed.LoadFromFile(path);
  EXPECT_FALSE(sawDialog);
  EXPECT_EQ(ed.DataSize(), 5 * 61440);
}
