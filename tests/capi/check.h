#ifndef QUILLMARK_CAPI_CHECK_H
#define QUILLMARK_CAPI_CHECK_H

/* The checks of the C test programs: a failed one prints its file, line and condition and is
   counted in failures. Each program names itself in check_file before including this. */

#include <stdio.h>

static int failures = 0;

static int check(int ok, const char *what, int line)
{
    if (!ok) {
        fprintf(stderr, "%s:%d: failed: %s\n", check_file, line, what);
        ++failures;
    }
    return ok;
}
#define CHECK(cond) check((cond) != 0, #cond, __LINE__)

#endif
