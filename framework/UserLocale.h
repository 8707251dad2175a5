#pragma once
// The user's own notation for numbers a person reads (the Points window, the
// rows copied for a spreadsheet, what a screen reader is told). The toolkit
// leaves the process in the "C" locale, and files and the number boxes'
// readers rely on that, so the desktop's locale is looked up beside it, as
// the session's environment names it (LC_ALL, LC_NUMERIC, LANG). Only a
// comma or a full stop is taken; files never use this.

#include <langinfo.h>
#include <locale.h>

inline char userDecimalPoint()
{
    // Looked up each time (the loaded locale is cached by the C library), so
    // a changed environment is followed.
    const locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (!user)
        return '.';
    const char* radix = nl_langinfo_l(RADIXCHAR, user);
    const char point = radix && radix[0] == ',' ? ',' : '.';
    freelocale(user);
    return point;
}
