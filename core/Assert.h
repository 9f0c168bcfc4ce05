#pragma once

// Broken invariants print "<source>:<line>: failed assertion `<text>'" and stop the program.
// The source is the file's path below the project folder (the build maps __FILE__ so).
// PP_ASSERT prints the tested expression; PP_ASSERT_MSG prints its own text (often Polish,
// kept byte for byte).

[[noreturn]] void pp_assert_fail(const char* file, unsigned line, const char* text);

#define PP_ASSERT(expr) \
    ((expr) ? (void)0 : pp_assert_fail(__FILE__, __LINE__, #expr))

#define PP_ASSERT_MSG(expr, text) \
    ((expr) ? (void)0 : pp_assert_fail(__FILE__, __LINE__, text))
