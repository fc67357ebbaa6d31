#include "platform/CodePages.h"
bool UnicodeToAnsi(char16_t c, uint8_t& out) {
  if (c > 0xFF) return false;
  out = static_cast<uint8_t>(c);
  return true;
}
