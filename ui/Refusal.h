#pragma once
// A refused entry is shown the same way wherever it was typed or pasted: its
// own caption, and the exclamation mark when it is a warning.

#include "document/GraphRules.h"
#include "framework/MessageBox.h"

// Shows why, owned by `owner`; true when there was something to refuse.
inline bool showRefusal(wxWindow* owner, const EntryProblem& why)
{
    if (why)
        MessageBox(owner, why.text, why.caption, MB_OK | (why.warning ? unsigned(MB_ICONEXCLAMATION) : 0u));
    return bool(why);
}
