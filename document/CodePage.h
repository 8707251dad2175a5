#pragma once
// The graph file stores its texts as 8-bit Western Windows code page
// (Windows-1252) bytes; everything that shows or takes a text converts at
// its edge, through the system's converter, so every part agrees on what a
// byte means.

#include <optional>
#include <string>
#include <string_view>

// UTF-8 for the bytes. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same
// number, so a stored text survives a trip through an edit box unchanged.
std::string codePageToUtf8(std::string_view bytes);

// The code-page bytes for a UTF-8 text, or nothing when the text is not
// UTF-8 or holds a character the code page cannot store.
std::optional<std::string> utf8ToCodePage(std::string_view utf8);

// True when the code page can store this character.
bool codePageHolds(char32_t ch);
