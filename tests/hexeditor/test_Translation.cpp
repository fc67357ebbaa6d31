#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include "hexeditor/VXHTranslation.h"
#include "hexeditor/VXHexEditor.h"

namespace {

std::vector<uint8_t> AllBytes() {
  std::vector<uint8_t> v(256);
  for (int i = 0; i < 256; ++i) v[i] = static_cast<uint8_t>(i);
  return v;
}

// Puts the custom tables back however a test left them.
class CustomTablesGuard {
public:
  CustomTablesGuard() : FFrom(CustomFromForeign), FTo(CustomToForeign) {}
  ~CustomTablesGuard() {
    CustomFromForeign = FFrom;
    CustomToForeign = FTo;
  }
private:
  TVXHTranslationTable FFrom, FTo;
};

}  // namespace

TEST(TranslationNames, LongAndShortNames) {
  const char* longNames[] = {"Windows", "Dos 8 Bit", "ASCII 7 Bit", "Macintosh", "EBCDIC Codepage 38",
                             "Custom Translation"};
  const char* shortNames[] = {"WIN", "DOS", "ASC", "MAC", "BCD", "Cust"};
  for (int k = tkAsIs; k <= tkCustom; ++k) {
    EXPECT_EQ(TranslationNames[k], QString::fromLatin1(longNames[k]));
    EXPECT_EQ(TranslationShortNames[k], QString::fromLatin1(shortNames[k]));
    EXPECT_EQ(TranslationName(static_cast<TVXHTranslationKind>(k)), QString::fromLatin1(longNames[k]));
  }
  EXPECT_EQ(TranslationShortName(static_cast<TVXHTranslationKind>(200)), QStringLiteral("WIN"));
  EXPECT_EQ(VXHStrings::UnicodeName, QStringLiteral("Unicode"));
  EXPECT_EQ(VXHStrings::UnicodeShortName, QStringLiteral("UC"));
  EXPECT_EQ(VXHStrings::UnicodeBigEndianName, QStringLiteral("Unicode Big Endian"));
  EXPECT_EQ(VXHStrings::UnicodeBigEndianShortName, QStringLiteral("UBE"));
}

TEST(TranslationTables, SpotValues) {
  EXPECT_EQ(MacFromForeign[0x80], 0xC4);
  EXPECT_EQ(MacToForeign[0xC4], 0x80);
  EXPECT_EQ(MacFromForeign[0xFF], 0xAF);
  EXPECT_EQ(MacFromForeign[0xA7], 0xDF);  // ß
  for (int i = 0; i < 0x80; ++i) EXPECT_EQ(MacFromForeign[i], i);
  EXPECT_EQ(BcdFromForeign[0xC1], 'A');
  EXPECT_EQ(BcdFromForeign[0x81], 'a');
  EXPECT_EQ(BcdFromForeign[0xF0], '0');
  EXPECT_EQ(BcdFromForeign[0x40], ' ');
  EXPECT_EQ(BcdToForeign['Z'], 0xE9);
  EXPECT_EQ(BcdToForeign[0x0A], 0x25);
}

TEST(TranslationTables, EveryByteRoundTripsForEachKind) {
  for (TVXHTranslationKind kind : {tkAsIs, tkDos8, tkASCII, tkMac, tkBCD, tkCustom}) {
    // Into the foreign set and back, in place.
    std::vector<uint8_t> buf = AllBytes();
    TranslateToForeign(kind, buf.data(), buf.data(), 256);
    std::vector<uint8_t> sorted = buf;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, AllBytes()) << "kind " << int(kind) << " is not a permutation";
    TranslateFromForeign(kind, buf.data(), buf.data(), 256);
    EXPECT_EQ(buf, AllBytes()) << "kind " << int(kind);

    // From the foreign set and back, between separate buffers.
    const std::vector<uint8_t> src = AllBytes();
    std::vector<uint8_t> win(256), foreign(256);
    TranslateFromForeign(kind, src.data(), win.data(), 256);
    TranslateToForeign(kind, win.data(), foreign.data(), 256);
    EXPECT_EQ(foreign, src) << "kind " << int(kind);
  }
}

TEST(TranslationTables, BufferConversionsUseTheirKind) {
  const uint8_t text[] = {'A', 0xE4, 0xC4, 0x80};  // A ä Ä €
  struct Case { TVXHTranslationKind kind; std::array<uint8_t, 4> foreign; };
  const Case cases[] = {
      {tkAsIs, {'A', 0xE4, 0xC4, 0x80}},
      {tkDos8, {'A', 0x84, 0x8E, 0xB0}},
      {tkASCII, {'A', 0x84, 0x8E, 0xB0}},  // no 7-bit limit in buffer conversions
      {tkMac, {'A', 0x8A, 0x80, 0xC4}},
      {tkBCD, {0xC1, 0x55, 0x44, 0x80}},
      {tkCustom, {'A', 0xE4, 0xC4, 0x80}},
  };
  for (const Case& c : cases) {
    std::array<uint8_t, 4> out{};
    TranslateToForeign(c.kind, text, out.data(), 4);
    EXPECT_EQ(out, c.foreign) << "kind " << int(c.kind);
    std::array<uint8_t, 4> back{};
    TranslateFromForeign(c.kind, out.data(), back.data(), 4);
    EXPECT_EQ(0, std::memcmp(back.data(), text, 4)) << "kind " << int(c.kind);
  }
}

TEST(TranslationTables, UnknownKindLeavesDestUntouched) {
  const uint8_t src[] = {1, 2, 3};
  uint8_t dest[] = {9, 9, 9};
  TranslateToForeign(static_cast<TVXHTranslationKind>(6), src, dest, 3);
  TranslateFromForeign(static_cast<TVXHTranslationKind>(77), src, dest, 3);
  EXPECT_EQ(dest[0], 9);
  EXPECT_EQ(dest[2], 9);
}

TEST(TranslationTables, CustomTablesStartAsIdentityAndAreUsed) {
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(CustomFromForeign[i], i);
    EXPECT_EQ(CustomToForeign[i], i);
  }
  CustomTablesGuard guard;
  // A host swaps 'a' and 'b' in its custom set.
  std::swap(CustomFromForeign['a'], CustomFromForeign['b']);
  std::swap(CustomToForeign['a'], CustomToForeign['b']);
  uint8_t buf[] = {'a', 'b', 'c'};
  TranslateToForeign(tkCustom, buf, buf, 3);
  EXPECT_EQ(buf[0], 'b');
  EXPECT_EQ(buf[1], 'a');
  EXPECT_EQ(buf[2], 'c');
  EXPECT_EQ(CharToDataByte(tkCustom, 'a'), 'b');
  EXPECT_EQ(DataByteToChar(tkCustom, '.', 'b'), 'a');
}

TEST(CharacterRules, TypedCharacterToDataByte) {
  struct Case { TVXHTranslationKind kind; uint8_t typed; uint8_t stored; };
  const Case cases[] = {
      {tkAsIs, 'A', 'A'},   {tkAsIs, 0x80, 0x80}, {tkAsIs, 0x1F, 0},   {tkAsIs, 0x00, 0},
      {tkAsIs, ' ', ' '},   {tkAsIs, 0xFF, 0xFF},
      {tkMac, 0xC4, 0x80},  {tkMac, 'A', 'A'},    {tkMac, 0x0D, 0},
      {tkBCD, 'A', 0xC1},   {tkBCD, 'a', 0x81},   {tkBCD, ' ', 0x40},  {tkBCD, '0', 0xF0},
      {tkBCD, 0xF7, 0},     // ÷ is EBCDIC 04h, a control code
      {tkBCD, 0xD2, 0},     // EBCDIC 06h
      {tkBCD, 0x7F, 0},     // EBCDIC 07h
      {tkDos8, 0xE4, 0x84}, {tkDos8, 0xDF, 0xE1}, {tkDos8, 0x80, 0xB0}, {tkDos8, 0x1F, 0},
      {tkDos8, 0x20, 0x20},
      {tkASCII, 'A', 'A'},  {tkASCII, 0x7F, 0x7F}, {tkASCII, 0x80, 0},  {tkASCII, 0xE4, 0},
      {tkASCII, 0x1F, 0},   {tkASCII, 0x20, 0x20},
      {tkCustom, 'A', 'A'}, {tkCustom, 0x09, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CharToDataByte(c.kind, c.typed), c.stored) << "kind " << int(c.kind) << " char " << std::hex
                                                          << int(c.typed);
}

TEST(CharacterRules, DataByteToDisplayedCharacter) {
  struct Case { TVXHTranslationKind kind; uint8_t mask; uint8_t data; uint8_t shown; };
  const Case cases[] = {
      {tkAsIs, '.', 'A', 'A'},   {tkAsIs, '.', 0x00, '.'},  {tkAsIs, '.', 0x1F, '.'},
      {tkAsIs, '.', 0x20, ' '},  {tkAsIs, '.', 0x80, 0x80},
      {tkMac, '.', 0x80, 0xC4},  {tkMac, '.', 'A', 'A'},    {tkMac, '.', 0x0A, '.'},
      {tkBCD, '.', 0xC1, 'A'},   {tkBCD, '.', 0x40, ' '},   {tkBCD, '.', 0x25, '.'},  // 25h is LF
      {tkBCD, '.', 0x04, 0xF7},  // a control in EBCDIC, a printable ÷ in Windows
      {tkDos8, '.', 0x84, 0xE4}, {tkDos8, '.', 0xE1, 0xDF}, {tkDos8, '.', 0x0A, '.'},
      {tkASCII, '.', 0x41, 'A'}, {tkASCII, '.', 0x84, '.'}, {tkASCII, '.', 0xFF, '.'},
      {tkASCII, '*', 0x80, '*'}, {tkASCII, '.', 0x0A, '.'},
      // MaskChar 0: nothing is masked, but tkASCII still shows 0 above 7Fh
      {tkAsIs, 0, 0x0A, 0x0A},   {tkAsIs, 0, 0x00, 0x00},   {tkBCD, 0, 0x25, 0x0A},
      {tkDos8, 0, 0x01, 0x01},   {tkASCII, 0, 0x84, 0x00},  {tkASCII, 0, 0x1B, 0x1B},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DataByteToChar(c.kind, c.mask, c.data), c.shown)
        << "kind " << int(c.kind) << " mask " << int(c.mask) << " byte " << std::hex << int(c.data);
}

TEST(CharacterRules, TypingWhatIsShownStoresTheSameByte) {
  // For every printable byte of a table-driven kind, typing its displayed character
  // stores the byte itself.
  for (TVXHTranslationKind kind : {tkAsIs, tkDos8, tkMac, tkBCD, tkCustom}) {
    for (int b = 0x20; b < 256; ++b) {
      const uint8_t shown = DataByteToChar(kind, '.', static_cast<uint8_t>(b));
      if (shown < 0x20 || shown == '.') continue;
      EXPECT_EQ(CharToDataByte(kind, shown), b) << "kind " << int(kind) << " byte " << b;
    }
  }
}

// ---- the control's properties

namespace {

class TTestEditor : public TCustomVXHexEditor {
public:
  void ForceBytesPerRow(int n) { FBytesPerRow = n; }
  void ForceBytesPerColumn(int n) { FBytesPerColumn = n; }
  void LoadBytes(int count) {
    TMemoryStream s;
    std::vector<uint8_t> data(count, 0x41);
    s.Write(data.data(), count);
    LoadFromStream(s);
  }
};

QString ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EVXHexEditor& e) {
    return e.Message();
  }
  return QStringLiteral("no error");
}

struct TState {
  bool unicode;
  TVXHTranslationKind translation;
  int unit;
  bool operator==(const TState&) const = default;
};

TState StateOf(const TCustomVXHexEditor& ed) { return {ed.UnicodeChars(), ed.Translation(), ed.BytesPerUnit()}; }

}  // namespace

TEST(TranslationProperties, Defaults) {
  TTestEditor ed;
  EXPECT_EQ(ed.Translation(), tkAsIs);
  EXPECT_FALSE(ed.UnicodeChars());
  EXPECT_FALSE(ed.UnicodeBigEndian());
  EXPECT_EQ(ed.BytesPerUnit(), 1);
  EXPECT_EQ(ed.MaskChar(), '.');
}

TEST(TranslationProperties, ControlRulesFollowTranslationAndMaskChar) {
  TTestEditor ed;
  ed.SetTranslation(tkMac);
  EXPECT_EQ(ed.DataByteToChar(0x80), 0xC4);
  EXPECT_EQ(ed.CharToDataByte(0xC4), 0x80);
  EXPECT_EQ(ed.DataByteToChar(0x01), '.');
  ed.SetMaskChar('*');
  EXPECT_EQ(ed.DataByteToChar(0x01), '*');
  ed.SetMaskChar(0);
  EXPECT_EQ(ed.DataByteToChar(0x01), 0x01);
  ed.SetTranslation(tkASCII);
  EXPECT_EQ(ed.DataByteToChar(0x84), 0x00);
  EXPECT_EQ(ed.CharToDataByte(0xE4), 0);
}

TEST(TranslationProperties, TranslationRefusedWhileUnicode) {
  TTestEditor ed;
  ed.SetUnicodeChars(true);
  EXPECT_EQ(ErrorOf([&] { ed.SetTranslation(tkDos8); }),
            QStringLiteral("Übersetzung kann nicht mit Unicode verwendet werden"));
  EXPECT_EQ(ed.Translation(), tkAsIs);
  EXPECT_EQ(ErrorOf([&] { ed.SetTranslation(tkAsIs); }), QStringLiteral("no error"));
  ed.SetUnicodeChars(false);
  ed.SetTranslation(tkBCD);
  EXPECT_EQ(ed.Translation(), tkBCD);
}

TEST(TranslationProperties, SwitchingUnicodeOnResetsTranslationAndSetsUnitTwo) {
  TTestEditor ed;
  ed.SetBytesPerUnit(4);
  ed.SetTranslation(tkDos8);
  ed.SetUnicodeChars(true);
  EXPECT_EQ(StateOf(ed), (TState{true, tkAsIs, 2}));
  // Switching off keeps the unit of 2 and does not bring the translation back.
  ed.SetUnicodeChars(false);
  EXPECT_EQ(StateOf(ed), (TState{false, tkAsIs, 2}));
  ed.SetBytesPerUnit(1);
  ed.SetUnicodeChars(false);  // unchanged: nothing happens
  EXPECT_EQ(ed.BytesPerUnit(), 1);
}

TEST(TranslationProperties, UnicodeChecksInOrderAndChangeNothingOnFailure) {
  TTestEditor ed;
  ed.SetTranslation(tkMac);
  ed.SetBytesPerUnit(4);
  ed.ForceBytesPerRow(15);
  ed.ForceBytesPerColumn(3);
  ed.LoadBytes(5);
  const TState before{false, tkMac, 4};

  EXPECT_EQ(ErrorOf([&] { ed.SetUnicodeChars(true); }), QStringLiteral("Ungültige Anzahl Bytes per Zeile"));
  EXPECT_EQ(StateOf(ed), before);
  ed.ForceBytesPerRow(16);
  EXPECT_EQ(ErrorOf([&] { ed.SetUnicodeChars(true); }), QStringLiteral("Ungültige Anzahl Bytes per Spalte"));
  EXPECT_EQ(StateOf(ed), before);
  ed.ForceBytesPerColumn(2);
  EXPECT_EQ(ErrorOf([&] { ed.SetUnicodeChars(true); }),
            QStringLiteral("Unicode Mode kann nicht mit Dateien ungerader Bytezahl verwendet werden"));
  EXPECT_EQ(StateOf(ed), before);
  ed.LoadBytes(6);
  EXPECT_EQ(ErrorOf([&] { ed.SetUnicodeChars(true); }), QStringLiteral("no error"));
  EXPECT_EQ(StateOf(ed), (TState{true, tkAsIs, 2}));
}

TEST(TranslationProperties, BytesPerUnitRules) {
  TTestEditor ed;
  for (int v : {2, 4, 8, 1}) {
    ed.SetBytesPerUnit(v);
    EXPECT_EQ(ed.BytesPerUnit(), v);
  }
  struct Case { int value; const char* shown; };
  const Case bad[] = {{3, "3h"}, {0, "0h"}, {16, "10h"}, {10, "Ah"}, {-1, "FFFFFFFFh"}};
  for (const Case& c : bad) {
    EXPECT_EQ(ErrorOf([&] { ed.SetBytesPerUnit(c.value); }),
              QStringLiteral("Ungültige Anzahl Bytes Per Unit %1, erlaubt sind: 01h..BytesProZeile")
                  .arg(QLatin1String(c.shown)));
    EXPECT_EQ(ed.BytesPerUnit(), 1);
  }

  ed.SetUnicodeChars(true);
  for (int v : {1, 4, 3}) {  // the Unicode rule comes before the value check
    EXPECT_EQ(ErrorOf([&] { ed.SetBytesPerUnit(v); }),
              QStringLiteral("Bytes pro Unit muss auf 2 für Verwendung mit Unicode gesetzt werden"));
    EXPECT_EQ(ed.BytesPerUnit(), 2);
  }
  EXPECT_EQ(ErrorOf([&] { ed.SetBytesPerUnit(2); }), QStringLiteral("no error"));
}

TEST(TranslationProperties, UnicodeBigEndianIsStoredInBothModes) {
  TTestEditor ed;
  ed.SetUnicodeBigEndian(true);
  EXPECT_TRUE(ed.UnicodeBigEndian());
  ed.SetUnicodeChars(true);
  ed.SetUnicodeBigEndian(false);
  EXPECT_FALSE(ed.UnicodeBigEndian());
  EXPECT_TRUE(ed.UnicodeChars());
}
