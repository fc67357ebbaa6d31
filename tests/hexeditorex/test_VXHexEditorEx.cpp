// The extended control: backups, shortcuts with exact shift states, wheel zoom, double click.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "common/TempDir.h"
#include "hexeditor/VXHExceptions.h"
#include "hexeditorex/VXHexEditorEx.h"
#include "platform/Forms.h"
#include "platform/Grids.h"

namespace {

class Probe : public TVXHexEditorEx {
public:
  using TVXHexEditorEx::DblClick;
  using TVXHexEditorEx::DoMouseWheel;
};

class Backup : public ::testing::Test {
protected:
  TempDir dir;
  Probe ed;
  QString file;
  void SetUp() override {
    file = dir.Write(QStringLiteral("data.bin"), "original");
    ed.LoadFromFile(file);
  }
  void Edit(uint8_t v) { ed.ChangeByte(0, ed.GetByte(0), v, QString()); }
  QStringList Files() const { return QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden); }
};

}  // namespace

TEST_F(Backup, UnmodifiedSaveMakesNone) {
  ed.Save();
  EXPECT_EQ(Files(), QStringList{QStringLiteral("data.bin")});
}

TEST_F(Backup, TheBackupHoldsThePreviousSave) {
  Edit('1');
  ed.Save();
  EXPECT_EQ(TempDir::Read(file + ".bak"), QByteArray("original"));
  Edit('2');
  ed.Save();
  EXPECT_EQ(TempDir::Read(file), QByteArray("2riginal"));
  EXPECT_EQ(TempDir::Read(file + ".bak"), QByteArray("1riginal"));
  EXPECT_EQ(Files(), QStringList({QStringLiteral("data.bin"), QStringLiteral("data.bin.bak")}));
}

TEST_F(Backup, ExtensionIsAppendedAsItIs) {
  ed.SetBackupExtension(QStringLiteral("old"));
  Edit('x');
  ed.Save();
  EXPECT_EQ(TempDir::Read(file + "old"), QByteArray("original"));
}

TEST_F(Backup, EmptyExtensionOrSwitchedOffMakesNone) {
  ed.SetBackupExtension(QString());
  Edit('x');
  ed.Save();
  ed.SetBackupExtension(QStringLiteral(".bak"));
  ed.SetCreateBackup(false);
  Edit('y');
  ed.Save();
  EXPECT_EQ(Files(), QStringList{QStringLiteral("data.bin")});
  EXPECT_EQ(TempDir::Read(file), QByteArray("yriginal"));
}

TEST_F(Backup, SaveAsNeverBacksUp) {
  Edit('x');
  ed.SaveToFile(dir.Path(QStringLiteral("other.bin")), true);
  EXPECT_EQ(Files(), QStringList({QStringLiteral("data.bin"), QStringLiteral("other.bin")}));
}

TEST_F(Backup, FailureLeavesFileAndOldBackupAsTheyWere) {
  // A folder where the backup should go cannot be replaced.
  ASSERT_TRUE(QDir().mkdir(file + ".bak"));
  Edit('x');
  try {
    ed.Save();
    FAIL() << "saved";
  } catch (const EVXHexEditor& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Kann voriges Backup nicht löschen ") + file + ".bak. ("))
        << e.Message().toStdString();
  }
  EXPECT_EQ(TempDir::Read(file), QByteArray("original"));
  EXPECT_TRUE(QFileInfo(file + ".bak").isDir());
  EXPECT_TRUE(ed.Modified());
  EXPECT_EQ(Files(), QStringList{QStringLiteral("data.bin")});  // no scratch files left
}

TEST(ExtendedControl, SaveWithoutFileNameFails) {
  TVXHexEditorEx ed;
  try {
    ed.Save();
    FAIL();
  } catch (const EVXHexEditor& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Keinen Dateinamen angegeben"));
  }
}

TEST(ExtendedControl, ConstructionValues) {
  TVXHexEditorEx ed;
  EXPECT_TRUE(ed.CreateBackup());
  EXPECT_EQ(ed.BackupExtension(), QStringLiteral(".bak"));
  EXPECT_FALSE(ed.OleDragDrop());
  EXPECT_TRUE(ed.SupportsOtherClipFormats());
  EXPECT_TRUE(ed.ZoomOnWheel());
  EXPECT_TRUE(ed.UseEditorFontForPrinting());
  EXPECT_EQ(ed.PrintFont(), ed.Font());
  EXPECT_EQ(ed.PrintOptions().MarginLeft(), 20);
  EXPECT_EQ(ed.PrintOptions().Margin(4), 25);
  EXPECT_TRUE(ed.PrintOptions().Flags().Contains(pfMonochrome));
  ed.SetPrintFont(ed.Font());
  EXPECT_FALSE(ed.UseEditorFontForPrinting());
  {
    auto* menu = new QMenu;
    ed.SetOffsetPopupMenu(menu);
    delete menu;
  }
  EXPECT_EQ(ed.OffsetPopupMenu(), nullptr);
}

TEST(ExtendedControl, WritesMarkTheDocumentModified) {
  TempDir dir;
  TVXHexEditorEx ed;
  ed.LoadFromFile(dir.Write(QStringLiteral("f"), "abc"));
  ed.SetByte(1, 'X');
  EXPECT_TRUE(ed.Modified());
}

TEST(ExtendedControl, ShortcutsNeedTheirExactShiftState) {
  TVXHexEditorEx ed;
  ed.show();
  TMemoryStream s;
  s.WriteBuffer("0123456789", 10);
  ed.LoadFromStream(s);
  ed.setFocus();
  QTest::keyClick(&ed, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(ed.HasSelection());
  QTest::keyClick(&ed, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(ed.SelectionCount(), 10);
  EXPECT_TRUE(ed.CanCopy());
  EXPECT_TRUE(ed.CanCut());
  ed.SetReadOnlyView(true);
  EXPECT_FALSE(ed.CanCut());
  ed.SetReadOnlyView(false);

  QTest::keyClick(&ed, Qt::Key_Z, Qt::ControlModifier);  // nothing to undo: nothing happens
  ed.ResetSelection(false);
  ed.ChangeByte(0, '0', 'Z', QString());
  QTest::keyClick(&ed, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(ed.GetByte(0), 'Z');
  QTest::keyClick(&ed, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(ed.GetByte(0), '0');
  QTest::keyClick(&ed, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(ed.GetByte(0), 'Z');
  QTest::keyClick(&ed, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing to redo
  EXPECT_EQ(ed.GetByte(0), 'Z');
}

TEST(ExtendedControl, WheelZoomsWithinItsLimits) {
  Probe ed;
  const TShiftState ctrl{ssCtrl}, shiftCtrl{ssShift, ssCtrl};
  EXPECT_TRUE(ed.DoMouseWheel(ctrl, 120, {}));
  EXPECT_EQ(ed.BytesPerRow(), 17);
  EXPECT_TRUE(ed.DoMouseWheel(ctrl, -240, {}));
  EXPECT_EQ(ed.BytesPerRow(), 15);
  ed.SetBytesPerRow(1);
  EXPECT_FALSE(ed.DoMouseWheel(ctrl, -120, {}));  // at the limit: the view scrolls
  ed.SetBytesPerRow(256);
  EXPECT_FALSE(ed.DoMouseWheel(ctrl, 120, {}));
  EXPECT_FALSE(ed.DoMouseWheel(TShiftState{}, 120, {}));
  EXPECT_FALSE(ed.DoMouseWheel(TShiftState{ssCtrl, ssAlt}, 120, {}));

  TFont f = ed.Font();
  f.SetSize(2);
  ed.SetFont(f);
  EXPECT_FALSE(ed.DoMouseWheel(shiftCtrl, -120, {}));
  EXPECT_TRUE(ed.DoMouseWheel(shiftCtrl, 120, {}));
  EXPECT_EQ(ed.Font().Size(), 3);
  ed.SetZoomOnWheel(false);
  EXPECT_FALSE(ed.DoMouseWheel(shiftCtrl, 120, {}));
}

TEST(ExtendedControl, WheelZoomRefusesOddRowsForSixteenBitText) {
  Probe ed;
  ed.SetUnicodeChars(true);
  EXPECT_THROW(ed.DoMouseWheel(TShiftState{ssCtrl}, 120, {}), EVXHexEditor);
  EXPECT_EQ(ed.BytesPerRow(), 16);
  EXPECT_THROW(ed.DoMouseWheel(TShiftState{ssCtrl}, -120, {}), EVXHexEditor);
  EXPECT_EQ(ed.BytesPerRow(), 16);
}

TEST(ExtendedControl, DoubleClickSelectsOneByteButNotFromTheGutter) {
  Probe ed;
  ed.resize(600, 300);
  ed.show();
  TMemoryStream s;
  s.WriteBuffer("0123456789abcdef0123", 20);
  ed.LoadFromStream(s);
  int dbl = 0;
  ed.OnDblClick = [&](QObject*) { ++dbl; };
  QPoint at;
  SetCursorPosSource([&] { return ed.viewport()->mapToGlobal(at); });
  at = ed.CellRect(0, 3).center();
  ed.DblClick();
  EXPECT_FALSE(ed.HasSelection());
  const TGridCoord c = ed.PositionToCell(18, false);
  at = ed.CellRect(c.X, c.Y).center();
  ed.DblClick();
  EXPECT_EQ(ed.SelLow(), 18);
  EXPECT_EQ(ed.SelHigh(), 18);
  EXPECT_EQ(dbl, 2);
  SetCursorPosSource(nullptr);
}
