// Menu shortcuts reach their commands while an editor has the focus, and the editor keeps its own.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include "MainFixture.h"

using Shortcuts = MainWindowFixture;

TEST_F(Shortcuts, MenuShortcutsWorkFromInsideTheEditor) {
  QApplication::setActiveWindow(Main.get());
  Main->acFileNew->trigger();
  TVXHexEditorEx& ed = Active();
  ed.setFocus();
  ASSERT_TRUE(ed.hasFocus());
  QTest::keyClick(&ed, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(Main->EditorWindows().size(), 2);
}

TEST_F(Shortcuts, TheEditorKeepsCtrlZ) {
  QApplication::setActiveWindow(Main.get());
  Main->acFileNew->trigger();
  TVXHexEditorEx& ed = Active();
  ed.setFocus();
  const uint8_t b = 7;
  ed.AppendBuffer(&b, 1, QString(), true);
  QTest::keyClick(&ed, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(ed.DataSize(), 0);
}
