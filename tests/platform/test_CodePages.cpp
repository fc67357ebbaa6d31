#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "platform/CodePages.h"

TEST(Cp1252, UnicodeOfCodes80To9F) {
  struct Case { uint8_t code; char16_t u; };
  const Case cases[] = {
      {0x80, u'€'}, {0x82, u'‚'}, {0x83, u'ƒ'}, {0x84, u'„'}, {0x85, u'…'}, {0x86, u'†'},
      {0x87, u'‡'}, {0x88, u'ˆ'}, {0x89, u'‰'}, {0x8A, u'Š'}, {0x8B, u'‹'}, {0x8C, u'Œ'},
      {0x8E, u'Ž'}, {0x91, u'‘'}, {0x92, u'’'}, {0x93, u'“'}, {0x94, u'”'}, {0x95, u'•'},
      {0x96, u'–'}, {0x97, u'—'}, {0x98, u'˜'}, {0x99, u'™'}, {0x9A, u'š'}, {0x9B, u'›'},
      {0x9C, u'œ'}, {0x9E, u'ž'}, {0x9F, u'Ÿ'},
      // undefined in CP1252: the C1 control of the same number
      {0x81, 0x81}, {0x8D, 0x8D}, {0x8F, 0x8F}, {0x90, 0x90}, {0x9D, 0x9D},
      {0x00, 0x00}, {0x41, u'A'}, {0x7F, 0x7F}, {0xA0, 0xA0}, {0xC4, u'Ä'}, {0xDF, u'ß'}, {0xFF, u'ÿ'},
  };
  for (const Case& c : cases) EXPECT_EQ(AnsiToUnicode(c.code), c.u) << std::hex << int(c.code);
}

TEST(Cp1252, EveryCodeRoundTripsThroughUnicode) {
  std::set<char16_t> seen;
  for (int i = 0; i < 256; ++i) {
    const char16_t u = AnsiToUnicode(static_cast<uint8_t>(i));
    EXPECT_TRUE(seen.insert(u).second) << "two codes for U+" << std::hex << int(u);
    uint8_t back = 0;
    ASSERT_TRUE(UnicodeToAnsi(u, back)) << i;
    EXPECT_EQ(back, i);
  }
}

TEST(Cp1252, CharactersWithoutCodeAreNotTypeable) {
  for (char16_t u : {u'Ā', u'ı', u'─', u'Ω', u'\u0080', u'\u009F', u'\uFFFD', u'\xD800'}) {
    uint8_t c = 0x55;
    EXPECT_FALSE(UnicodeToAnsi(u, c)) << std::hex << int(u);
  }
}

TEST(Cp1252, StringHelpers) {
  const QByteArray bytes("A\x80\xE4\x9F\x81", 5);
  const QString text = AnsiBytesToString(bytes);
  EXPECT_EQ(text, QString::fromUtf16(u"A€äŸ\u0081"));
  EXPECT_EQ(StringToAnsiBytes(text), bytes);
  EXPECT_EQ(StringToAnsiBytes(QString::fromUtf16(u"aΩb😀c")), QByteArray("a?b?c"));  // pair counts once
  EXPECT_EQ(StringToAnsiBytes(QString::fromUtf16(u"Ω"), '_'), QByteArray("_"));
  EXPECT_EQ(AnsiBytesToString(nullptr, 0), QString());

  QByteArray all(256, '\0');
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  EXPECT_EQ(StringToAnsiBytes(AnsiBytesToString(all)), all);
}

TEST(Cp850, KnownLetters) {
  struct Case { uint8_t ansi; uint8_t oem; };
  const Case cases[] = {
      {0xE4, 0x84},  // ä
      {0xF6, 0x94},  // ö
      {0xFC, 0x81},  // ü
      {0xC4, 0x8E},  // Ä
      {0xD6, 0x99},  // Ö
      {0xDC, 0x9A},  // Ü
      {0xDF, 0xE1},  // ß
      {0xE9, 0x82},  // é
      {0xC7, 0x80},  // Ç
      {0xA7, 0xF5},  // §
      {0xB5, 0xE6},  // µ
      {0xA0, 0xFF},  // no-break space
      {0xD7, 0x9E},  // ×
      {0x83, 0x9F},  // ƒ
      {'A', 'A'}, {0x00, 0x00}, {0x7F, 0x7F},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AnsiToOem(c.ansi), c.oem) << std::hex << int(c.ansi);
    EXPECT_EQ(OemToAnsi(c.oem), c.ansi) << std::hex << int(c.oem);
  }
}

TEST(Cp850, ConversionIsAPermutationPairingSameCharacters) {
  int sameCharacter = 0;
  for (int a = 0; a < 256; ++a) {
    const uint8_t o = AnsiToOem(static_cast<uint8_t>(a));
    EXPECT_EQ(OemToAnsi(o), a) << "ANSI " << a << " does not survive a round trip";
    EXPECT_EQ(AnsiToOem(OemToAnsi(static_cast<uint8_t>(a))), a) << "OEM " << a;
    // Where both sets know the character, the conversion keeps it.
    uint8_t viaUnicode = 0;
    if (UnicodeToOem(AnsiToUnicode(static_cast<uint8_t>(a)), viaUnicode)) {
      EXPECT_EQ(o, viaUnicode) << "ANSI " << a;
      ++sameCharacter;
    }
  }
  EXPECT_EQ(sameCharacter, 225);  // ASCII, Latin-1 and ƒ
}

TEST(Cp850, OemGlyphs) {
  EXPECT_EQ(OemToUnicode(0xC4), u'─');
  EXPECT_EQ(OemToUnicode(0xB3), u'│');
  EXPECT_EQ(OemToUnicode(0xDB), u'█');
  EXPECT_EQ(OemToUnicode(0xD5), u'ı');
  EXPECT_EQ(OemToUnicode(0x84), u'ä');
  uint8_t c = 0;
  ASSERT_TRUE(UnicodeToOem(u'ß', c));
  EXPECT_EQ(c, 0xE1);
  EXPECT_FALSE(UnicodeToOem(u'€', c));
  // The shape pairings of the characters that have no counterpart.
  EXPECT_EQ(AnsiToOem(0x96), 0xC4);  // – and ─
  EXPECT_EQ(AnsiToOem(0x97), 0xCD);  // — and ═
  EXPECT_EQ(AnsiToOem(0x95), 0xFE);  // • and ■
}

TEST(Cp850, BufferFormsWorkInPlace) {
  uint8_t buf[] = {'a', 0xE4, 0xDF, 0x80};
  AnsiToOemBuff(buf, buf, 4);
  EXPECT_EQ(buf[0], 'a');
  EXPECT_EQ(buf[1], 0x84);
  EXPECT_EQ(buf[2], 0xE1);
  OemToAnsiBuff(buf, buf, 4);
  const uint8_t original[] = {'a', 0xE4, 0xDF, 0x80};
  EXPECT_EQ(0, std::memcmp(buf, original, 4));
}

TEST(AnsiLower, AgreesWithUnicodeForEveryCode) {
  // Every capital with a lower-case partner in CP1252 is lowered to it; nothing else moves.
  int changed = 0;
  for (int i = 0; i < 256; ++i) {
    const QChar lowerChar = QChar(AnsiToUnicode(static_cast<uint8_t>(i))).toLower();
    uint8_t expected = static_cast<uint8_t>(i);
    if (!UnicodeToAnsi(lowerChar.unicode(), expected)) expected = static_cast<uint8_t>(i);
    EXPECT_EQ(AnsiLowerChar(static_cast<uint8_t>(i)), expected) << std::hex << i;
    if (expected != i) ++changed;
  }
  EXPECT_EQ(changed, 26 + 30 + 4);  // A-Z, C0..DE without D7, Š Œ Ž Ÿ
  EXPECT_EQ(AnsiLowerChar(0xC4), 0xE4);  // Ä
  EXPECT_EQ(AnsiLowerChar(0xDF), 0xDF);  // ß has no capital here
  EXPECT_EQ(AnsiLowerChar(0xD7), 0xD7);  // ×

  uint8_t text[] = {'A', 0xC4, 0xD7, 0xDF, 0x8A};
  AnsiLowerBuff(text, 5);
  const uint8_t lowered[] = {'a', 0xE4, 0xD7, 0xDF, 0x9A};
  EXPECT_EQ(0, std::memcmp(text, lowered, 5));
}
