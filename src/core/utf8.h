// UTF-8 <-> UTF-32, so that scanners can count characters, not bytes.
#pragma once

#include <string>
#include <string_view>

namespace cn {

// Invalid bytes decode to U+FFFD each (a bad, overlong, surrogate or cut-off
// sequence gives one U+FFFD per byte); decoding never fails. Encoding writes
// U+FFFD for surrogates and values above U+10FFFF.
std::u32string Utf8ToU32(std::string_view text);
std::string U32ToUtf8(std::u32string_view text);

}  // namespace cn
