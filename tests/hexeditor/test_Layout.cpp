// Grid geometry: column widths, rows, offset texts and cell/byte mappings.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "hexeditor/VXHexEditorStrings.h"

namespace {

std::string ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const Exception& e) {
    return e.Message().toStdString();
  }
  return "";
}

}  // namespace

TEST(Layout, DefaultColumnWidths) {
  TCustomVXHexEditor ed;
  const int cw = ed.CharWidth();
  ASSERT_GT(cw, 0);
  ASSERT_EQ(ed.ColCount(), 51);
  EXPECT_EQ(ed.ColWidths(1), 6);
  for (int k = 0; k < 32; ++k) {
    const int expected = k == 31 ? 2 * cw : (k % 4 == 3 ? 2 * cw : cw);
    EXPECT_EQ(ed.ColWidths(k + 2), expected) << "nibble column " << k;
  }
  EXPECT_EQ(ed.ColWidths(34), cw);  // separator
  for (int c = 0; c < 16; ++c)
    EXPECT_EQ(ed.ColWidths(35 + c), c == 15 ? 2 * cw + 1 : cw + 1) << "character column " << c;
  EXPECT_EQ(ed.DefaultRowHeight(), ed.LineHeight());
  EXPECT_EQ(ed.RowHeights(0), 0);  // no ruler by default
  EXPECT_EQ(ed.RowHeights(1), 0);
}

TEST(Layout, BlocksAddGapsExceptAtTheRowEnd) {
  TCustomVXHexEditor ed;
  ed.SetBytesPerBlock(4);
  const int cw = ed.CharWidth();
  for (int byte : {3, 7, 11}) {
    EXPECT_EQ(ed.ColWidths(2 * byte + 3), 3 * cw) << byte;  // group gap and block gap
    EXPECT_EQ(ed.ColWidths(35 + byte), 2 * cw + 1) << byte;
  }
  EXPECT_EQ(ed.ColWidths(2 * 15 + 3), 2 * cw);
  EXPECT_EQ(ed.ColWidths(35 + 15), 2 * cw + 1);
  EXPECT_EQ(ed.ColWidths(2 * 1 + 3), 2 * cw);  // an ordinary group end
  ed.SetSeparateBlocksInCharField(false);
  ed.UpdateLayout();
  EXPECT_EQ(ed.ColWidths(35 + 3), cw + 1);
}

TEST(Layout, RulerRowAndRulerText) {
  TCustomVXHexEditor ed;
  ed.SetShowRuler(true);
  EXPECT_EQ(ed.RowHeights(0), ed.LineHeight() + 3);
  EXPECT_EQ(ed.RulerText(), QStringLiteral("000102030405060708090A0B0C0D0E0F"));
  ed.SetHexLowerCase(true);
  EXPECT_EQ(ed.RulerText().right(4), QStringLiteral("0e0f"));
  ed.SetBytesPerUnit(2);
  EXPECT_EQ(ed.RulerText(), QStringLiteral("00000001000200030004000500060007"));
}

TEST(Layout, RowsAndGutterOf4096BytesInBothModes) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(4096));
  EXPECT_EQ(ed.RowCount(), 258);
  EXPECT_EQ(ed.OffsetFormatRecord().MinWidth, 3);
  EXPECT_EQ(ed.GutterChars(), 6);
  EXPECT_EQ(ed.GetOffsetText(0), QStringLiteral("0x000"));
  EXPECT_EQ(ed.GetOffsetText(4080), QStringLiteral("0xFF0"));
  EXPECT_EQ(ed.ColWidths(0), 6 * ed.CharWidth() + 21);

  ed.SetInsertMode(true);
  EXPECT_EQ(ed.RowCount(), 259);
  EXPECT_EQ(ed.GetOffsetText(0), QStringLiteral("0x0000"));
  EXPECT_EQ(ed.GetOffsetText(4096), QStringLiteral("0x1000"));
  ed.SetHexLowerCase(true);
  EXPECT_EQ(ed.GetOffsetText(0xFF0), QStringLiteral("0x0ff0"));  // prefix untouched
}

TEST(Layout, EmptyDocumentHasOneDataRow) {
  TCustomVXHexEditor ed;
  EXPECT_EQ(ed.RowCount(), 3);
  EXPECT_EQ(ed.GetOffsetText(0), QStringLiteral("0x0"));
}

struct FormatCase {
  const char* Format;
  int BytesPerRow;
  uint32_t Offset;
  const char* Text;
};

TEST(Layout, OffsetFormatExamples) {
  const FormatCase cases[] = {
      {"0!8:o|", 16, 0, "o"},       {"0!8:o|", 16, 16, "o20"},  {"a:|", 16, 0, "0"},
      {"a:|", 16, 16, "16"},        {"a:|", 16, 32, "32"},      {"2%-!10:|", 16, 32, "10"},
      {"r%10:|", 8, 16, "2"},       {"C%a:|", 16, 32, "16"},    {"4!10:<|>", 16, 255, "<00FF>"},
      {"%2:|b", 16, 5, "101b"},     {"10:|a|b", 16, 0, "0a|b"}, {"", 16, 100, ""},
  };
  for (const FormatCase& c : cases) {
    TCustomVXHexEditor ed;
    ed.SetBytesPerRow(c.BytesPerRow);
    ed.SetOffsetFormat(QString::fromUtf8(c.Format));
    EXPECT_EQ(ed.OffsetFormat(), QString::fromUtf8(c.Format));
    EXPECT_EQ(ed.GetOffsetText(c.Offset).toStdString(), c.Text) << c.Format << " @" << c.Offset;
  }
}

TEST(Layout, EmptyFormatGivesTheNarrowestGutter) {
  TCustomVXHexEditor ed;
  ed.SetOffsetFormat(QString());
  EXPECT_EQ(ed.ColWidths(0), ed.CharWidth() + 21);
}

TEST(Layout, BadOffsetFormatsKeepThePreviousOne) {
  const struct {
    const char* Format;
    const char* Message;
  } cases[] = {
      {"10", "Fehlendes Zeichen im Offset-Format: :"},
      {":|", "Fehlendes Zeichen im Offset-Format: number radix"},
      {"10:0x", "Fehlendes Zeichen im Offset-Format: |"},
      {"11:|", "Ungültiger Radix im Offset-Format (11h), erlaubt sind: 02h..10h"},
      {"1:|", "Ungültiger Radix im Offset-Format (1h), erlaubt sind: 02h..10h"},
      {"r%10:|", "Ungültige Anzahl Bytes Per Unit 10h, erlaubt sind: 01h..BytesProZeile"},
      {"3%10:|", "Ungültige Anzahl Bytes Per Unit 3h, erlaubt sind: 01h..BytesProZeile"},
  };
  for (const auto& c : cases) {
    TCustomVXHexEditor ed;
    ed.SetOffsetFormat(QStringLiteral("a:|"));
    const int gutter = ed.ColWidths(0);
    EXPECT_EQ(ErrorOf([&] { ed.SetOffsetFormat(QString::fromUtf8(c.Format)); }), c.Message) << c.Format;
    EXPECT_EQ(ed.OffsetFormat(), QStringLiteral("a:|"));
    EXPECT_EQ(ed.GetOffsetText(16), QStringLiteral("16"));
    EXPECT_EQ(ed.ColWidths(0), gutter);
  }
}

TEST(Layout, LayoutSetterErrorsChangeNothing) {
  TCustomVXHexEditor ed;
  for (int bad : {0, 257, -1})
    EXPECT_EQ(ErrorOf([&] { ed.SetBytesPerRow(bad); }), "Ungültige Anzahl Bytes per Zeile") << bad;
  for (int bad : {0, 257})
    EXPECT_EQ(ErrorOf([&] { ed.SetBytesPerColumn(bad); }), "Ungültige Anzahl Bytes per Spalte") << bad;
  EXPECT_EQ(ErrorOf([&] { ed.SetRulerBytesPerUnit(3); }),
            "Ungültige Anzeige für Bytes/Einheit 3, erlaubt sind: -1,1,2,4,8");
  EXPECT_EQ(ErrorOf([&] { ed.SetBytesPerUnit(3); }),
            "Ungültige Anzahl Bytes Per Unit 3h, erlaubt sind: 01h..BytesProZeile");
  EXPECT_EQ(ed.BytesPerRow(), 16);
  EXPECT_EQ(ed.BytesPerColumn(), 2);
  EXPECT_EQ(ed.RulerBytesPerUnit(), -1);
  EXPECT_EQ(ed.BytesPerUnit(), 1);
}

TEST(Layout, UnitFollowingARowOf256IsRefused) {
  TCustomVXHexEditor ed;
  ed.SetBytesPerRow(8);
  ed.SetOffsetFormat(QStringLiteral("r%10:|"));
  EXPECT_EQ(ErrorOf([&] { ed.SetBytesPerRow(256); }),
            "Ungültige Anzahl Bytes Per Unit 100h, erlaubt sind: 01h..BytesProZeile");
  EXPECT_EQ(ed.BytesPerRow(), 8);
  ed.SetBytesPerRow(16);  // any other width is followed without a check
  EXPECT_EQ(ed.OffsetFormatRecord().UnitSize, 16);
  EXPECT_EQ(ed.GetOffsetText(32), QStringLiteral("2"));
  ed.SetOffsetFormat(QStringLiteral("C%10:|"));
  EXPECT_THROW(ed.SetBytesPerColumn(256), EVXHexEditor);
  EXPECT_NO_THROW(ed.SetBytesPerColumn(128));
}

TEST(Layout, ChangingBytesPerRowKeepsCaretNibbleAndSelection) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(64));
  const TGridCoord c = ed.PositionToCell(20, false);
  ed.MoveCurrentCell(c.X + 1, c.Y, true);
  ed.SetSelectionRaw(5, 5, 30, false);
  ed.SetBytesPerRow(8);
  EXPECT_EQ(ed.Row(), 4);
  EXPECT_EQ(ed.Col(), 11);
  EXPECT_EQ(ed.SelAnchor(), 5);
  EXPECT_EQ(ed.SelLow(), 5);
  EXPECT_EQ(ed.SelHigh(), 30);
  EXPECT_EQ(ed.ColCount(), 27);
  EXPECT_EQ(ed.RowCount(), 10);
}

TEST(Layout, CellPositionMappings) {
  TCustomVXHexEditor ed;  // 16 bytes per row: hex 2..33, separator 34, characters 35..50
  const struct {
    int Col, Row, Pos;
    bool Char;
  } cells[] = {{2, 2, 0, false},  {3, 2, 0, false},   {33, 2, 15, false}, {34, 2, 16, false},
               {35, 2, 0, true},  {50, 3, 31, true},  {1, 2, 0, false},   {0, 2, 0, false},
               {0, 3, 15, false}, {2, 0, 0, false},   {10, 5, 52, false}};
  for (const auto& c : cells) {
    EXPECT_EQ(ed.CellToPosition(c.Col, c.Row), c.Pos) << c.Col << "," << c.Row;
    EXPECT_EQ(ed.LastFieldIsCharField(), c.Char) << c.Col << "," << c.Row;
  }
  EXPECT_EQ(ed.PositionToCell(17, false), (TGridCoord{4, 3}));
  EXPECT_EQ(ed.PositionToCell(17, true), (TGridCoord{36, 3}));
  EXPECT_EQ(ed.PositionToCell(-5, true), (TGridCoord{2, 2}));
  bool inChar = true;
  EXPECT_EQ(ed.OtherFieldColumn(5, &inChar), 36);
  EXPECT_FALSE(inChar);
  EXPECT_EQ(ed.OtherFieldColumn(36, &inChar), 4);
  EXPECT_TRUE(inChar);
  EXPECT_EQ(ed.PositionToRow(33), 4);
}

TEST(Layout, UnitHelpers) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(10));
  ed.SetBytesPerUnit(4);
  EXPECT_EQ(ed.AlignToUnit(7), 4);
  int a = 5, b = 1;
  ed.NormalizeRange(a, b);
  EXPECT_EQ(a, 7);
  EXPECT_EQ(b, 0);
  a = 2, b = 9;
  ed.NormalizeRange(a, b);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 9);  // clamped to the last byte
  int p = 12;
  ed.ClampToEnd(p);
  EXPECT_EQ(p, 9);
  ed.SetInsertMode(true);
  p = 12;
  ed.ClampToEnd(p);
  EXPECT_EQ(p, 10);
}

TEST(Layout, GutterFollowsAnOffsetTextHandler) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(64));
  ed.OnGetOffsetText = [](QObject*, int64_t n, QString& text) { text = QStringLiteral("Zeile %1").arg(n / 16); };
  ed.UpdateGutterWidth();
  EXPECT_EQ(ed.GetOffsetText(32), QStringLiteral("Zeile 2"));
  EXPECT_EQ(ed.GutterChars(), 8);
  ed.SetGutterWidth(77);
  EXPECT_EQ(ed.ColWidths(0), 77);
}

TEST(Layout, VisiblePositions) {
  TCustomVXHexEditor ed;
  EXPECT_EQ(ed.FirstVisiblePosition(), -1);
  ed.resize(600, 200);
  LoadBytes(ed, Counting(4096));
  EXPECT_EQ(ed.FirstVisiblePosition(), 0);
  EXPECT_EQ(ed.LastVisiblePosition(), ed.VisibleRowCount() * 16 - 1);
  ed.SetTopRow(100);
  EXPECT_EQ(ed.FirstVisiblePosition(), 98 * 16);
}

TEST(Layout, UnicodeCharactersHalveTheCharacterField) {
  TCustomVXHexEditor ed;
  LoadBytes(ed, Counting(64));
  ed.SetUnicodeChars(true);
  EXPECT_EQ(ed.ColCount(), 43);
  EXPECT_EQ(ed.CellToPosition(35 + 3, 2), 6);  // character column c shows bytes 2c and 2c + 1
  EXPECT_EQ(ed.PositionToCell(7, true), (TGridCoord{38, 2}));
  EXPECT_EQ(ed.OtherFieldColumn(38), 14);
  EXPECT_EQ(ErrorOf([&] { ed.SetBytesPerRow(15); }), "Ungültige Anzahl Bytes per Zeile");
  EXPECT_EQ(ed.BytesPerRow(), 16);
  ed.SetUnicodeChars(false);
  EXPECT_EQ(ed.ColCount(), 51);
}
