// The grid base: geometry, current cell, scrolling, input translation and auto-scroll.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "platform/Forms.h"
#include "platform/Grids.h"

namespace {

// A grid that records what reaches its hooks.
class ProbeGrid : public TCustomGrid {
public:
  ProbeGrid() {
    resize(400, 300);
    SetDefaultRowHeight(20);
    SetColCount(20);
    SetRowCount(100);
    SetFixedCols(1);
    SetFixedRows(1);
    for (int c = 0; c < 20; ++c) SetColWidths(c, 50);
    SetColWidths(0, 30);
  }
  int Viewport(bool height) const { return height ? viewport()->height() : viewport()->width(); }

  bool RefuseSelect = false;
  std::vector<TGridCoord> Selected;
  int TopLeftChanges = 0;
  std::vector<std::pair<int, TShiftState>> Keys;
  std::vector<uint8_t> Chars;
  std::vector<std::string> Mouse;

  using TCustomGrid::StopSelecting;
  void Tick() { TimerTick(); }

protected:
  bool SelectCell(int col, int row) override {
    Selected.push_back({col, row});
    return !RefuseSelect;
  }
  void TopLeftChanged() override { ++TopLeftChanges; }
  void KeyDown(int& Key, TShiftState Shift) override {
    if (Key != VK_SHIFT && Key != VK_CONTROL && Key != VK_MENU) Keys.push_back({Key, Shift});
  }
  void KeyPress(uint8_t& Key) override { Chars.push_back(Key); }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    Mouse.push_back("down" + std::string(s.Contains(ssDouble) ? "2 " : " ") + std::to_string(x) + "," +
                    std::to_string(y));
    TCustomGrid::MouseDown(b, s, x, y);
  }
  void DblClick() override { Mouse.push_back("dblclick"); }
};

}  // namespace

TEST(Grid, CellRectanglesFollowWidthsHeightsAndScrolling) {
  ProbeGrid g;
  EXPECT_EQ(g.CellRect(0, 0), QRect(0, 0, 30, 20));
  EXPECT_EQ(g.CellRect(2, 3), QRect(30 + 50, 20 + 2 * 20, 50, 20));
  g.SetRowHeights(0, 5);
  EXPECT_EQ(g.CellRect(2, 3), QRect(80, 5 + 40, 50, 20));
  g.SetTopRow(10);
  EXPECT_TRUE(g.CellRect(2, 3).isEmpty());  // scrolled away
  EXPECT_EQ(g.CellRect(2, 10), QRect(80, 5, 50, 20));
  EXPECT_EQ(g.CellRect(0, 0), QRect(0, 0, 30, 5));  // fixed cells stay
  g.SetLeftCol(3);
  EXPECT_TRUE(g.CellRect(2, 10).isEmpty());
  EXPECT_EQ(g.CellRect(3, 10), QRect(30, 5, 50, 20));
}

TEST(Grid, MouseCoordFindsTheCellOrNothing) {
  ProbeGrid g;
  struct Case { int X, Y, Col, Row; } cases[] = {
      {0, 0, 0, 0}, {29, 19, 0, 0}, {30, 20, 1, 1}, {79, 39, 1, 1}, {80, 40, 2, 2}, {-1, 5, -1, -1},
      {5, -1, -1, -1}, {30 + 19 * 50, 5, -1, -1}};
  for (const Case& c : cases) {
    const TGridCoord got = g.MouseCoord(c.X, c.Y);
    EXPECT_EQ(got.X, c.Col) << c.X << "," << c.Y;
    EXPECT_EQ(got.Y, c.Row) << c.X << "," << c.Y;
  }
  g.SetTopRow(50);
  EXPECT_EQ(g.MouseCoord(40, 25).Y, 50);
}

TEST(Grid, VisibleCountsCountOnlyFullyVisibleCells) {
  ProbeGrid g;
  const int h = g.Viewport(true), w = g.Viewport(false);
  EXPECT_EQ(g.VisibleRowCount(), (h - 20) / 20);
  EXPECT_EQ(g.VisibleColCount(), (w - 30) / 50);
}

TEST(Grid, MoveCurrentCellAsksSelectCellAndScrollsIntoView) {
  ProbeGrid g;
  g.RefuseSelect = true;
  g.MoveCurrentCell(3, 4, true);
  EXPECT_EQ(g.Col(), 1);
  EXPECT_EQ(g.Row(), 1);
  ASSERT_EQ(g.Selected.size(), 1u);
  EXPECT_EQ(g.Selected[0].X, 3);

  g.RefuseSelect = false;
  g.MoveCurrentCell(3, 80, true);
  EXPECT_EQ(g.Col(), 3);
  EXPECT_EQ(g.Row(), 80);
  EXPECT_EQ(g.TopRow() + g.VisibleRowCount() - 1, 80);  // last fully visible row
  EXPECT_GE(g.TopLeftChanges, 1);
  g.MoveCurrentCell(3, 2, false);
  EXPECT_EQ(g.Row(), 2);
  EXPECT_NE(g.TopRow(), 1);  // without showing, the view stays
}

TEST(Grid, HundredsOfMillionsOfRowsScrollToTheEnd) {
  ProbeGrid g;
  const int rows = 134217728 + 2;
  g.SetRowCount(rows);
  g.SetTopRow(rows);  // clamps to the last full page
  EXPECT_EQ(g.TopRow() + g.VisibleRowCount(), rows);
  EXPECT_EQ(g.verticalScrollBar()->maximum(), g.TopRow());
  EXPECT_EQ(g.verticalScrollBar()->value(), g.TopRow());
  g.MoveCurrentCell(2, rows - 1, true);
  EXPECT_EQ(g.Row(), rows - 1);
  const QRect last = g.CellRect(2, rows - 1);
  ASSERT_FALSE(last.isEmpty());
  EXPECT_EQ(g.MouseCoord(last.center().x(), last.center().y()).Y, rows - 1);
  g.verticalScrollBar()->setValue(1);  // thumb dragged to the top
  EXPECT_EQ(g.TopRow(), 1);
}

TEST(Grid, KeysArriveAsVirtualKeysAndAnsiCharacters) {
  ProbeGrid g;
  g.show();
  QTest::keyClick(&g, Qt::Key_Left);
  QTest::keyClick(&g, Qt::Key_A, Qt::NoModifier);
  QTest::keyClick(&g, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(&g, Qt::Key_Tab);
  ASSERT_EQ(g.Keys.size(), 4u);
  EXPECT_EQ(g.Keys[0].first, VK_LEFT);
  EXPECT_EQ(g.Keys[1].first, 'A');
  EXPECT_EQ(g.Keys[2].first, '3');
  EXPECT_TRUE(g.Keys[2].second.Contains(ssCtrl));
  EXPECT_TRUE(g.Keys[2].second.Contains(ssShift));
  EXPECT_EQ(g.Keys[3].first, VK_TAB);
  ASSERT_FALSE(g.Chars.empty());
  EXPECT_EQ(g.Chars[0], 'a');
}

TEST(Grid, DoubleClickReportsDblClickThenAPressWithDouble) {
  ProbeGrid g;
  g.show();
  QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 50));
  QTest::mouseDClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 50));
  ASSERT_GE(g.Mouse.size(), 3u);
  EXPECT_EQ(g.Mouse[0], "down 90,50");
  EXPECT_EQ(g.Mouse[1], "dblclick");
  EXPECT_EQ(g.Mouse[2], "down2 90,50");
}

TEST(Grid, PressSelectsAndTimerScrollsTowardsThePointer) {
  ProbeGrid g;
  g.show();
  QTest::mousePress(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 50));
  EXPECT_EQ(g.GridState(), gsSelecting);
  EXPECT_EQ(g.Col(), 2);
  EXPECT_EQ(g.Row(), 2);

  // Pointer inside the visible cells: no move.
  QPoint inside = g.viewport()->mapToGlobal(QPoint(90, 50));
  SetCursorPosSource([&] { return inside; });
  g.Tick();
  EXPECT_EQ(g.Row(), 2);
  // Below the last visible row: one row per tick.
  QPoint below = g.viewport()->mapToGlobal(QPoint(90, g.Viewport(true) + 30));
  SetCursorPosSource([&] { return below; });
  const int rowsBefore = g.Row();
  g.Tick();
  g.Tick();
  EXPECT_EQ(g.Row(), rowsBefore + 2);
  QTest::mouseRelease(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 50));
  EXPECT_EQ(g.GridState(), gsNormal);
  const int rowAfter = g.Row();
  g.Tick();
  EXPECT_EQ(g.Row(), rowAfter);  // not selecting: ticks do nothing
  SetCursorPosSource(nullptr);
}

TEST(Grid, FixedCellPressDoesNotSelect) {
  ProbeGrid g;
  g.show();
  QTest::mousePress(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 50));
  EXPECT_EQ(g.GridState(), gsNormal);
  EXPECT_EQ(g.Col(), 1);
}
