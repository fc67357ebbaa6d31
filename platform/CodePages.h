// The program's two 8-bit character sets: CP1252 is the ANSI (display) set, CP850, the
// OEM code page of German DOS, is the OEM set. Own tables, so the behaviour is the same
// on every platform whatever the system locale says.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// ---- ANSI (CP1252) <-> Unicode
// Every code has a character; the five codes CP1252 leaves undefined (81, 8D, 8F, 90,
// 9D) give the C1 control of the same number, as Windows does.
char16_t AnsiToUnicode(uint8_t c);
// False when the character has no CP1252 code (it cannot be typed or stored as ANSI).
bool UnicodeToAnsi(char16_t u, uint8_t& c);

// CP1252 bytes as text and back. Characters without a CP1252 code (and surrogate
// pairs, counted once) become Replacement.
QString AnsiBytesToString(const uint8_t* Source, int Count);
QString AnsiBytesToString(const QByteArray& Source);
QByteArray StringToAnsiBytes(const QString& Text, char Replacement = '?');

// ---- OEM (CP850) <-> Unicode, for showing OEM text with its own glyphs
char16_t OemToUnicode(uint8_t c);
bool UnicodeToOem(char16_t u, uint8_t& c);

// ---- ANSI <-> OEM
// Both directions are permutations of the 256 codes and inverse to each other, so any
// byte survives a round trip (see the pairing rule in CodePages.cpp).
uint8_t AnsiToOem(uint8_t c);
uint8_t OemToAnsi(uint8_t c);
// Source and Dest may be the same buffer.
void AnsiToOemBuff(const uint8_t* Source, uint8_t* Dest, int Count);
void OemToAnsiBuff(const uint8_t* Source, uint8_t* Dest, int Count);

// ---- Lower-casing of one ANSI character as a German/Western locale does it: A-Z, the
// Latin-1 capitals C0..DE except the multiplication sign D7, and the CP1252 capitals
// Š, Œ, Ž and Ÿ. Everything else is returned unchanged.
uint8_t AnsiLowerChar(uint8_t c);
void AnsiLowerBuff(uint8_t* Buffer, int Count);
