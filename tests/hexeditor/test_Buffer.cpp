// The document buffer: loading, saving, progress, access checks and positioned access.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include "common/TempDir.h"
#include "hexeditor/VXHexEditor.h"
#include "hexeditor/VXHUndoStorage.h"

namespace {

struct ProgressLog {
  std::vector<int> Percents;
  std::vector<TVXHProgressKind> Kinds;
  QStringList Names;
  int CancelAt = -1;  // index of the event that cancels

  void Attach(TCustomVXHexEditor& ed) {
    ed.OnLoadSaveProgress = [this](QObject*, TVXHProgressKind kind, const QString& name, uint8_t pct,
                                   bool& cancel) {
      Percents.push_back(pct);
      Kinds.push_back(kind);
      Names << name;
      if (CancelAt == static_cast<int>(Percents.size()) - 1) cancel = true;
    };
  }
};

QByteArray DocumentBytes(const TCustomVXHexEditor& ed) {
  return QByteArray(reinterpret_cast<const char*>(ed.DataPointer()), ed.DataSize());
}


QStringList FilesIn(const TempDir& dir) {
  return QDir(QFileInfo(dir.Path("x")).path()).entryList(QDir::Files | QDir::Hidden);
}

}  // namespace

TEST(Buffer, FreshControlIsAnEmptyUntitledDocument) {
  TCustomVXHexEditor ed;
  EXPECT_EQ(ed.DataSize(), 0);
  EXPECT_EQ(ed.FileName(), QStringLiteral("Untitled"));
  EXPECT_FALSE(ed.HasFileName());
  EXPECT_TRUE(ed.ReadOnlyFile());
  EXPECT_FALSE(ed.Modified());
  EXPECT_EQ(ed.MaxUndo(), 1048576);
  EXPECT_EQ(ed.MaskChar(), '.');
}

TEST(Buffer, ModifiedOfEmptyUntitledDocumentStaysFalse) {
  TCustomVXHexEditor ed;
  ed.CreateEmptyFile(QString());
  ASSERT_FALSE(QFile::exists(QStringLiteral("Untitled")));
  ed.SetModified(true);
  EXPECT_FALSE(ed.Modified());
}

struct ProgressCase {
  int Size;
  std::vector<int> Expected;
};

class ProgressEvents : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressEvents, LoadAndSaveReportTheSameSequence) {
  const ProgressCase& c = GetParam();
  TempDir dir;
  const QByteArray data = TempDir::Pattern(c.Size);
  const QString path = dir.Write(QStringLiteral("in.bin"), data);

  TCustomVXHexEditor ed;
  ProgressLog load;
  load.Attach(ed);
  ed.LoadFromFile(path);
  EXPECT_EQ(load.Percents, c.Expected);
  for (auto k : load.Kinds) EXPECT_EQ(k, pkLoad);
  for (const auto& n : load.Names) EXPECT_EQ(n, path);
  EXPECT_EQ(DocumentBytes(ed), data);
  EXPECT_TRUE(ed.HasFileName());
  EXPECT_EQ(ed.FileName(), path);

  ProgressLog save;
  save.Attach(ed);
  const QString out = dir.Path(QStringLiteral("out.bin"));
  ed.SaveToFile(out, true);
  EXPECT_EQ(save.Percents, c.Expected);
  for (auto k : save.Kinds) EXPECT_EQ(k, pkSave);
  EXPECT_EQ(TempDir::Read(out), data);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ProgressEvents,
    ::testing::Values(ProgressCase{0, {}}, ProgressCase{61440, {100}}, ProgressCase{61441, {0, 100}},
                      ProgressCase{10 * 61440, {0, 10, 20, 30, 40, 50, 60, 70, 80, 100}},
                      ProgressCase{3 * 61440, {0, 33, 100}}));

TEST(Buffer, EmptyFileCountsAsLoaded) {
  TempDir dir;
  const QString path = dir.Write(QStringLiteral("empty"), {});
  TCustomVXHexEditor ed;
  ed.LoadFromFile(path);
  EXPECT_EQ(ed.DataSize(), 0);
  EXPECT_TRUE(ed.HasFileName());
  EXPECT_FALSE(ed.ReadOnlyFile());
  EXPECT_EQ(ed.FileName(), path);
}

TEST(Buffer, MissingFileRaisesOpenErrorAndKeepsTheDocument) {
  TempDir dir;
  const QString keep = dir.Write(QStringLiteral("keep"), "abc");
  TCustomVXHexEditor ed;
  ed.LoadFromFile(keep);
  const QString missing = dir.Path(QStringLiteral("missing"));
  try {
    ed.LoadFromFile(missing);
    FAIL() << "no error";
  } catch (const EFOpenError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Kann Datei nicht öffnen: ") + missing + ".\r\n("))
        << e.Message().toStdString();
    EXPECT_TRUE(e.Message().endsWith(QStringLiteral(".)")));
  }
  EXPECT_EQ(DocumentBytes(ed), QByteArray("abc"));
  EXPECT_EQ(ed.FileName(), keep);
  EXPECT_TRUE(ed.HasFileName());
  EXPECT_TRUE(ed.ReadOnlyFile());  // written by the access check even though the load failed
}

TEST(Buffer, FolderIsNotAFile) {
  TempDir dir;
  TCustomVXHexEditor ed;
  EXPECT_THROW(ed.LoadFromFile(QFileInfo(dir.Path("x")).path()), EFOpenError);
}

TEST(Buffer, ReadOnlyFileLoadsButIsNotSavedOverItself) {
  TempDir dir;
  const QString exe = dir.UnwritableFile();
  if (exe.isEmpty()) GTEST_SKIP() << "no file here can be made unwritable";
  const QByteArray original = TempDir::Read(exe);
  TCustomVXHexEditor ed;
  ed.LoadFromFile(exe);
  EXPECT_TRUE(ed.ReadOnlyFile());
  EXPECT_EQ(ed.DataSize(), original.size());
  try {
    ed.SaveToFile(exe, true);
    FAIL() << "saved over a read-only file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Kann keine schreibgeschützte Datei speichern: ") + exe + ".");
  }
  EXPECT_EQ(TempDir::Read(exe), original);

  const QString copy = dir.Path(QStringLiteral("copy.bin"));
  ed.SaveToFile(copy, true);
  EXPECT_FALSE(ed.ReadOnlyFile());
  EXPECT_EQ(ed.FileName(), copy);
  EXPECT_EQ(TempDir::Read(copy), original);
}

TEST(Buffer, SaveUnderNameDifferingInCaseSkipsTheReadOnlyCheck) {
  TempDir dir;
  const QString readOnly = dir.UnwritableFile();
  if (readOnly.isEmpty()) GTEST_SKIP() << "no file here can be made unwritable";
  TCustomVXHexEditor ed;
  ed.LoadFromFile(readOnly);
  ASSERT_TRUE(ed.ReadOnlyFile());
  // Not the same string, so the check does not run; the save goes elsewhere.
  const QString other = dir.Path(QStringLiteral("UPPER.BIN"));
  EXPECT_NO_THROW(ed.SaveToFile(other, false));
  EXPECT_TRUE(ed.HasFileName());
  EXPECT_TRUE(ed.ReadOnlyFile());  // without Unmodify the document stays as it was
  EXPECT_EQ(ed.FileName(), readOnly);
}

TEST(Buffer, CancelledLoadLeavesAnEmptyDocumentWithThePreviousName) {
  TempDir dir;
  const QString first = dir.Write(QStringLiteral("first"), "12345");
  const QString big = dir.Write(QStringLiteral("big"), TempDir::Pattern(5 * 61440));
  TCustomVXHexEditor ed;
  ed.LoadFromFile(first);
  ProgressLog log;
  log.CancelAt = 1;
  log.Attach(ed);
  try {
    ed.LoadFromFile(big);
    FAIL() << "not cancelled";
  } catch (const EVXHexEditor& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Operation abgebrochen"));
  }
  EXPECT_EQ(ed.DataSize(), 0);
  EXPECT_EQ(ed.FileName(), first);
  EXPECT_FALSE(ed.HasFileName());
  EXPECT_EQ(ed.UndoStorage().Size(), 0);
  EXPECT_TRUE(ed.ProgressFileName().isEmpty());
  EXPECT_EQ(ed.RowCount(), 3);
}

TEST(Buffer, CancelledSaveLeavesTheOldFileAndTheDocumentUntouched) {
  TempDir dir;
  const QByteArray oldBytes = TempDir::Pattern(4 * 61440, 7);
  const QString target = dir.Write(QStringLiteral("target.bin"), oldBytes);
  const QByteArray newBytes = TempDir::Pattern(6 * 61440, 9);
  const QString source = dir.Write(QStringLiteral("source.bin"), newBytes);

  TCustomVXHexEditor ed;
  ed.LoadFromFile(source);
  ed.SetModified(true);
  ProgressLog log;
  log.CancelAt = 3;  // half way through
  log.Attach(ed);
  EXPECT_THROW(ed.SaveToFile(target, true), EVXHexEditor);
  EXPECT_EQ(TempDir::Read(target), oldBytes);
  EXPECT_EQ(ed.FileName(), source);
  EXPECT_TRUE(ed.Modified());
  EXPECT_TRUE(ed.ProgressFileName().isEmpty());
  EXPECT_EQ(DocumentBytes(ed), newBytes);
  // No scratch file is left behind.
  EXPECT_EQ(FilesIn(dir), QStringList({QStringLiteral("source.bin"), QStringLiteral("target.bin")}));
}

TEST(Buffer, SaveIntoMissingFolderFailsWithoutChanges) {
  TempDir dir;
  const QString source = dir.Write(QStringLiteral("s"), "xyz");
  TCustomVXHexEditor ed;
  ed.LoadFromFile(source);
  ed.SetModified(true);
  EXPECT_THROW(ed.SaveToFile(dir.Path(QStringLiteral("no/such/file")), true), EFCreateError);
  EXPECT_EQ(ed.FileName(), source);
  EXPECT_TRUE(ed.Modified());
}

TEST(Buffer, SaveOverFileKeepsPermissionsAndFollowsLinks) {
  TempDir dir;
  const QString target = dir.Write(QStringLiteral("t.bin"), "old");
  ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
  const QString link = dir.Path(QStringLiteral("link.bin"));
  ASSERT_TRUE(QFile::link(target, link));

  TCustomVXHexEditor ed;
  ed.LoadFromFile(dir.Write(QStringLiteral("new.bin"), "new contents"));
  ed.SaveToFile(link, true);
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(TempDir::Read(target), QByteArray("new contents"));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(Buffer, SuccessfulSaveClearsTheDocumentState) {
  TempDir dir;
  TCustomVXHexEditor ed;
  ed.LoadFromFile(dir.Write(QStringLiteral("a"), "data"));
  ed.SetModified(true);
  const QString out = dir.Path(QStringLiteral("b"));
  ed.SaveToFile(out, true);
  EXPECT_FALSE(ed.Modified());
  EXPECT_EQ(ed.FileName(), out);
  EXPECT_TRUE(ed.HasFileName());
  EXPECT_FALSE(ed.ReadOnlyFile());
}

TEST(Buffer, FileBeyondTwoGigabytesIsRefusedAndNothingChanges) {
  TempDir dir;
  const QString keep = dir.Write(QStringLiteral("keep"), "abc");
  const QString huge = dir.Path(QStringLiteral("huge"));
  {
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(qint64(1) << 31));  // sparse: costs no disk space
  }
  TCustomVXHexEditor ed;
  ed.LoadFromFile(keep);
  try {
    ed.LoadFromFile(huge);
    FAIL() << "loaded a file beyond the limit";
  } catch (const EVXHexEditor& e) {
    EXPECT_TRUE(e.Message().contains(QStringLiteral("zu groß"))) << e.Message().toStdString();
  }
  EXPECT_EQ(DocumentBytes(ed), QByteArray("abc"));
  EXPECT_EQ(ed.FileName(), keep);
}

TEST(Buffer, LoadFromStreamReadsFromTheStart) {
  TCustomVXHexEditor ed;
  TMemoryStream src;
  src.WriteBuffer("hello", 5);  // position now at the end
  ed.LoadFromStream(src);
  EXPECT_EQ(DocumentBytes(ed), QByteArray("hello"));

  TMemoryStream dst;
  dst.WriteBuffer("->", 2);
  ed.SaveToStream(dst);  // appends at the stream's position
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(dst.Memory()), int(dst.Size())), QByteArray("->hello"));
}

TEST(Buffer, PositionedAccessChecksBounds) {
  TCustomVXHexEditor ed;
  TMemoryStream src;
  src.WriteBuffer("0123456789", 10);
  ed.LoadFromStream(src);

  char buf[11] = {};
  EXPECT_NO_THROW(ed.ReadBuffer(buf, 6, 4));
  EXPECT_STREQ(buf, "6789");
  try {
    ed.ReadBuffer(buf, 6, 5);
    FAIL();
  } catch (const EVXHexEditor& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Aktuelle Position ist außerhalb der Grenzen"));
  }
  EXPECT_THROW(ed.ReadBuffer(buf, -1, 2), EVXHexEditor);
  EXPECT_THROW(ed.WriteBuffer("ab", 9, 2), EVXHexEditor);
  EXPECT_EQ(ed.DataSize(), 10);  // writes never grow the buffer

  ed.SetByte(9, 'X');
  EXPECT_EQ(ed.GetByte(9), 'X');
  EXPECT_THROW(ed.GetByte(10), EVXHexEditor);
}

TEST(Buffer, MoveDataHandlesOverlap) {
  TVXHMemoryStream s;
  s.WriteBuffer("abcdefgh", 8);
  s.MoveData(0, 2, 5);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(s.Memory()), 8), QByteArray("ababcdeh"));
  s.MoveData(2, 0, 6);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(s.Memory()), 8), QByteArray("abcdeheh"));
}

TEST(Buffer, ClearStorageEmptiesDataOrUndo) {
  TCustomVXHexEditor ed;
  TMemoryStream src;
  src.WriteBuffer("abc", 3);
  ed.LoadFromStream(src);
  ed.ClearStorage(true);
  EXPECT_EQ(ed.DataSize(), 3);
  ed.ClearStorage(false);
  EXPECT_EQ(ed.DataSize(), 0);
}

TEST(Buffer, WaitCursorStackNests) {
  TCustomVXHexEditor ed;
  ed.viewport()->setCursor(Qt::IBeamCursor);
  ed.PushWaitCursor();
  ed.PushWaitCursor();
  EXPECT_EQ(ed.viewport()->cursor().shape(), Qt::WaitCursor);
  ed.PopCursor();
  EXPECT_EQ(ed.viewport()->cursor().shape(), Qt::WaitCursor);
  ed.PopCursor();
  EXPECT_EQ(ed.viewport()->cursor().shape(), Qt::IBeamCursor);
  ed.PopCursor();  // empty stack: nothing happens
  EXPECT_EQ(ed.viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST(Buffer, TempFileNameIsEightHexDigitsInTheTempFolder) {
  const QString name = TCustomVXHexEditor::MakeTempFileName();
  EXPECT_TRUE(name.startsWith(GetTempDirectory()));
  const QString base = ExtractFileName(name);
  ASSERT_EQ(base.size(), 13);
  EXPECT_TRUE(base.endsWith(QStringLiteral(".VXHT")));
  for (QChar c : base.left(8)) EXPECT_TRUE(c.isDigit() || (c >= u'A' && c <= u'F')) << base.toStdString();
  EXPECT_FALSE(QFile::exists(name));
}

TEST(Buffer, ChangedNotifiesOnceAfterEvents) {
  TCustomVXHexEditor ed;
  int changes = 0, selections = 0;
  ed.OnChange = [&](QObject*) { ++changes; };
  ed.OnSelectionChanged = [&](QObject*) { ++selections; };
  ed.CreateEmptyFile(QStringLiteral("a"));
  ed.CreateEmptyFile(QStringLiteral("b"));
  EXPECT_EQ(changes, 2);
  QCoreApplication::sendPostedEvents(&ed);
  EXPECT_EQ(selections, 1);
}
