#pragma once
#include <cstdint>

// The character sets the character field can show.
enum TVXHTranslationKind : uint8_t { tkAsIs, tkDos8, tkASCII, tkMac, tkBCD, tkCustom };
