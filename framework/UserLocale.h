#pragma once
// The user's own notation for numbers a person reads: the toolkit sets the
// process to the desktop's locale as it starts, so its decimal point is the
// user's. Only a comma or a full stop is taken; files never use this.

#include <clocale>

inline char userDecimalPoint()
{
    const std::lconv* numbers = std::localeconv();
    return numbers && numbers->decimal_point && numbers->decimal_point[0] == ',' ? ',' : '.';
}
