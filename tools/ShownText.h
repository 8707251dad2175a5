#pragma once
// What gd2 prints of a file's texts and of the names it is given: a text
// from a file may hold anything, and a terminal obeys control characters,
// so they are printed as escapes and never reach it raw.

#include <string>
#include <string_view>

// UTF-8 with every control character (C0, DEL, C1) and every byte that is
// not UTF-8 written as \xNN; for a text printed inside double quotes,
// backslash and double quote are escaped too, so it reads back unambiguously.
std::string escapedUtf8(std::string_view utf8, bool quoted = false);

// A record's code-page text, converted and escaped for printing in quotes.
std::string shownText(std::string_view codePageBytes);

// A record's code-page text as a JSON string, quotes included: UTF-8, with
// quote, backslash and every control character escaped.
std::string jsonText(std::string_view codePageBytes);

// A JSON string for a name the system gave (UTF-8, or bytes that are not,
// which are written as the characters of the same number).
std::string jsonName(std::string_view bytes);

// The shortest decimal that reads back as the same 32-bit float, in any
// locale.
std::string floatText(float v);
