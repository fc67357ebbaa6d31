// Mouse selection, pointer shapes, auto-scroll, caret placement and bookmarks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "EditorFixture.h"
#include "platform/Forms.h"

namespace {

class Mouse : public ::testing::Test {
protected:
  TShiftState held;
  TCustomVXHexEditor ed;

  void SetUp() override {
    SetPhysicalShiftStateSource([this] { return held; });
    ed.resize(700, 300);
    ed.show();
    LoadBytes(ed, Counting(100));
    ed.setFocus();
  }
  void TearDown() override {
    SetPhysicalShiftStateSource(nullptr);
    SetCursorPosSource(nullptr);
  }

  QPoint CellPoint(int col, int row, int dx = 2) const {
    const QRect r = ed.CellRect(col, row);
    return QPoint(r.left() + dx, r.center().y());
  }
  QPoint HexPoint(int pos, bool second = false) const {
    const TGridCoord c = ed.PositionToCell(pos, false);
    return CellPoint(c.X + (second ? 1 : 0), c.Y);
  }
  void Press(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier) {
    held.Include(ssLeft);
    QTest::mousePress(ed.viewport(), Qt::LeftButton, m, p);
  }
  void Move(QPoint p) {
    QMouseEvent e(QEvent::MouseMove, p, ed.viewport()->mapToGlobal(p), Qt::NoButton,
                  held.Contains(ssLeft) ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ed.viewport(), &e);
  }
  void Release(QPoint p) {
    held.Exclude(ssLeft);
    QTest::mouseRelease(ed.viewport(), Qt::LeftButton, Qt::NoModifier, p);
  }
  void Click(QPoint p) {
    Press(p);
    Release(p);
  }
  std::string Caret() const {
    return std::to_string(ed.CellToPosition(ed.Col(), ed.Row())) +
           (ed.CaretInCharField() ? " char" : ed.CaretOnSecondNibble() ? ".1" : ".0");
  }
};

}  // namespace

TEST_F(Mouse, ClicksPlaceTheCaret) {
  Click(HexPoint(5, true));
  EXPECT_EQ(Caret(), "5.1");
  Click(CellPoint(ed.HexColumnCount() + 2, 3));  // the separator
  EXPECT_EQ(ed.Col(), ed.HexColumnCount() + 1);
  EXPECT_EQ(ed.Row(), 3);
  Click(CellPoint(ed.HexColumnCount() + 3 + 4, 4));
  EXPECT_EQ(Caret(), "36 char");
  Click(CellPoint(10, 8));  // row 8 holds bytes 96..99: byte 100 does not exist
  EXPECT_EQ(ed.CaretPosition(), 99);
}

TEST_F(Mouse, InsertModeMarginClickWrapsToTheNextRow) {
  const int last = ed.ColCount() - 1;
  const QRect r = ed.CellRect(last, 3);
  const QPoint margin(r.left() + ed.CharWidth() + 3, r.center().y());
  Click(margin);
  EXPECT_EQ(Caret(), "31 char");
  ed.SetInsertMode(true);
  Click(margin);
  EXPECT_EQ(Caret(), "32 char");
  const QRect n = ed.CellRect(ed.HexColumnCount() + 1, 3);
  Click(QPoint(n.left() + ed.CharWidth() + 2, n.center().y()));
  EXPECT_EQ(Caret(), "32.0");
}

TEST_F(Mouse, DragSelectsFromThePressedByte) {
  Press(HexPoint(10));
  Move(HexPoint(15));
  Move(HexPoint(20));
  Release(HexPoint(20));
  EXPECT_EQ(ed.SelLow(), 10);
  EXPECT_EQ(ed.SelHigh(), 20);
  EXPECT_EQ(ed.SelAnchor(), 10);
}

TEST_F(Mouse, ClickOnTheSelectionDropsItOnRelease) {
  ed.SelectRange(10, 20);
  Press(HexPoint(14));
  EXPECT_TRUE(ed.PendingPress());
  EXPECT_EQ(ed.SelHigh(), 20);  // kept while the press may start a drag
  Release(HexPoint(14));
  EXPECT_FALSE(ed.HasSelection());
  EXPECT_EQ(Caret(), "14.0");

  ed.SelectRange(10, 20);
  Press(HexPoint(14));
  Move(HexPoint(16));
  EXPECT_FALSE(ed.PendingPress());
  EXPECT_EQ(ed.SelLow(), 10);
  EXPECT_EQ(ed.SelHigh(), 20);
  Release(HexPoint(16));
}

TEST_F(Mouse, DoubleClickDoesNotStartADragSelection) {
  Click(HexPoint(7));
  held.Include(ssLeft);
  QTest::mouseDClick(ed.viewport(), Qt::LeftButton, Qt::NoModifier, HexPoint(7));
  EXPECT_FALSE(ed.Selecting());
  held.Exclude(ssLeft);
}

TEST_F(Mouse, PointerShapeFollowsTheArea) {
  ed.SelectRange(40, 50);
  const struct {
    QPoint At;
    Qt::CursorShape Shape;
  } cases[] = {
      {CellPoint(0, 3), Qt::ArrowCursor}, {HexPoint(45), Qt::ArrowCursor}, {HexPoint(5), Qt::IBeamCursor}};
  for (const auto& c : cases) {
    Move(c.At);
    EXPECT_EQ(ed.viewport()->cursor().shape(), c.Shape) << c.At.x() << "," << c.At.y();
  }
  ed.SetShowRuler(true);
  Move(QPoint(CellPoint(5, 0).x(), 2));
  EXPECT_EQ(ed.viewport()->cursor().shape(), Qt::ArrowCursor);
  held.Include(ssLeft);
  Move(HexPoint(45));  // a button held: always the I-beam
  EXPECT_EQ(ed.viewport()->cursor().shape(), Qt::IBeamCursor);
  held.Exclude(ssLeft);
}

TEST_F(Mouse, AutoScrollRunsOnlyOverTheGrid) {
  ed.resize(700, 120);
  LoadBytes(ed, Counting(4096));
  Press(HexPoint(0));
  ASSERT_EQ(ed.GridState(), gsSelecting);
  const int row = ed.Row();
  // Over the partly visible bottom row: scrolls.
  const int bottomY = ed.viewport()->height() - 2;
  QPoint over = ed.viewport()->mapToGlobal(QPoint(HexPoint(0).x(), bottomY));
  SetCursorPosSource([&] { return over; });
  QTest::qWait(200);
  EXPECT_GT(ed.Row(), row);
  // Below the control: no ticks reach the grid.
  const int after = ed.Row();
  QPoint outside = ed.viewport()->mapToGlobal(QPoint(HexPoint(0).x(), ed.height() + 50));
  SetCursorPosSource([&] { return outside; });
  QTest::qWait(200);
  EXPECT_EQ(ed.Row(), after);
  Release(HexPoint(0));
}

TEST_F(Mouse, ResizeParksTheCaretWhenItsCellIsHidden) {
  ed.CreateCaretShape();
  Click(HexPoint(95));
  ed.PlaceCaret();
  ASSERT_NE(ed.CaretPos(), QPoint(-50, -50));
  ed.resize(700, 60);
  QCoreApplication::sendPostedEvents(&ed);
  if (ed.CellRect(ed.Col(), ed.Row()).isEmpty()) EXPECT_EQ(ed.CaretPos(), QPoint(-50, -50));
  else EXPECT_EQ(ed.CaretPos(), ed.CellRect(ed.Col(), ed.Row()).topLeft());
}

TEST_F(Mouse, BookmarksToggleMoveAndJump) {
  int changes = 0;
  ed.OnBookmarkChanged = [&](QObject*) { ++changes; };
  ed.ToggleBookmark(3, 60, false);
  ed.ToggleBookmark(3, 60, false);
  EXPECT_EQ(ed.Bookmark(3).Position, -1);
  EXPECT_EQ(changes, 2);
  ed.ToggleBookmark(3, 60, false);
  ed.ToggleBookmark(3, 60, true);  // same place, other field: moves
  EXPECT_EQ(ed.Bookmark(3).Position, 60);
  EXPECT_TRUE(ed.Bookmark(3).InCharField);
  EXPECT_TRUE(ed.JumpToBookmark(3));
  EXPECT_EQ(Caret(), "60 char");
  try {
    ed.ToggleBookmark(10, 0, false);
    FAIL();
  } catch (const EVXHexEditor& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Fehlerhaftes Lesezeichen"));
  }
  ed.ToggleBookmark(5, 500, false);  // not checked against the data
  EXPECT_FALSE(ed.JumpToBookmark(5));
  EXPECT_EQ(ed.Bookmark(5).Position, -1);
  EXPECT_FALSE(ed.JumpToBookmark(7));
}

TEST_F(Mouse, DropMarkerFollowsThePointer) {
  EXPECT_EQ(ed.GetDropPosition(), -1);
  EXPECT_EQ(ed.ShowDropPosition(HexPoint(12).x(), HexPoint(12).y()), 12);
  EXPECT_EQ(ed.GetDropPosition(), 12);
  ed.SelectRange(10, 20);
  EXPECT_EQ(ed.ShowDropPosition(HexPoint(15).x(), HexPoint(15).y()), 10);  // onto the selection: its start
  ed.HideDropPosition();
  EXPECT_EQ(ed.GetDropPosition(), -1);
}
