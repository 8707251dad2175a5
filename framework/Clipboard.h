#pragma once
// The desktop's clipboard. What we offer is handed over on request, in the
// types offered; where the desktop runs a clipboard manager it may keep the
// content once the program has ended.

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct ClipboardItem {
    std::string type; // a MIME type; "text/plain" offers every text target
    std::string bytes;
    // When set, makes the bytes the first time a program asks for them, so
    // a form nobody pastes costs nothing.
    std::function<std::string()> make = nullptr;
};

// Takes the clipboard with these items; false when the desktop refused it.
bool setClipboard(std::vector<ClipboardItem> items);
// Asks the clipboard manager to keep what we still offer (done at exit).
void storeClipboard();
// The clipboard's text, or nothing when it holds none.
std::optional<std::string> clipboardText();
// The types the clipboard offers now, and the bytes of one of them.
std::vector<std::string> clipboardTypes();
std::string clipboardData(const std::string& type);
