// Bytes to hex text and back, unsigned numbers in radix 2..16, and the prefix/suffix
// number syntax of the go-to command. Pure functions, no widget.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// The digit of value v is HexDigitsUpper[v].
inline constexpr char HexDigitsUpper[] = "0123456789ABCDEF";
// The characters accepted as hex digits in hex text.
inline constexpr char HexDigitSet[] = "0123456789abcdef0123456789ABCDEF";

// Reads hex digit pairs from Count characters of Source into Dest and returns Dest;
// every character that is not a hex digit is skipped and a final unpaired digit is
// dropped. Dest needs room for Count / 2 bytes. With SwapNibbles each pair is read low
// nibble first.
uint8_t* ConvertHexToBin(const char* Source, uint8_t* Dest, int Count, bool SwapNibbles, int& DestCount);
// Writes 2 x Count upper-case digits and a terminating NUL (Dest: 2 x Count + 1 chars).
char* ConvertBinToHex(const uint8_t* Source, char* Dest, int Count, bool SwapNibbles);

// Convenience forms for callers holding text: characters outside Latin-1 are never hex
// digits and are skipped like any other non-digit.
QByteArray ConvertHexToBin(const QString& Text, bool SwapNibbles);
QString ConvertBinToHex(const QByteArray& Data, bool SwapNibbles);

// Upper-case digits of Value, left-padded with "0" to MinDigits. Radix is 2..16.
QString IntToRadix(uint32_t Value, int Radix, int MinDigits = 0);
// Digits of Text (either case) in Radix, wrapping in 32 bits; an empty text is 0.
// Raises EVXHexEditor on a character that is no digit of Radix.
int32_t RadixToInt(const QString& Text, int Radix);
// "0x1F", "$1F", "1Fh" (hex), "17o", "o17" (octal), "1010%", "%1010" (binary), else
// decimal with an optional sign. Raises EVXHexEditor or EConvertError on bad input.
int32_t ParseRadixNumber(const QString& Text);

inline void SwapWord(uint16_t& Value) { Value = static_cast<uint16_t>((Value >> 8) | (Value << 8)); }
inline int Min(int a, int b) { return a < b ? a : b; }
inline int Max(int a, int b) { return a > b ? a : b; }
