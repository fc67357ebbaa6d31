#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hexeditor/VXHConvert.h"
#include "hexeditor/VXHExceptions.h"

namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string s;
  for (uint8_t b : bytes) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X ", b);
    s += buf;
  }
  if (!s.empty()) s.pop_back();
  return s;
}

std::vector<uint8_t> HexToBin(const std::string& text, bool swap) {
  // Sized exactly to Count / 2 so ASan sees a write past the documented minimum.
  std::vector<uint8_t> dest(text.size() / 2 + (text.empty() ? 1 : 0), 0xEE);
  int count = -1;
  uint8_t* r = ConvertHexToBin(text.data(), dest.data(), static_cast<int>(text.size()), swap, count);
  EXPECT_EQ(r, dest.data());
  dest.resize(count < 0 ? 0 : count);
  return dest;
}

QString ParseMessage(const QString& text) {
  try {
    ParseRadixNumber(text);
  } catch (const EVXHexEditor& e) {
    return QStringLiteral("EVXHexEditor: ") + e.Message();
  } catch (const EConvertError& e) {
    return QStringLiteral("EConvertError: ") + e.Message();
  }
  return QStringLiteral("no error");
}

}  // namespace

TEST(ConvertHexToBin, PairsDigitsAndSkipsEverythingElse) {
  struct Case { std::string text; bool swap; std::string bytes; };
  const Case cases[] = {
      {"0a 1B-2c", false, "0A 1B 2C"},
      {"0a 1B-2c", true, "A0 B1 C2"},
      {"abc", false, "AB"},         // the odd last digit is dropped
      {"", false, ""},
      {"xyz ,;-", false, ""},
      {"F", false, ""},
      {"F F", false, "FF"},         // a pair may be split by a separator
      {"gG0hH1", false, "01"},      // letters beyond f are not digits
      {std::string("1\0" "2", 3), false, "12"},  // NUL is skipped, not an end
      {"\xC4" "A\xFF" "5", false, "A5"},          // bytes above 7Fh are never digits
      {"00ff7F80", true, "00 FF F7 08"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Hex(HexToBin(c.text, c.swap)), c.bytes) << '"' << c.text << "\" swap=" << c.swap;
}

TEST(ConvertHexToBin, ReadsOnlyCountCharacters) {
  uint8_t dest[4] = {};
  int count = -1;
  ConvertHexToBin("12345678", dest, 5, false, count);  // "12345": the fifth digit is unpaired
  EXPECT_EQ(count, 2);
  EXPECT_EQ(dest[0], 0x12);
  EXPECT_EQ(dest[1], 0x34);
  EXPECT_EQ(dest[2], 0x00);
}

TEST(ConvertBinToHex, UpperCaseDigitsAndTerminatingNul) {
  const uint8_t bytes[] = {0x0A, 0xFF, 0x5C};
  char out[2 * 3 + 2];
  std::memset(out, 'Z', sizeof out);
  EXPECT_EQ(ConvertBinToHex(bytes, out, 2, false), out);
  EXPECT_STREQ(out, "0AFF");
  ConvertBinToHex(bytes, out, 3, true);
  EXPECT_STREQ(out, "A0FFC5");
  EXPECT_EQ(out[7], 'Z');  // nothing written beyond 2 x Count + 1

  char empty[1] = {'Z'};
  ConvertBinToHex(bytes, empty, 0, false);
  EXPECT_EQ(empty[0], '\0');
}

TEST(ConvertHex, AllBytesRoundTripInBothNibbleOrders) {
  std::vector<uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
  for (bool swap : {false, true}) {
    std::string text(2 * 256 + 1, '\0');
    ConvertBinToHex(all.data(), text.data(), 256, swap);
    text.pop_back();
    EXPECT_EQ(HexToBin(text, swap), all) << "swap=" << swap;
  }
}

TEST(ConvertHex, TextForms) {
  EXPECT_EQ(ConvertHexToBin(QStringLiteral("0a 1B-2c"), false), QByteArray("\x0A\x1B\x2C"));
  EXPECT_EQ(ConvertHexToBin(QStringLiteral("äa€b c"), false), QByteArray("\xAB"));
  EXPECT_EQ(ConvertHexToBin(QStringLiteral("F"), true), QByteArray());
  EXPECT_EQ(ConvertBinToHex(QByteArray("\x0A\xFF", 2), true), QStringLiteral("A0FF"));
  EXPECT_EQ(ConvertBinToHex(QByteArray(), false), QString());
}

TEST(IntToRadix, DigitsAndPadding) {
  struct Case { uint32_t value; int radix; int minDigits; const char* text; };
  const Case cases[] = {
      {0, 2, 0, "0"},           {0, 16, 3, "000"},       {255, 16, 4, "00FF"},
      {4294967295u, 16, 0, "FFFFFFFF"}, {4294967295u, 2, 0, "11111111111111111111111111111111"},
      {4294967295u, 10, 0, "4294967295"}, {10, 2, 0, "1010"}, {15, 8, 0, "17"},
      {35, 16, 1, "23"},        {123, 10, 2, "123"},     {171, 11, 0, "146"}, {255, 16, 0, "FF"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IntToRadix(c.value, c.radix, c.minDigits), QString::fromLatin1(c.text))
        << c.value << " radix " << c.radix << " min " << c.minDigits;
  EXPECT_EQ(IntToRadix(4080, 16), QStringLiteral("FF0"));
  EXPECT_EQ(IntToRadix(1, 16, 255).size(), 255);
}

TEST(RadixToInt, ValuesAndWrapAround) {
  EXPECT_EQ(RadixToInt(QStringLiteral("ff"), 16), 255);
  EXPECT_EQ(RadixToInt(QStringLiteral("FFFFFFFF"), 16), -1);
  EXPECT_EQ(RadixToInt(QStringLiteral("100000000"), 16), 0);  // 32-bit wrap, no error
  EXPECT_EQ(RadixToInt(QStringLiteral(""), 2), 0);
  EXPECT_EQ(RadixToInt(QStringLiteral("777"), 8), 511);
  EXPECT_EQ(RadixToInt(QStringLiteral("1010"), 2), 10);
  EXPECT_EQ(RadixToInt(QStringLiteral("0099"), 10), 99);
}

TEST(RadixToInt, BadCharacterMessageNamesCharacterAndRadixInHex) {
  struct Case { const char16_t* text; int radix; const char16_t* message; };
  const Case cases[] = {
      {u"8", 8, u"Ungültiges Zeichen 8 - es kann nicht mit Radix 8h konvertiert werden"},
      {u"12", 2, u"Ungültiges Zeichen 2 - es kann nicht mit Radix 2h konvertiert werden"},
      {u"1g", 16, u"Ungültiges Zeichen G - es kann nicht mit Radix 10h konvertiert werden"},
      {u"9b", 10, u"Ungültiges Zeichen B - es kann nicht mit Radix Ah konvertiert werden"},
      {u"-1", 10, u"Ungültiges Zeichen - - es kann nicht mit Radix Ah konvertiert werden"},
      {u" 1", 16, u"Ungültiges Zeichen   - es kann nicht mit Radix 10h konvertiert werden"},
      {u"1ä", 16, u"Ungültiges Zeichen ä - es kann nicht mit Radix 10h konvertiert werden"},
  };
  for (const Case& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    try {
      RadixToInt(text, c.radix);
      ADD_FAILURE() << "no error for " << text.toStdString();
    } catch (const EVXHexEditor& e) {
      EXPECT_EQ(e.Message(), QString::fromUtf16(c.message));
    }
  }
}

TEST(ParseRadixNumber, PrefixesAndSuffixes) {
  struct Case { const char* text; int value; };
  const Case cases[] = {
      {"0x1f", 31}, {"0X1F", 31}, {"$1F", 31}, {"1fh", 31}, {"1FH", 31}, {"ABh", 171},
      {"17o", 15},  {"17O", 15},  {"O17", 15}, {"o17", 15}, {"1010%", 10}, {"%1010", 10},
      {"-12", -12}, {"+7", 7},    {"0x", 0},  {"$", 0},    {"h", 0},
      {"0xFFFFFFFF", -1}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
      {"0", 0}, {"00017", 17},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseRadixNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(ParseRadixNumber, FirstMatchingRuleDecides) {
  // Texts that match more than one rule; the error shows which rule took them.
  struct Case { const char* text; const char* badChar; const char* radix; };
  const Case cases[] = {
      {"0x1Fh", "H", "10h"},  // "0x" prefix before the h suffix
      {"$17o", "O", "10h"},   // "$" prefix before the o suffix
      {"o17h", "O", "10h"},   // h suffix before the o prefix
      {"%101o", "%", "8h"},   // o suffix before the % prefix
      {"o12%", "%", "8h"},    // o prefix before the % suffix
      {"%12%", "%", "2h"},    // % suffix before the % prefix
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseMessage(QString::fromLatin1(c.text)),
              QStringLiteral("EVXHexEditor: Ungültiges Zeichen %1 - es kann nicht mit Radix %2 konvertiert werden")
                  .arg(QLatin1String(c.badChar), QLatin1String(c.radix)))
        << c.text;
}

TEST(ParseRadixNumber, Errors) {
  struct Case { const char* text; const char16_t* message; };
  const Case cases[] = {
      {"0x1G", u"EVXHexEditor: Ungültiges Zeichen G - es kann nicht mit Radix 10h konvertiert werden"},
      {"18o", u"EVXHexEditor: Ungültiges Zeichen 8 - es kann nicht mit Radix 8h konvertiert werden"},
      {"102%", u"EVXHexEditor: Ungültiges Zeichen 2 - es kann nicht mit Radix 2h konvertiert werden"},
      {"-1Ah", u"EVXHexEditor: Ungültiges Zeichen - - es kann nicht mit Radix 10h konvertiert werden"},
      {"12G", u"EConvertError: '12G' ist kein gültiger Integerwert"},
      {"AB", u"EConvertError: 'AB' ist kein gültiger Integerwert"},
      {"", u"EConvertError: '' ist kein gültiger Integerwert"},
      {"+", u"EConvertError: '+' ist kein gültiger Integerwert"},
      {"zz", u"EConvertError: 'zz' ist kein gültiger Integerwert"},
      {"2147483648", u"EConvertError: '2147483648' ist kein gültiger Integerwert"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseMessage(QString::fromLatin1(c.text)), QString::fromUtf16(c.message)) << c.text;
}

TEST(SwapWord, ExchangesTheTwoBytes) {
  uint16_t v = 0x1234;
  SwapWord(v);
  EXPECT_EQ(v, 0x3412);
  SwapWord(v);
  EXPECT_EQ(v, 0x1234);
  EXPECT_EQ(Min(-3, 2), -3);
  EXPECT_EQ(Max(-3, 2), 2);
}
