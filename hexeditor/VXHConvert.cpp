#include "hexeditor/VXHConvert.h"

#include "hexeditor/VXHExceptions.h"
#include "hexeditor/VXHexEditorStrings.h"

namespace {

// Value of a hex digit in either case, -1 for anything else.
constexpr int HexValue(unsigned ch) {
  for (int i = 0; i < 32; ++i)
    if (static_cast<unsigned char>(HexDigitSet[i]) == ch) return i & 15;
  return -1;
}

struct THexValueTable {
  int8_t v[256];
  constexpr THexValueTable() : v() {
    for (int i = 0; i < 256; ++i) v[i] = static_cast<int8_t>(HexValue(static_cast<unsigned>(i)));
  }
};
constexpr THexValueTable kHexValue;

constexpr uint8_t SwapNibbleOf(uint8_t b) { return static_cast<uint8_t>((b & 0x0F) << 4 | (b & 0xF0) >> 4); }

// Feeds hex digit values into bytes; shared by the char* and the QString form.
struct THexPairer {
  uint8_t* Dest;
  bool Swap;
  int Count = 0;
  bool First = true;
  uint8_t Value = 0;
  void Digit(int v) {
    if (First) {
      Value = static_cast<uint8_t>(v << 4);
    } else {
      Value = static_cast<uint8_t>(Value | v);
      Dest[Count++] = Swap ? SwapNibbleOf(Value) : Value;
    }
    First = !First;
  }
};

char AsciiUpper(char16_t c) {
  return static_cast<char>(c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c);
}

// "The rest" of Text after dropping Head characters in front and Tail at the end.
QString Middle(const QString& Text, qsizetype Head, qsizetype Tail) {
  return Text.mid(Head, Text.size() - Head - Tail);
}

}  // namespace

uint8_t* ConvertHexToBin(const char* Source, uint8_t* Dest, int Count, bool SwapNibbles, int& DestCount) {
  THexPairer p{Dest, SwapNibbles};
  for (int i = 0; i < Count; ++i) {
    const int v = kHexValue.v[static_cast<unsigned char>(Source[i])];
    if (v >= 0) p.Digit(v);
  }
  DestCount = p.Count;
  return Dest;
}

char* ConvertBinToHex(const uint8_t* Source, char* Dest, int Count, bool SwapNibbles) {
  int i = 0;
  for (; i < Count; ++i) {
    const char hi = HexDigitsUpper[Source[i] >> 4];
    const char lo = HexDigitsUpper[Source[i] & 0x0F];
    Dest[2 * i] = SwapNibbles ? lo : hi;
    Dest[2 * i + 1] = SwapNibbles ? hi : lo;
  }
  Dest[2 * i] = '\0';
  return Dest;
}

QByteArray ConvertHexToBin(const QString& Text, bool SwapNibbles) {
  QByteArray out(Text.size() / 2 + 1, '\0');
  THexPairer p{reinterpret_cast<uint8_t*>(out.data()), SwapNibbles};
  for (const QChar ch : Text) {
    if (ch.unicode() > 0xFF) continue;
    const int v = kHexValue.v[ch.unicode()];
    if (v >= 0) p.Digit(v);
  }
  out.truncate(p.Count);
  return out;
}

QString ConvertBinToHex(const QByteArray& Data, bool SwapNibbles) {
  QByteArray text(2 * Data.size() + 1, '\0');
  ConvertBinToHex(reinterpret_cast<const uint8_t*>(Data.constData()), text.data(),
                  static_cast<int>(Data.size()), SwapNibbles);
  text.chop(1);
  return QString::fromLatin1(text);
}

QString IntToRadix(uint32_t Value, int Radix, int MinDigits) {
  // Callers keep to 2..16; clamping keeps a bad one from looping forever or dividing by 0.
  const uint32_t radix = static_cast<uint32_t>(Radix < 2 ? 2 : Radix > 16 ? 16 : Radix);
  char digits[32];
  int n = 0;
  do {
    digits[n++] = HexDigitsUpper[Value % radix];
    Value /= radix;
  } while (Value != 0);
  QString s;
  s.reserve(n > MinDigits ? n : MinDigits);
  for (int i = n; i < MinDigits; ++i) s += u'0';
  while (n > 0) s += QLatin1Char(digits[--n]);
  return s;
}

int32_t RadixToInt(const QString& Text, int Radix) {
  uint32_t result = 0;
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const char16_t c = Text[i].unicode();
    // After upper-casing only "0".."9" and "A".."F" can have a value.
    const int value = c < 0x80 ? kHexValue.v[static_cast<unsigned char>(AsciiUpper(c))] : -1;
    if (value < 0 || value >= Radix) {
      // Show the offending character as the user typed it (a surrogate pair in one piece),
      // upper-cased like the digits are read.
      QString bad = c < 0x80 ? QString(QLatin1Char(AsciiUpper(c))) : QString(Text[i]);
      if (Text[i].isHighSurrogate() && i + 1 < Text.size() && Text[i + 1].isLowSurrogate())
        bad += Text[i + 1];
      // %xh shows the radix in upper-case hex, like the rest of the control's messages.
      throw EVXHexEditor(Format(VXHStrings::InvalidRadixChar, {bad, IntToRadix(static_cast<uint32_t>(Radix), 16)}));
    }
    result = result * static_cast<uint32_t>(Radix) + static_cast<uint32_t>(value);
  }
  return static_cast<int32_t>(result);
}

int32_t ParseRadixNumber(const QString& Text) {
  const qsizetype n = Text.size();
  const char first = n > 0 && Text[0].unicode() < 0x80 ? AsciiUpper(Text[0].unicode()) : '\0';
  const char second = n > 1 && Text[1].unicode() < 0x80 ? AsciiUpper(Text[1].unicode()) : '\0';
  const char last = n > 0 && Text[n - 1].unicode() < 0x80 ? AsciiUpper(Text[n - 1].unicode()) : '\0';

  if (first == '0' && second == 'X') return RadixToInt(Middle(Text, 2, 0), 16);
  if (first == '$') return RadixToInt(Middle(Text, 1, 0), 16);
  if (last == 'H') return RadixToInt(Middle(Text, 0, 1), 16);
  if (last == 'O') return RadixToInt(Middle(Text, 0, 1), 8);
  if (first == 'O') return RadixToInt(Middle(Text, 1, 0), 8);
  if (last == '%') return RadixToInt(Middle(Text, 0, 1), 2);
  if (first == '%') return RadixToInt(Middle(Text, 1, 0), 2);
  return StrToInt(Text);
}
