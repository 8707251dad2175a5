#pragma once
// A test that needs what a machine may lack (keyboard focus on the display,
// root, an installed package) skips where it is missing; CI runs as root
// with everything the set-up installs, so there the lack is a failure
// rather than a skip that hides a test nobody ran.

#include <cstdlib>
#include <gtest/gtest.h>

#define SKIP_OR_FAIL_IN_CI(reason)                                                                           \
    do {                                                                                                     \
        if (std::getenv("CI"))                                                                               \
            FAIL() << (reason) << " (CI is set, where this must be available)";                              \
        else                                                                                                 \
            GTEST_SKIP() << (reason);                                                                        \
    } while (0)
