// Caret, selection and typing driven by real key events.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "EditorFixture.h"
#include "platform/Forms.h"

namespace {

// Keyboard state as the control sees it: Shift held while a test says so.
struct HeldKeys {
  bool Shift = false;
  HeldKeys() {
    SetPhysicalShiftStateSource([this] { return Shift ? TShiftState{ssShift} : TShiftState{}; });
  }
  ~HeldKeys() { SetPhysicalShiftStateSource(nullptr); }
};

class Keyboard : public ::testing::Test {
protected:
  HeldKeys held;
  TCustomVXHexEditor ed;

  void SetUp() override {
    ed.resize(700, 400);
    ed.show();
    LoadBytes(ed, Counting(40));
    ed.setFocus();
  }

  // "caret 5.1 hex" = byte 5, second nibble, hex field; "[2..5 @2]" = selection with anchor.
  std::string State() const {
    std::string s = "caret " + std::to_string(ed.CellToPosition(ed.Col(), ed.Row()));
    if (ed.CaretInCharField()) s += " char";
    else s += ed.CaretOnSecondNibble() ? ".1 hex" : ".0 hex";
    if (ed.HasSelection())
      s += " [" + std::to_string(ed.SelLow()) + ".." + std::to_string(ed.SelHigh()) + " @" +
           std::to_string(ed.SelAnchor()) + "]";
    return s;
  }

  void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(&ed, k, m); }
  void Type(const char* text) { QTest::keyClicks(&ed, QString::fromLatin1(text)); }
  void ShiftKey(Qt::Key k) {
    held.Shift = true;
    QTest::keyPress(&ed, Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyClick(&ed, k, Qt::ShiftModifier);
    QTest::keyRelease(&ed, Qt::Key_Shift, Qt::NoModifier);
    held.Shift = false;
  }
  void ToByte(int p, bool second = false) {
    const TGridCoord c = ed.PositionToCell(p, false);
    ed.MoveCurrentCell(c.X + (second ? 1 : 0), c.Y, true);
  }
  uint8_t Byte(int p) { return ed.GetByte(p); }
};

}  // namespace

TEST_F(Keyboard, OverwriteTypingGoesNibbleByNibble) {
  ed.SetByte(5, 0x3C);
  ToByte(5);
  Type("a");
  EXPECT_EQ(Byte(5), 0xAC);
  EXPECT_EQ(State(), "caret 5.1 hex");
  Type("1");
  EXPECT_EQ(Byte(5), 0xA1);
  EXPECT_EQ(State(), "caret 6.0 hex");
  EXPECT_TRUE(ed.HasChanged(5));
  EXPECT_EQ(ed.DataSize(), 40);
}

TEST_F(Keyboard, SwappedNibblesTypeTheLowHalfFirst) {
  ed.SetSwapNibbles(true);
  ed.SetByte(5, 0x3C);
  ToByte(5);
  Type("a");
  EXPECT_EQ(Byte(5), 0x3A);
}

TEST_F(Keyboard, InsertModeTypingInsertsAUnit) {
  ed.SetInsertMode(true);
  ToByte(5);
  Type("7");
  EXPECT_EQ(ed.DataSize(), 41);
  EXPECT_EQ(Byte(5), 0x70);
  EXPECT_EQ(Byte(6), 5);
  EXPECT_EQ(State(), "caret 5.1 hex");
  Type("2");
  EXPECT_EQ(Byte(5), 0x72);
  EXPECT_EQ(ed.DataSize(), 41);
  EXPECT_EQ(State(), "caret 6.0 hex");
}

TEST_F(Keyboard, InsertModeWithTwoByteUnits) {
  ed.SetInsertMode(true);
  ed.SetBytesPerUnit(2);
  ToByte(4);
  Type("7");
  EXPECT_EQ(ed.DataSize(), 42);
  EXPECT_EQ(Byte(4), 0x70);
  EXPECT_EQ(Byte(5), 0x00);
  EXPECT_EQ(Byte(6), 4);
}

TEST_F(Keyboard, CharacterFieldTypesThroughTheTranslation) {
  ToByte(3);
  Key(Qt::Key_Tab);
  EXPECT_EQ(State(), "caret 3 char");
  Type("A");
  EXPECT_EQ(Byte(3), 'A');
  EXPECT_EQ(State(), "caret 4 char");
  ed.SetTranslation(tkBCD);
  Type("A");
  EXPECT_EQ(Byte(4), 0xC1);
}

TEST_F(Keyboard, RejectedCharactersFireInvalidKey) {
  int invalid = 0;
  ed.OnInvalidKey = [&](QObject*) { ++invalid; };
  ToByte(2);
  Type("g");
  EXPECT_EQ(invalid, 1);
  EXPECT_EQ(Byte(2), 2);
  EXPECT_EQ(State(), "caret 2.0 hex");
  ed.SetTranslation(tkBCD);
  Key(Qt::Key_Tab);
  // The division sign has EBCDIC code 04h: not typeable.
  QKeyEvent divide(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0xF7)));
  QCoreApplication::sendEvent(&ed, &divide);
  EXPECT_EQ(invalid, 2);
  EXPECT_FALSE(ed.CanUndo());
}

TEST_F(Keyboard, ReadOnlyViewIgnoresTyping) {
  ed.SetReadOnlyView(true);
  ToByte(2);
  Type("ff");
  EXPECT_EQ(Byte(2), 2);
}

TEST_F(Keyboard, RightStopsAtTheEndOfTheData) {
  ToByte(39, true);
  Key(Qt::Key_Right);
  EXPECT_EQ(State(), "caret 39.1 hex");
  ed.SetInsertMode(true);
  Key(Qt::Key_Right);
  EXPECT_EQ(State(), "caret 40.0 hex");  // the append position
  Key(Qt::Key_Right);
  EXPECT_EQ(State(), "caret 40.0 hex");
  ed.SetInsertMode(false);  // off on the append position: back to the last byte
  EXPECT_EQ(ed.CaretPosition(), 39);
  EXPECT_EQ(ed.RowCount(), 5);
}

TEST_F(Keyboard, ShiftSelectsInOverwriteMode) {
  ToByte(2);
  ShiftKey(Qt::Key_Right);
  ShiftKey(Qt::Key_Right);
  ShiftKey(Qt::Key_Right);
  EXPECT_EQ(State(), "caret 5.0 hex [2..5 @2]");
  for (int i = 0; i < 4; ++i) ShiftKey(Qt::Key_Left);
  EXPECT_EQ(State(), "caret 1.0 hex [1..2 @2]");
  EXPECT_EQ(ed.SelectionStart(), 2);
  EXPECT_EQ(ed.SelectionEnd(), 1);
  Key(Qt::Key_Right);  // no Shift: the selection goes
  EXPECT_FALSE(ed.HasSelection());
}

TEST_F(Keyboard, ShiftSelectsBetweenBytesInInsertMode) {
  ed.SetInsertMode(true);
  ToByte(2);
  ShiftKey(Qt::Key_Right);
  ShiftKey(Qt::Key_Right);
  EXPECT_EQ(State(), "caret 4.0 hex [2..3 @2]");
  Key(Qt::Key_Left);
  EXPECT_FALSE(ed.HasSelection());
}

TEST_F(Keyboard, NavigationKeys) {
  ToByte(20);
  Key(Qt::Key_Home);
  EXPECT_EQ(State(), "caret 16.0 hex");
  Key(Qt::Key_End);
  EXPECT_EQ(State(), "caret 31.1 hex");
  Key(Qt::Key_Up);
  EXPECT_EQ(State(), "caret 15.1 hex");
  Key(Qt::Key_Up);  // already on the first row
  EXPECT_EQ(State(), "caret 15.1 hex");
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(State(), "caret 39.0 hex");
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(State(), "caret 0.0 hex");
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);  // no fourth row of data
  EXPECT_EQ(State(), "caret 32.0 hex");
  Key(Qt::Key_T, Qt::ControlModifier);
  EXPECT_EQ(State(), "caret 32 char");
  Key(Qt::Key_Left);
  EXPECT_EQ(State(), "caret 31 char");
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(State(), "caret 16.0 hex");
}

TEST_F(Keyboard, DeleteAndBackspace) {
  ToByte(5);
  Key(Qt::Key_Delete);  // overwrite mode: only Ctrl+Delete deletes
  EXPECT_EQ(ed.DataSize(), 40);
  Key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(ed.DataSize(), 39);
  EXPECT_EQ(Byte(5), 6);
  ed.SetInsertMode(true);
  ToByte(5);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(ed.DataSize(), 38);
  EXPECT_EQ(Byte(4), 6);
  EXPECT_EQ(ed.CaretPosition(), 4);
}

TEST_F(Keyboard, BookmarksWithCtrlShiftDigitAndCtrlDigit) {
  ToByte(17);
  Key(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(ed.Bookmark(3).Position, 17);
  ToByte(0);
  Key(Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(ed.CaretPosition(), 17);
  Key(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(ed.Bookmark(3).Position, -1);
}

TEST_F(Keyboard, InsertTogglesInsertMode) {
  Key(Qt::Key_Insert);
  EXPECT_TRUE(ed.InsertMode());
  Key(Qt::Key_Insert);
  EXPECT_FALSE(ed.InsertMode());
}

TEST_F(Keyboard, SelectionPropertyErrors) {
  EXPECT_THROW(ed.SetSelectionStart(40), EVXHexEditor);
  EXPECT_THROW(ed.SetSelectionStart(-1), EVXHexEditor);
  EXPECT_THROW(ed.SetSelectionEnd(40), EVXHexEditor);
  ed.SelectRange(3, 8);
  ed.SetSelectionEnd(-1);
  EXPECT_FALSE(ed.HasSelection());
  ed.SetSelectionStart(10);
  ed.SetSelectionEnd(4);
  EXPECT_EQ(State(), "caret 10.0 hex [4..10 @10]");
}

TEST_F(Keyboard, ManyMovesGiveOneNotification) {
  QCoreApplication::sendPostedEvents(&ed);
  int calls = 0;
  ed.OnSelectionChanged = [&](QObject*) { ++calls; };
  for (int i = 0; i < 8; ++i) Key(Qt::Key_Right);
  EXPECT_EQ(calls, 0);
  QCoreApplication::sendPostedEvents(&ed);
  EXPECT_EQ(calls, 1);
}

TEST(KeyboardFocus, TabLeavesTheControlWhenItDoesNotWantTabs) {
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  auto* ed = new TCustomVXHexEditor;
  auto* edit = new QLineEdit;
  layout->addWidget(ed);
  layout->addWidget(edit);
  form.show();
  LoadBytes(*ed, Counting(20));
  ed->setFocus();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(ed->hasFocus());
  ed->SetWantTabs(false);
  QTest::keyClick(ed, Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(ed->CaretInCharField());
  QTest::keyClick(ed, Qt::Key_Tab);
  EXPECT_TRUE(edit->hasFocus());
}

TEST(KeyboardEmpty, TypingIntoAnEmptyDocumentAppendsInInsertModeOnly) {
  TCustomVXHexEditor ed;
  ed.show();
  ed.setFocus();
  QTest::keyClicks(&ed, QStringLiteral("ab"));
  EXPECT_EQ(ed.DataSize(), 0);
  ed.SetInsertMode(true);
  QTest::keyClicks(&ed, QStringLiteral("abcd"));
  ASSERT_EQ(ed.DataSize(), 2);
  EXPECT_EQ(ed.GetByte(0), 0xAB);
  EXPECT_EQ(ed.GetByte(1), 0xCD);
  EXPECT_EQ(ed.CellToPosition(ed.Col(), ed.Row()), 2);  // on the append position
  QTest::keyClick(&ed, Qt::Key_Tab);
  QTest::keyClicks(&ed, QStringLiteral("Hi"));
  EXPECT_EQ(ed.DataSize(), 4);
  EXPECT_EQ(ed.GetByte(2), 'H');
  EXPECT_EQ(ed.GetByte(3), 'i');
  while (ed.CanUndo()) ed.Undo();
  EXPECT_EQ(ed.DataSize(), 0);
}
