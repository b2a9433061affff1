#pragma once

#include <string>
#include <string_view>

namespace zavrin {

// The program keeps its texts in UTF-8; Windows' wide functions take UTF-16.
// Invalid sequences become U+FFFD rather than cutting the text short.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace zavrin
