// CP1250 <-> UTF-8 at the system boundary (terminals, manifests, stderr).
#pragma once
#include <cstddef>
#include <string>

// The CP1250 text as UTF-8; bytes that CP1250 leaves undefined become U+FFFD.
std::string U8_from_cp1250(const char *text);
// UTF-8 text as CP1250; a character CP1250 lacks (or a broken sequence) becomes "?".
// *lossless (when given) is set to 0 when that happened, else 1.
std::string U8_to_cp1250(const char *text, int *lossless = nullptr);
// 1 when the bytes are well-formed UTF-8 holding at least one non-ASCII character.
int U8_is_utf8(const char *text, size_t length);
