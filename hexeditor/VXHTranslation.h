// Character sets of the character field: the translation tables, the buffer conversions
// and the per-character rules for display and typing. Pure functions, no widget.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "hexeditor/VXHTranslationKind.h"
#include "hexeditor/VXHexEditorStrings.h"

// Names of the kinds, indexed by TVXHTranslationKind.
using VXHStrings::TranslationNames;
using VXHStrings::TranslationShortNames;
// The same, safe for any value (an unknown kind reads as tkAsIs).
const QString& TranslationName(TVXHTranslationKind Kind);
const QString& TranslationShortName(TVXHTranslationKind Kind);

using TVXHTranslationTable = std::array<uint8_t, 256>;

// From-foreign: index foreign byte, value Windows (ANSI) character; to-foreign: the inverse.
extern const TVXHTranslationTable MacFromForeign;
extern const TVXHTranslationTable MacToForeign;
extern const TVXHTranslationTable BcdFromForeign;
extern const TVXHTranslationTable BcdToForeign;
// Identity until a host program fills them; it must keep the two inverse to each other.
extern TVXHTranslationTable CustomFromForeign;
extern TVXHTranslationTable CustomToForeign;

// Windows characters -> foreign bytes and back, Count bytes. Source and Dest may be the
// same buffer. An unknown kind leaves Dest untouched. tkASCII converts like tkDos8 here;
// its 7-bit limit belongs to the character rules below.
void TranslateToForeign(TVXHTranslationKind Kind, const uint8_t* Source, uint8_t* Dest, int Count);
void TranslateFromForeign(TVXHTranslationKind Kind, const uint8_t* Source, uint8_t* Dest, int Count);

// The system's ANSI <-> OEM conversion of one character (CP1252 <-> CP850).
uint8_t CharToOemChar(uint8_t c);
uint8_t OemToCharChar(uint8_t c);

// The byte stored for a typed Windows character, or 0 when the character cannot be typed
// in this character set (control codes, and beyond 7 bits for tkASCII).
uint8_t CharToDataByte(TVXHTranslationKind Kind, uint8_t c);
// The Windows character shown for a data byte. Control codes become MaskChar unless
// MaskChar is 0; with tkASCII so do bytes above 7Fh.
uint8_t DataByteToChar(TVXHTranslationKind Kind, uint8_t MaskChar, uint8_t b);
