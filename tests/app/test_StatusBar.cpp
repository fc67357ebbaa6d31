// The idle handler's status bar and enabling, and the forwarding edit commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <memory>

#include "MainFixture.h"
#include "app/untHexFrm.h"
#include "app/untIniFile.h"
#include "app/untMain.h"
#include "common/ScriptedPrompts.h"
#include "common/TempDir.h"

namespace {

class StatusBar : public MainWindowFixture {
protected:
  QStringList Panels() {
    Main->ApplicationIdle();
    QStringList r;
    for (int i = 0; i < 5; ++i) r << Main->StatusPanel(i)->text();
    return r;
  }
  QAction* Bookmark(QMenu* menu, int tag) {
    for (QAction* a : menu->actions())
      if (a->data().toInt() == tag) return a;
    return nullptr;
  }
};

}  // namespace

TEST_F(StatusBar, WithoutEditorEverythingIsEmptyAndDocumentCommandsAreOff) {
  EXPECT_EQ(Panels(), QStringList({"", "", "", "", ""}));
  for (QAction* a : {Main->acCut, Main->acCopy, Main->acPaste, Main->acUndo, Main->acRedo, Main->acFileSave,
                     Main->acClose, Main->acPrint, Main->acSearch, Main->acGoto})
    EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
  EXPECT_TRUE(Main->acFileNew->isEnabled());
  EXPECT_TRUE(Main->acFileOpen->isEnabled());
}

TEST_F(StatusBar, AnEmptyNewDocument) {
  Main->acFileNew->trigger();
  EXPECT_EQ(Panels(), QStringList({QStringLiteral("Pos: 1"), QStringLiteral("Dateigröße: 0"),
                                   QStringLiteral("Einfg."), "", ""}));
  const uint8_t b[3] = {1, 2, 3};
  Active().AppendBuffer(b, 3, QString(), true);
  EXPECT_EQ(Panels().mid(1, 3), QStringList({QStringLiteral("Dateigröße: 3"), QStringLiteral("Einfg."),
                                              QStringLiteral("Geändert")}));
  EXPECT_TRUE(Main->acUndo->isEnabled());
  Main->acUndo->trigger();
  EXPECT_EQ(Active().DataSize(), 0);
  Main->ApplicationIdle();
  EXPECT_TRUE(Main->acRedo->isEnabled());
}

TEST_F(StatusBar, WriteProtectedFileInTheReadOnlyView) {
  DavAruOptions.OpenReadOnly = true;
  const QString readOnly = Dir.UnwritableFile();
  if (readOnly.isEmpty()) GTEST_SKIP() << "no file here can be made unwritable";
  Script.OpenNames.push_back(readOnly);
  Main->acFileOpen->trigger();
  EXPECT_EQ(Panels().at(4), QStringLiteral("[schreibgeschützt] [nur lesen]"));
  EXPECT_FALSE(Main->acReplace->isEnabled());
  EXPECT_TRUE(Main->acSearch->isEnabled());
  EXPECT_EQ(Panels().at(2), QStringLiteral("Übers."));  // no insert mode in a read-only view
  Main->miReadOnly->trigger();  // F2
  EXPECT_EQ(Panels().at(4), QStringLiteral("[schreibgeschützt]"));
  EXPECT_TRUE(Main->acReplace->isEnabled());
  EXPECT_EQ(Panels().at(2), QStringLiteral("Einfg."));
}

TEST_F(StatusBar, BookmarkMenuSetsInTheCharacterFieldAndToggles) {
  Main->acFileNew->trigger();
  const QByteArray data(64, 'x');
  Active().AppendBuffer(data.constData(), 64, QString(), false);
  Active().Seek(20, 0);
  Bookmark(Main->miSetBookmark, 3)->trigger();
  EXPECT_EQ(Active().Bookmark(2).Position, 20);
  EXPECT_TRUE(Active().Bookmark(2).InCharField);
  Active().Seek(0, 0);
  Bookmark(Main->miGotoBookmark, 13)->trigger();
  EXPECT_EQ(Active().CaretPosition(), 20);
  Bookmark(Main->miSetBookmark, 3)->trigger();
  EXPECT_EQ(Active().Bookmark(2).Position, -1);
}

TEST_F(StatusBar, HalfByteCommandsUseTheCaretNibble) {
  Main->acFileNew->trigger();
  const uint8_t b[2] = {0x12, 0x34};
  Active().AppendBuffer(b, 2, QString(), false);
  Active().SetInsertMode(false);
  const TGridCoord c = Active().PositionToCell(0, false);
  Active().MoveCurrentCell(c.X + 1, c.Y, true);  // second digit of byte 0
  Main->ApplicationIdle();  // enables the half-byte items
  Main->miEditInsertNibble->trigger();
  EXPECT_EQ(Active().GetByte(0), 0x10);
  EXPECT_EQ(Active().GetByte(1), 0x23);
  Active().SetCaretInCharField(true);  // the character field always means the first digit
  Main->miEditDeleteNibble->trigger();
  EXPECT_EQ(Active().GetByte(0), 0x02);
}
