#pragma once
#include <cstdint>
// Provisional until the code-page tables land.
bool UnicodeToAnsi(char16_t c, uint8_t& out);
