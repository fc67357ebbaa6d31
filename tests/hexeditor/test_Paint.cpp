// Painting: what lands on which pixels. Expected places come from CellRect and CharWidth;
// glyph shapes are never assumed, only compared with other renderings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>

#include <vector>

#include "EditorFixture.h"
#include "hexeditor/VXHexEditorStrings.h"

namespace {

class TPaintEditor : public TCustomVXHexEditor {
public:
  using TCustomVXHexEditor::CaretBlinkTick;
  using TCustomVXHexEditor::CaretRect;
  using TCustomVXHexEditor::FBookmarks;
  using TCustomVXHexEditor::FDropCol;
  using TCustomVXHexEditor::FDropRow;
  using TCustomVXHexEditor::FDropVisible;
  using TCustomVXHexEditor::FFocusOverride;
};

QRgb Px(TColor c) { return ColorToQColor(c).rgb(); }

int Count(const QImage& img, const QRect& r, QRgb color) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += img.pixel(x, y) == color;
  return n;
}

double Share(const QImage& img, const QRect& r, QRgb color) {
  return double(Count(img, r, color)) / double(r.width() * r.height());
}

// Border pixels of a rectangle, each once.
std::vector<QPoint> Perimeter(const QRect& f) {
  std::vector<QPoint> pts;
  for (int x = f.left(); x <= f.right(); ++x) pts.push_back({x, f.top()}), pts.push_back({x, f.bottom()});
  for (int y = f.top() + 1; y < f.bottom(); ++y) pts.push_back({f.left(), y}), pts.push_back({f.right(), y});
  return pts;
}

class Paint : public ::testing::Test {
protected:
  void SetUp() override {
    ed.resize(760, 320);
    ed.FFocusOverride = 0;
    LoadBytes(ed, Counting(64));
    ed.show();
  }
  QImage Grab() { return ed.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  // Hex cell of nibble k of a byte (0 first, 1 second), and the character cell.
  int HexCol(int byte, int k = 0) const { return 2 * (byte % 16) + 2 + k; }
  int CharCol(int byte) const { return 35 + byte % 16; }
  int RowOf(int byte) const { return byte / 16 + 2; }
  QRect TextBox(int col, int row) const {
    const QRect r = ed.CellRect(col, row);
    return QRect(r.left(), r.top(), ed.CharWidth(), r.height());
  }
  QRect Gap(int col, int row) const {
    const QRect r = ed.CellRect(col, row);
    return QRect(r.left() + ed.CharWidth(), r.top(), r.width() - ed.CharWidth(), r.height());
  }
  QImage Cut(const QImage& img, const QRect& r) const { return img.copy(r); }

  TPaintEditor ed;
};

}  // namespace

TEST(Colors, DefaultsOwnerAndCopies) {
  TPaintEditor ed;
  const TVXHColors& c = ed.Colors();
  EXPECT_EQ(c.Owner(), &ed);
  EXPECT_EQ(c.Offset(), clBlack);
  EXPECT_EQ(c.OddColumn(), clBlue);
  EXPECT_EQ(c.EvenColumn(), clNavy);
  EXPECT_EQ(c.CursorFrame(), clNavy);
  EXPECT_EQ(c.NonFocusCursorFrame(), clAqua);
  EXPECT_EQ(c.Background(), clWindow);
  EXPECT_EQ(c.ChangedText(), clMaroon);
  EXPECT_EQ(c.ChangedBackground(), 0xA8FFFF);
  EXPECT_EQ(c.CurrentOffsetBackground(), clBtnShadow);
  EXPECT_EQ(c.OffsetBackGround(), clBtnFace);
  EXPECT_EQ(c.CurrentOffset(), clBtnHighlight);
  EXPECT_EQ(c.Grid(), clBtnFace);
  EXPECT_EQ(ed.Color(), clWindow);

  ed.Colors().SetBackground(clSilver);
  EXPECT_EQ(ed.Color(), clSilver);  // the control colour follows

  // A copy is ownerless; assigning it to an editor copies every value and the
  // background reaches the control colour.
  TVXHColors other(ed.Colors());
  EXPECT_EQ(other.Owner(), nullptr);
  other.SetBackground(clYellow);
  other.SetGrid(clRed);
  other.SetOddColumn(clGreen);
  EXPECT_EQ(ed.Colors().Background(), clSilver);
  TPaintEditor second;
  second.SetColors(other);
  EXPECT_TRUE(second.Colors() == other);
  EXPECT_EQ(second.Colors().Owner(), &second);
  EXPECT_EQ(second.Color(), clYellow);
}

TEST(Colors, InvertAndGray) {
  struct { TColor In, Inverted, Gray; } cases[] = {
      {clWhite, clBlack, RGBToColor(255, 255, 255)},
      {clBlue, clYellow, RGBToColor(35, 35, 35)},  // $FF0000 is pure blue
      {RGBToColor(255, 0, 0), RGBToColor(0, 255, 255), RGBToColor(73, 73, 73)},
      {RGBToColor(200, 100, 50), RGBToColor(55, 155, 205), RGBToColor(121, 121, 121)},
  };
  for (const auto& t : cases) {
    EXPECT_EQ(InvertColor(t.In), t.Inverted) << std::hex << t.In;
    EXPECT_EQ(GrayColor(t.In), t.Gray) << std::hex << t.In;
  }
  // System colours are resolved before the arithmetic.
  EXPECT_EQ(InvertColor(clWindow), QColorToColor(ColorToQColor(clWindow)) ^ 0xFFFFFF);
}

TEST_F(Paint, ChangedByteColoursOnlyItsTextBoxes) {
  ed.SetChanged(1, true);
  const QImage img = Grab();
  const QRgb changed = Px(ed.Colors().ChangedBackground()), bg = Px(ed.Colors().Background());
  const int row = RowOf(1);
  // Byte 1 ends the first column group: its second nibble cell carries the gap.
  ASSERT_EQ(ed.ColWidths(HexCol(1, 1)), 2 * ed.CharWidth());
  for (int col : {HexCol(1, 0), HexCol(1, 1), CharCol(1)})
    EXPECT_GT(Share(img, TextBox(col, row), changed), 0.5) << col;
  EXPECT_EQ(Share(img, Gap(HexCol(1, 1), row), bg), 1.0);
  EXPECT_EQ(Share(img, Gap(CharCol(1), row), bg), 1.0);  // the one-pixel spacing
  for (int col : {HexCol(0, 1), HexCol(2, 0), CharCol(0), CharCol(2)})
    EXPECT_EQ(Count(img, TextBox(col, row), changed), 0) << col;
}

TEST_F(Paint, SelectionInvertsWholeCellsUpToTheLastByte) {
  ed.SetSelectionRaw(2, 2, 5, true);
  const QImage img = Grab();
  const QRgb bg = Px(ed.Colors().Background()), inv = bg ^ 0x00FFFFFF;
  const int row = 2;
  for (int byte : {2, 3, 4}) {
    for (int col : {HexCol(byte, 0), HexCol(byte, 1), CharCol(byte)}) {
      EXPECT_GT(Share(img, TextBox(col, row), inv), 0.5) << "byte " << byte << " col " << col;
      if (ed.ColWidths(col) > ed.CharWidth()) {
        EXPECT_EQ(Share(img, Gap(col, row), inv), 1.0) << "byte " << byte << " col " << col;
      }
    }
  }
  ASSERT_GT(ed.ColWidths(HexCol(3, 1)), ed.CharWidth());  // the group gap after byte 3 is selected
  for (int col : {HexCol(5, 0), HexCol(5, 1), CharCol(5)})
    EXPECT_GT(Share(img, TextBox(col, row), inv), 0.5) << col;
  EXPECT_EQ(Share(img, Gap(HexCol(5, 1), row), bg), 1.0);  // not beyond the last byte
  EXPECT_EQ(Share(img, Gap(CharCol(5), row), bg), 1.0);
  for (int col : {HexCol(1, 1), HexCol(6, 0), CharCol(1), CharCol(6)})
    EXPECT_GT(Share(img, TextBox(col, row), bg), 0.5) << col;
}

TEST_F(Paint, SelectionWhenUnfocusedHiddenOrGray) {
  ed.Colors().SetBackground(RGBToColor(200, 100, 50));
  ed.SetSelectionRaw(2, 2, 5, true);
  const QRgb bg = Px(ed.Colors().Background()), inv = bg ^ 0x00FFFFFF;
  const QRgb gray = Px(GrayColor(InvertColor(ed.Colors().Background())));
  struct {
    bool Focused, Hide, Gray;
    QRgb TextBox, Gap;
  } cases[] = {
      {false, false, false, inv, inv},  {true, true, false, inv, inv},   {false, true, false, bg, bg},
      {false, false, true, gray, inv},  {true, false, true, inv, inv},   {false, true, true, bg, bg},
  };
  const QRect box = TextBox(HexCol(3, 1), 2), gap = Gap(HexCol(3, 1), 2);
  for (const auto& t : cases) {
    ed.FFocusOverride = t.Focused;
    ed.SetHideSelection(t.Hide);
    ed.SetGraySelectionIfNotFocused(t.Gray);
    const QImage img = Grab();
    EXPECT_GT(Share(img, box, t.TextBox), 0.5) << t.Focused << t.Hide << t.Gray;
    EXPECT_EQ(Share(img, gap, t.Gap), 1.0) << t.Focused << t.Hide << t.Gray;
  }
}

TEST_F(Paint, CaretPositionFrames) {
  // Caret on the second nibble of byte 7.
  const int nibble = HexCol(7, 1), chr = CharCol(7), row = 2;
  ed.MoveCurrentCell(nibble, row, false);
  ASSERT_EQ(ed.Col(), nibble);
  const QImage plain = Grab();  // unfocused, no frames

  auto frameOf = [&](int col) {
    const QRect r = ed.CellRect(col, row);
    return QRect(r.left(), r.top(), ed.CharWidth(), r.height() - 1);
  };
  enum Kind { None, Dotted, Outline };
  struct {
    bool Focused, FocusFrame, ShowPosition;
    Kind AtChar, AtNibble;
    TColor Outline;
  } cases[] = {
      {true, true, false, Dotted, None, 0},
      {true, false, false, Outline, None, clNavy},  // CursorFrame
      {true, false, true, Outline, None, clNavy},   // focused: no frame on the caret cell itself
      {false, true, false, None, None, 0},
      {false, true, true, None, Dotted, 0},
      {false, false, true, None, Outline, clAqua},  // NonFocusCursorFrame
  };
  for (const auto& t : cases) {
    ed.FFocusOverride = t.Focused;
    ed.SetFocusFrame(t.FocusFrame);
    ed.SetShowPositionIfNotFocused(t.ShowPosition);
    const QImage img = Grab();
    for (auto [col, kind] : {std::pair{chr, t.AtChar}, std::pair{nibble, t.AtNibble}}) {
      const QRect f = frameOf(col);
      int wrong = 0;
      for (QPoint pt : Perimeter(f)) {
        const QRgb was = plain.pixel(pt), now = img.pixel(pt);
        const bool even = ((pt.x() - f.left()) + (pt.y() - f.top())) % 2 == 0;
        QRgb want = was;
        if (kind == Dotted && even) want = was ^ 0x00FFFFFF;
        if (kind == Outline) want = Px(t.Outline);
        wrong += now != want;
      }
      EXPECT_EQ(wrong, 0) << "focused " << t.Focused << " focus frame " << t.FocusFrame << " show "
                          << t.ShowPosition << " column " << col;
    }
  }
}

TEST_F(Paint, SwapNibblesExchangesTheDigitColumns) {
  LoadBytes(ed, QByteArray("\x4F\x00", 2));
  EXPECT_FALSE(ed.SwapNibbles());
  EXPECT_EQ(ed.CellText(2, 2), QStringLiteral("4"));
  EXPECT_EQ(ed.CellText(3, 2), QStringLiteral("F"));
  const QImage before = Grab();
  ed.SetSwapNibbles(true);
  EXPECT_EQ(ed.CellText(2, 2), QStringLiteral("F"));
  EXPECT_EQ(ed.CellText(3, 2), QStringLiteral("4"));
  EXPECT_EQ(ed.CellText(CharCol(0), 2), QStringLiteral("O"));  // the character field is untouched
  const QImage after = Grab();
  EXPECT_EQ(Cut(after, TextBox(2, 2)), Cut(before, TextBox(3, 2)));
  EXPECT_EQ(Cut(after, TextBox(3, 2)), Cut(before, TextBox(2, 2)));
  EXPECT_NE(Cut(after, TextBox(2, 2)), Cut(after, TextBox(3, 2)));
}

TEST_F(Paint, EmptyDocumentShowsGutterAndRulerOnly) {
  ed.CreateEmptyFile(QString());
  ed.SetShowRuler(true);
  ASSERT_EQ(ed.RowCount(), 3);
  EXPECT_EQ(ed.CellText(0, 2), QStringLiteral("0x0"));
  EXPECT_EQ(ed.CellText(2, 0), QStringLiteral("0"));
  EXPECT_EQ(ed.CellText(5, 0), QStringLiteral("1"));
  EXPECT_EQ(ed.CellText(2, 2), QString());
  const QImage img = Grab();

  // The gutter cell of the caret row, right-aligned 4 pixels from its edge; the last
  // pixel column belongs to the 3D edge.
  const QRect g = ed.CellRect(0, 2);
  QImage want(img.size(), QImage::Format_RGB32);
  want.fill(Px(ed.Colors().CurrentOffsetBackground()));
  {
    QPainter p(&want);
    const QFont f = ed.Font().ToQFont();
    const QFontMetrics fm(f);
    p.setFont(f);
    p.setPen(QColor::fromRgb(Px(ed.Colors().CurrentOffset())));
    p.drawText(QPoint(g.right() + 1 - fm.horizontalAdvance(QStringLiteral("0x0")) - 4, g.top() + fm.ascent()),
               QStringLiteral("0x0"));
  }
  const QRect cmp(g.left(), g.top(), g.width() - 1, g.height());
  EXPECT_EQ(Cut(img, cmp), Cut(want, cmp));
  EXPECT_LT(Share(img, cmp, Px(ed.Colors().CurrentOffsetBackground())), 1.0);  // some text is there

  // The whole data row is plain background; the ruler above it has digits.
  const QRect first = ed.CellRect(2, 2), last = ed.CellRect(ed.ColCount() - 1, 2);
  EXPECT_EQ(Share(img, QRect(first.topLeft(), last.bottomRight()), Px(ed.Colors().Background())), 1.0);
  EXPECT_LT(Share(img, TextBox(2, 0), Px(ed.Colors().CurrentOffsetBackground())), 1.0);
}

TEST_F(Paint, OnDrawCellTakesOverTextAndDrawing) {
  ed.SetChanged(0, true);
  ed.SetChanged(1, true);
  struct Call { int Col, Row; QString Text; QRect Rect; };
  std::vector<Call> calls;
  ed.OnDrawCell = [&](QObject* sender, QPainter&, int col, int row, QString& text, const QRect& rect, bool& def) {
    EXPECT_EQ(sender, &ed);
    calls.push_back({col, row, text, rect});
    if (col == 2 && row == 2) def = false;                   // byte 0, first nibble: hands off
    if (col == 3 && row == 2) text = QStringLiteral("1");    // byte 0, second nibble: another digit
  };
  ed.FDropVisible = true;
  ed.FDropCol = 2;
  ed.FDropRow = 2;
  const QImage img = Grab();

  auto callFor = [&](int col, int row) {
    for (const Call& c : calls)
      if (c.Col == col && c.Row == row) return c;
    return Call{-1, -1, {}, {}};
  };
  EXPECT_EQ(callFor(2, 2).Text, QStringLiteral("0"));
  EXPECT_EQ(callFor(2, 2).Rect, TextBox(2, 2));
  EXPECT_EQ(callFor(0, 2).Text, QStringLiteral("0x00"));
  EXPECT_EQ(callFor(0, 2).Rect, ed.CellRect(0, 2));  // the gutter's text box is the cell

  // Suppressed: the text box keeps the erased background, only the drop marker is drawn.
  const QRect box = TextBox(2, 2);
  const QRgb bg = Px(ed.Colors().Background()), marker = Px(ed.Colors().ChangedText());
  EXPECT_EQ(Share(img, box.adjusted(2, 0, 0, 0), bg), 1.0);
  for (int y = box.top() + 1; y < box.bottom(); ++y) {
    EXPECT_EQ(img.pixel(box.left(), y), marker) << y;
    EXPECT_EQ(img.pixel(box.left() + 1, y), marker) << y;
  }
  // The replaced text is drawn like the cell that really shows it.
  EXPECT_EQ(Cut(img, TextBox(3, 2)), Cut(img, TextBox(5, 2)));
}

TEST_F(Paint, OnlyCellsInTheRepaintRegionAreDrawn) {
  std::vector<std::pair<int, int>> drawn;
  ed.OnDrawCell = [&](QObject*, QPainter&, int col, int row, QString&, const QRect&, bool&) {
    drawn.emplace_back(col, row);
  };
  QImage img(ed.viewport()->size(), QImage::Format_RGB32);
  // Two cells far apart: their bounding box would hold dozens.
  QRegion region(ed.CellRect(HexCol(1, 0), 2));
  region += ed.CellRect(CharCol(14), 4);
  ed.viewport()->render(&img, QPoint(), region);
  const std::vector<std::pair<int, int>> want{{HexCol(1, 0), 2}, {CharCol(14), 4}};
  EXPECT_EQ(drawn, want);
}

TEST_F(Paint, BookmarkIconsFromTheBitmap) {
  // Key colour green (top-left pixel); icon 1 solid yellow; icon 3 red with a transparent
  // left half; icon 13 (bookmark 3 in the character field) blue.
  const QRgb key = qRgb(0, 255, 0), yellow = qRgb(255, 255, 0), red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
  QImage strip(200, 10, QImage::Format_RGB32);
  strip.fill(key);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      strip.setPixel(10 + x, y, yellow);
      if (x >= 5) strip.setPixel(30 + x, y, red);
      strip.setPixel(130 + x, y, blue);
    }
  ed.SetBookmarkBitmap(strip);
  EXPECT_TRUE(ed.BookmarkBitmapStored());
  ed.FBookmarks[3] = {17, false};  // row 3, drawn after bookmark 1 in the same row
  ed.FBookmarks[1] = {20, false};
  ed.FBookmarks[5] = {40, true};   // row 4, no icon in this strip: fully transparent
  ed.FBookmarks[7] = {-1, false};  // unset
  const QImage img = Grab();

  const QRect g3 = ed.CellRect(0, 3);
  const QPoint at(g3.left() + 3, g3.top() + (g3.height() - 10) / 2);
  EXPECT_EQ(Share(img, QRect(at, QSize(5, 10)), yellow), 1.0);              // icon 1 through the hole
  EXPECT_EQ(Share(img, QRect(at + QPoint(5, 0), QSize(5, 10)), red), 1.0);  // icon 3 on top
  const QRgb gutter = Px(ed.Colors().OffsetBackGround());
  EXPECT_EQ(img.pixel(at - QPoint(1, 0)), gutter);
  EXPECT_EQ(img.pixel(at + QPoint(10, 0)), gutter);

  const QRect g4 = ed.CellRect(0, 4);
  EXPECT_EQ(Share(img, QRect(g4.left() + 3, g4.top() + (g4.height() - 10) / 2, 10, 10), gutter), 1.0);

  ed.FBookmarks[5] = {40, false};
  ed.FBookmarks[3] = {33, true};  // row 4, character field
  const QImage img2 = Grab();
  EXPECT_EQ(Share(img2, QRect(g4.left() + 3, g4.top() + (g4.height() - 10) / 2, 10, 10), blue), 1.0);
  EXPECT_EQ(Share(img2, QRect(at, QSize(10, 10)), yellow), 1.0);  // only bookmark 1 is left in row 3
}

TEST_F(Paint, BookmarkBitmapMustBe200By10) {
  auto errorOf = [&](const QImage& img) -> std::string {
    try {
      ed.SetBookmarkBitmap(img);
    } catch (const EVXHexEditor& e) {
      return e.Message().toStdString();
    }
    return "";
  };
  const std::string msg = VXHStrings::InvalidBookmarkBitmap.toStdString();
  EXPECT_EQ(msg, "Ungültiges Lesezeichen (Format 10 x 200 pix)");
  for (QSize size : {QSize(10, 200), QSize(199, 10), QSize(200, 11), QSize(1, 1)})
    EXPECT_EQ(errorOf(QImage(size, QImage::Format_RGB32)), msg) << size.width() << "x" << size.height();
  EXPECT_FALSE(ed.BookmarkBitmapStored());

  QImage mine(200, 10, QImage::Format_RGB32);
  mine.fill(Qt::cyan);
  EXPECT_EQ(errorOf(mine), "");
  EXPECT_TRUE(ed.BookmarkBitmapStored());
  EXPECT_EQ(errorOf(QImage(10, 200, QImage::Format_RGB32)), msg);
  EXPECT_EQ(ed.BookmarkBitmap().pixel(0, 0), QColor(Qt::cyan).rgb());  // kept after the refusal

  // None: the built-in strip again, keyed by its top-left pixel; the hex-field icons are
  // yellow left and grey right, the character-field icons the other way round.
  ed.SetBookmarkBitmap(QImage());
  EXPECT_FALSE(ed.BookmarkBitmapStored());
  const QImage& s = ed.BookmarkBitmap();
  ASSERT_EQ(s.size(), QSize(200, 10));
  const QRgb keyColor = s.pixel(0, 0);
  for (int icon = 0; icon < 20; ++icon) {
    const int x0 = icon * 10;
    const QRgb yellow = qRgb(255, 255, 0), grey = qRgb(192, 192, 192);
    EXPECT_EQ(s.pixel(x0 + 2, 5), icon < 10 ? yellow : grey) << icon;
    EXPECT_EQ(s.pixel(x0 + 7, 5), icon < 10 ? grey : yellow) << icon;
    EXPECT_NE(s.pixel(x0 + 5, 0), keyColor) << icon;  // the frame is not transparent
  }
}

TEST_F(Paint, GridLinesAndEdges) {
  ed.SetShowRuler(true);
  ed.Colors().SetGrid(clRed);
  const QRgb shadow = Px(clBtnShadow), light = Px(clBtnHighlight), grid = Px(clRed);
  const QRgb band = Px(ed.Colors().OffsetBackGround()), bg = Px(ed.Colors().Background());
  const int w0 = ed.ColWidths(0), dataTop = ed.CellRect(2, 2).top();
  const QRect last = ed.CellRect(ed.ColCount() - 1, ed.RowCount() - 1);
  const int gridRight = last.right() + 1, gridBottom = last.bottom() + 1;
  ASSERT_LT(gridRight + 10, ed.viewport()->width());
  ASSERT_LT(gridBottom + 10, ed.viewport()->height());

  QImage img = Grab();
  EXPECT_EQ(img.pixel(w0, dataTop + 3), shadow);
  EXPECT_EQ(img.pixel(w0 - 1, dataTop + 3), light);
  EXPECT_EQ(img.pixel(w0 - 1, gridBottom + 5), light);  // down to the client bottom
  EXPECT_EQ(img.pixel(w0 + 40, dataTop - 1), shadow);
  EXPECT_EQ(img.pixel(w0 + 40, dataTop - 2), light);
  EXPECT_EQ(img.pixel(gridRight + 5, 2), band);          // the ruler band runs to the right edge
  EXPECT_EQ(img.pixel(gridRight + 5, dataTop + 3), bg);
  EXPECT_EQ(img.pixel(3, gridBottom + 5), band);         // the gutter band runs to the bottom
  EXPECT_EQ(img.pixel(w0 + 20, gridBottom + 5), bg);
  const QRect cell = ed.CellRect(HexCol(1, 1), 3);
  EXPECT_EQ(Count(img, QRect(cell.left(), cell.bottom(), cell.width(), 1), grid), 0);

  ed.SetDrawGutter3D(false);
  ed.SetDrawGridLines(true);
  img = Grab();
  EXPECT_EQ(img.pixel(w0 - 1, dataTop + 3), grid);
  EXPECT_EQ(img.pixel(w0 + 40, dataTop - 1), grid);
  EXPECT_EQ(Share(img, QRect(cell.left(), cell.bottom(), cell.width(), 1), grid), 1.0);
  const QRect sep = ed.CellRect(34, 3);
  EXPECT_EQ(Share(img, QRect(sep.left(), sep.top(), 1, sep.height() - 1), grid), 1.0);
  const QRect lastCol = ed.CellRect(ed.ColCount() - 1, 3);
  EXPECT_EQ(Share(img, QRect(lastCol.right(), lastCol.top(), 1, lastCol.height() - 1), grid), 1.0);
  const QRect gap = ed.CellRect(1, 3);
  EXPECT_EQ(Share(img, QRect(gap.left(), gap.bottom(), gap.width(), 1), grid), 1.0);
}

TEST_F(Paint, CellTexts) {
  LoadBytes(ed, QByteArray("\x07\x80\x41\x00\x05\x00\x00\x42", 8));
  EXPECT_EQ(ed.CellText(CharCol(0), 2), QStringLiteral("."));  // masked control code
  EXPECT_EQ(ed.CellText(CharCol(1), 2), QStringLiteral("€"));  // CP1252
  ed.SetMaskChar(0);
  EXPECT_EQ(ed.CellText(CharCol(0), 2), QString(QChar(7)));   // nothing masked
  ed.SetMaskChar('.');
  ed.SetHexLowerCase(true);
  EXPECT_EQ(ed.CellText(HexCol(1, 0), 2), QStringLiteral("8"));
  ed.SetShowRuler(true);
  EXPECT_EQ(ed.CellText(34, 0), QStringLiteral("  "));
  EXPECT_EQ(ed.CellText(CharCol(10), 0), QStringLiteral("a"));
  ed.SetBytesPerUnit(4);  // a ruler unit of 4 bytes labels every fourth character
  EXPECT_EQ(ed.CellText(CharCol(0), 0), QStringLiteral(" "));
  EXPECT_EQ(ed.CellText(CharCol(3), 0), QStringLiteral("0"));
  EXPECT_EQ(ed.CellText(CharCol(7), 0), QStringLiteral("1"));
  EXPECT_EQ(ed.CellText(HexCol(3, 1), 0), QStringLiteral("0"));
  EXPECT_EQ(ed.CellText(HexCol(7, 1), 0), QStringLiteral("1"));
  ed.SetRulerBytesPerUnit(1);  // a ruler text of 4 units x 2 digits leaves the rest blank
  EXPECT_EQ(ed.CellText(HexCol(3, 1), 0), QStringLiteral("3"));
  EXPECT_EQ(ed.CellText(HexCol(5, 0), 0), QString());
  ed.SetRulerBytesPerUnit(-1);
  ed.SetBytesPerUnit(1);
  ed.SetHexLowerCase(false);

  // 16-bit characters: low byte first, or swapped; codes below 32 masked.
  ed.SetUnicodeChars(true);
  const int c0 = 2 * 16 + 3;  // first character column
  EXPECT_EQ(ed.CellText(c0 + 0, 2), QString(QChar(0x8007)));
  EXPECT_EQ(ed.CellText(c0 + 1, 2), QStringLiteral("A"));
  EXPECT_EQ(ed.CellText(c0 + 2, 2), QStringLiteral("."));
  ed.SetUnicodeBigEndian(true);
  EXPECT_EQ(ed.CellText(c0 + 1, 2), QString(QChar(0x4100)));
  EXPECT_EQ(ed.CellText(c0 + 3, 2), QStringLiteral("B"));
}

TEST_F(Paint, CaretShapesInvertTheCaretCell) {
  ed.FFocusOverride = 1;
  ed.MoveCurrentCell(HexCol(3, 0), 3, false);
  const QRect cell = ed.CellRect(HexCol(3, 0), 3);
  const int cw = ed.CharWidth(), lh = ed.LineHeight();
  const QImage plain = Grab();
  struct {
    TVXHCaretKind Kind;
    bool Insert;
    QRect Shape;
  } cases[] = {
      {ckFull, false, QRect(0, 0, cw, lh - 2)},  {ckLeft, false, QRect(0, 0, 2, lh - 2)},
      {ckBottom, false, QRect(0, lh - 4, cw, 2)}, {ckAuto, false, QRect(0, 0, cw, lh - 2)},
      {ckAuto, true, QRect(0, 0, 2, lh - 2)},
  };
  for (const auto& t : cases) {
    if (ed.InsertMode() != t.Insert) {
      ed.SetInsertMode(t.Insert);
      ed.MoveCurrentCell(HexCol(3, 0), 3, false);
    }
    ed.SetCaretKind(t.Kind);
    ed.CreateCaretShape();
    ed.PlaceCaret();
    const QRect want = t.Shape.translated(cell.topLeft());
    EXPECT_EQ(ed.CaretRect(), want) << int(t.Kind);
    const QImage img = Grab();
    int wrong = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x)
        wrong += img.pixel(x, y) != (want.contains(x, y) ? plain.pixel(x, y) ^ 0x00FFFFFF : plain.pixel(x, y));
    EXPECT_EQ(wrong, 0) << int(t.Kind) << " insert " << t.Insert;
  }

  // Blinking hides and shows it; without focus it is not drawn at all.
  ed.CaretBlinkTick();
  EXPECT_EQ(Cut(Grab(), cell), Cut(plain, cell));
  ed.CaretBlinkTick();
  EXPECT_NE(Cut(Grab(), cell), Cut(plain, cell));
  ed.FFocusOverride = 0;
  EXPECT_EQ(Cut(Grab(), cell), Cut(plain, cell));
  ed.FFocusOverride = 1;
  ed.DestroyCaret();
  EXPECT_EQ(Cut(Grab(), cell), Cut(plain, cell));
  EXPECT_TRUE(ed.CaretRect().isEmpty());
}

TEST_F(Paint, CaretKindChangeParksTheCaretUntilThePaint) {
  ed.FFocusOverride = 1;
  ed.CreateCaretShape();
  ed.PlaceCaret();
  const QPoint cell = ed.CellRect(2, 2).topLeft();
  EXPECT_EQ(ed.CaretPos(), cell);
  ed.SetCaretKind(ckBottom);
  EXPECT_EQ(ed.CaretPos(), QPoint(-50, -50));
  Grab();
  EXPECT_EQ(ed.CaretPos(), cell);
}

TEST_F(Paint, CaretAndGlyphsFollowTheFont) {
  ed.FFocusOverride = 1;
  ed.CreateCaretShape();
  const int smallWidth = ed.CharWidth();
  TFont f = ed.Font();
  f.SetSize(20);
  ed.SetFont(f);
  ASSERT_GT(ed.CharWidth(), smallWidth);
  Grab();
  EXPECT_EQ(ed.CaretRect(), QRect(ed.CellRect(2, 2).topLeft(), QSize(ed.CharWidth(), ed.LineHeight() - 2)));
  // Drawn with the new font: the same digit as the text the painter itself draws.
  ed.DestroyCaret();
  const QImage img = Grab();
  const QRect box = TextBox(3, 2);
  QImage want(box.size(), QImage::Format_RGB32);
  want.fill(Px(ed.Colors().Background()));
  {
    QPainter p(&want);
    p.setFont(ed.Font().ToQFont());
    p.setPen(QColor::fromRgb(Px(ed.Colors().OddColumn())));
    p.drawText(QPoint(0, QFontMetrics(ed.Font().ToQFont()).ascent()), QStringLiteral("0"));
  }
  EXPECT_EQ(Cut(img, box), want);
}

TEST_F(Paint, PlaceCaretParksItWhenTheCellIsOutOfView) {
  LoadBytes(ed, Counting(4096));
  ed.FFocusOverride = 1;
  ed.CreateCaretShape();
  ed.PlaceCaret();
  EXPECT_EQ(ed.CaretPos(), ed.CellRect(2, 2).topLeft());
  ed.SetTopRow(100);
  ed.PlaceCaret();
  EXPECT_EQ(ed.CaretPos(), QPoint(-50, -50));
  EXPECT_TRUE(ed.CaretRect().isEmpty());
  ed.SetTopRow(2);
  ed.PlaceCaret();
  EXPECT_EQ(ed.CaretPos(), ed.CellRect(2, 2).topLeft());
}

TEST_F(Paint, RealKeyboardFocusCounts) {
  ed.FFocusOverride = -1;
  ed.setFocus();
  QApplication::setActiveWindow(&ed);
  if (!ed.hasFocus()) GTEST_SKIP() << "no keyboard focus on this platform";
  ed.MoveCurrentCell(HexCol(7, 1), 2, false);
  const QImage focused = Grab();
  ed.clearFocus();
  ASSERT_FALSE(ed.hasFocus());
  const QImage unfocused = Grab();
  const QRect r = ed.CellRect(CharCol(7), 2);
  EXPECT_NE(Cut(focused, r), Cut(unfocused, r));  // the counterpart frame comes and goes
}
