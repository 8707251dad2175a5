#pragma once
// The program's texts are 8-bit Latin-1 strings, as the graph file stores
// them; the toolkit works in Unicode. A character Latin-1 cannot hold reads
// back as '?', so it is refused or shown rather than silently dropped.

#include <string>
#include <wx/string.h>

inline std::string toLatin1(const wxString& text)
{
    std::string bytes;
    bytes.reserve(text.length());
    for (wxUniChar ch : text) {
        const auto code = ch.GetValue();
        bytes += code < 256 ? static_cast<char>(code) : '?';
    }
    return bytes;
}

inline wxString fromLatin1(const std::string& text)
{
    return wxString(text.data(), wxConvISO8859_1, text.size());
}
