// Program start: the list-file hand-over and the opening of the handed-over files.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <memory>

#include "app/untHexFrm.h"
#include "app/untIniFile.h"
#include "app/untMain.h"
#include "common/ScriptedPrompts.h"
#include "common/TempDir.h"
#include "platform/SysUtils.h"

namespace {

void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QStringList Captions(const TfrmMain& frm) {
  QStringList r;
  for (TfrmDavAru* w : frm.EditorWindows()) r << w->windowTitle();
  return r;
}

class StartupTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDefaultSettings();
    ProcessCommandLine({});
  }
  void TearDown() override {
    Main.reset();
    FlushDeletes();
    ProcessCommandLine({});
  }

  QString WriteList(const QStringList& lines, const QByteArray& eol = "\r\n") {
    QByteArray text;
    for (const QString& l : lines) text += QFile::encodeName(l) + eol;
    return Dir.Write(QStringLiteral("list.txt"), text);
  }

  TfrmMain& ShowMain() {
    Main = std::make_unique<TfrmMain>(Dir.Path(QStringLiteral("zq.ini")));
    Main->resize(800, 600);
    Main->show();
    return *Main;
  }

  TempDir Dir;
  ScriptedPrompts Prompts;
  std::unique_ptr<TfrmMain> Main;
};

TEST(ListFileLines, SplitsAtEveryKindOfLineEnd) {
  struct Case {
    const char* text;
    QStringList lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\r\nb\rc\n\nd", {"a", "b", "c", "", "d"}},
      {"a\r\rb", {"a", "", "b"}},
      {"\n", {""}},
      {"a\r\n\r\n", {"a", ""}},
      {"\n\ra", {"", "", "a"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitListFileLines(QString::fromLatin1(c.text)), c.lines) << '"' << c.text << '"';
}

TEST(ListFileSort, IgnoresLetterCase) {
  QStringList l{"/d/b", "/d/C", "/d/a", "/D/B", "", "/d/A"};
  SortStartupList(l);
  // Equal names keep their order from the list.
  EXPECT_EQ(l, (QStringList{"", "/d/a", "/d/A", "/d/b", "/D/B", "/d/C"}));
}

TEST_F(StartupTest, TwelveFilesOpenTheFirstTenInCaseInsensitiveOrder) {
  const QStringList names{"hotel", "Alpha", "lima", "bravo", "India", "Charlie",
                          "foxtrot", "delta", "Kilo", "Echo", "juliett", "Golf"};
  QStringList paths;
  for (int i = 0; i < names.size(); ++i)
    paths << Dir.Write(names[i] + QStringLiteral(".bin"), TempDir::Pattern(10 + i, i));
  const QString list = WriteList(paths);

  ProcessCommandLine({list, QStringLiteral("0")});
  EXPECT_TRUE(StartedFromShell);
  EXPECT_FALSE(QFile::exists(list)) << "the program owns the list file and deletes it";
  ASSERT_EQ(StartupFiles.size(), 12);

  TfrmMain& frm = ShowMain();
  QStringList expected;
  for (const char* n : {"Alpha", "bravo", "Charlie", "delta", "Echo", "foxtrot", "Golf", "hotel", "India",
                        "juliett"})
    expected << Dir.Path(QString::fromLatin1(n) + QStringLiteral(".bin"));
  EXPECT_EQ(Captions(frm), expected);
  EXPECT_EQ(frm.WindowCount, 10);
  for (TfrmDavAru* w : frm.EditorWindows()) {
    EXPECT_EQ(w->davaruMain->FileName(), w->windowTitle());
    EXPECT_EQ(w->davaruMain->DataSize(), static_cast<int>(QFileInfo(w->windowTitle()).size()));
    EXPECT_TRUE(w->isVisible());
  }
  EXPECT_TRUE(Prompts.Log.isEmpty()) << Prompts.Log.join(u'\n').toStdString();
}

TEST_F(StartupTest, SkippedEntriesCountTowardsTen) {
  QStringList paths;
  for (int i = 0; i < 10; ++i)
    paths << Dir.Write(QStringLiteral("f%1.bin").arg(i), TempDir::Pattern(8, i));
  QDir(Dir.Path({})).mkdir(QStringLiteral("f3dir"));
  // Sorted: "", f0, f1, f2, f3.bin, f3dir (a folder), f3gone (missing), f4 ... f9.
  const QString list = WriteList(paths + QStringList{QString(), Dir.Path(QStringLiteral("f3gone.bin")),
                                                     Dir.Path(QStringLiteral("f3dir"))},
                                 "\n");
  ProcessCommandLine({list, QStringLiteral("0")});
  TfrmMain& frm = ShowMain();

  EXPECT_EQ(Captions(frm), paths.mid(0, 4) + paths.mid(4, 3));
  EXPECT_EQ(frm.WindowCount, 7);
  EXPECT_TRUE(Prompts.Log.isEmpty()) << Prompts.Log.join(u'\n').toStdString();
}

TEST_F(StartupTest, OtherCommandLinesOpenNothing) {
  const QString file = Dir.Write(QStringLiteral("a.bin"), "abc");
  const QString list = WriteList({file});
  const QStringList cases[] = {
      {},
      {file},
      {list},
      {list, QStringLiteral("1")},
      {list, QStringLiteral("00")},
      {list, QStringLiteral(" 0")},
      {list, QStringLiteral("0"), QStringLiteral("0")},
  };
  for (const QStringList& args : cases) {
    ProcessCommandLine(args);
    EXPECT_FALSE(StartedFromShell) << args.join(u' ').toStdString();
    EXPECT_TRUE(StartupFiles.isEmpty());
    EXPECT_TRUE(QFile::exists(list)) << "a list not handed over is left alone";
  }
  TfrmMain& frm = ShowMain();
  EXPECT_TRUE(frm.EditorWindows().isEmpty());
  EXPECT_EQ(frm.WindowCount, 0);
  EXPECT_TRUE(Prompts.Log.isEmpty());
}

TEST_F(StartupTest, MissingListFileIsReportedAndNothingOpens) {
  for (const QString& missing : {Dir.Path(QStringLiteral("nolist.txt")), Dir.Path({})}) {
    Prompts.Log.clear();
    ProcessCommandLine({missing, QStringLiteral("0")});
    EXPECT_TRUE(StartedFromShell);
    EXPECT_TRUE(StartupFiles.isEmpty());
    EXPECT_EQ(Prompts.Log, QStringList{QStringLiteral("message: Fehler beim Öffnen der markierten Dateien ...")});
  }
  TfrmMain& frm = ShowMain();
  EXPECT_TRUE(frm.EditorWindows().isEmpty());
}

TEST_F(StartupTest, ViewModeFollowsTheOpenReadOnlySetting) {
  const QString file = Dir.Write(QStringLiteral("a.bin"), "abc");
  for (bool readOnly : {true, false}) {
    ProcessCommandLine({WriteList({file}), QStringLiteral("0")});
    Main = std::make_unique<TfrmMain>(Dir.Path(QStringLiteral("zq.ini")));
    EXPECT_EQ(Main->miReadOnly->isChecked(), !DavAruOptions.OpenReadOnly);
    DavAruOptions.OpenReadOnly = readOnly;
    Main->show();
    ASSERT_EQ(Main->EditorWindows().size(), 1);
    EXPECT_EQ(Main->EditorWindows().first()->davaruMain->ReadOnlyView(), readOnly);
    Main.reset();
    FlushDeletes();
  }
}

TEST_F(StartupTest, AFileThatCannotBeLoadedIsReportedAndTheOthersStillOpen) {
  const QString a = Dir.Write(QStringLiteral("a.bin"), "abc");
  const QString c = Dir.Write(QStringLiteral("c.bin"), "cde");
  // Larger than any document may be: the load fails before memory is taken.
  const QString big = Dir.Path(QStringLiteral("b-huge.bin"));
  {
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(qint64(1) << 31));
  }
  ProcessCommandLine({WriteList({c, big, a}), QStringLiteral("0")});
  TfrmMain& frm = ShowMain();
  FlushDeletes();

  EXPECT_EQ(Captions(frm), (QStringList{a, c}));
  EXPECT_EQ(frm.MDIClient()->subWindowList().size(), 2) << "the failed window is gone";
  EXPECT_EQ(frm.WindowCount, 3);
  ASSERT_EQ(Prompts.Errors().size(), 1);
  EXPECT_TRUE(Prompts.Errors().first().contains(big)) << Prompts.Errors().first().toStdString();
  EXPECT_TRUE(Prompts.Messages().isEmpty());
}

}  // namespace
