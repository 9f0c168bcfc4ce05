#include "core/Assert.h"

#include <cstdio>
#include <cstdlib>

void pp_assert_fail(const char* file, unsigned line, const char* text)
{
    std::fprintf(stderr, "%s:%u: failed assertion `%s'\n", file, line, text);
    std::fflush(stderr);
    std::abort();
}
