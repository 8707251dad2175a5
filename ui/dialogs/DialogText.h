#pragma once
// Copies a control's text into one of the document's fixed text arrays.

#include <algorithm>
#include <cstring>
#include <string_view>

// Keeps at most N - 1 characters and zero-fills the rest, so the array is
// always terminated and holds no bytes from an earlier text.
template <std::size_t N> void storeText(char (&dest)[N], std::string_view text)
{
    const std::size_t n = std::min(text.size(), N - 1);
    std::memcpy(dest, text.data(), n);
    std::memset(dest + n, 0, N - n);
}
