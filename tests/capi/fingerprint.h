#ifndef QUILLMARK_CAPI_FINGERPRINT_H
#define QUILLMARK_CAPI_FINGERPRINT_H

/* A cheap fingerprint of polygons handed out (every float's bits and every size), to compare two
   reads of what should be the same shape. */

#include "quillmark_c.h"

#include <stddef.h>

static unsigned long fingerprint(const quillmark_polygons *whole)
{
    unsigned long h = 2166136261UL;
    const unsigned char *bytes = (const unsigned char *)whole->xy;
    size_t i, n = sizeof(float) * 2 * (size_t)whole->point_count;
    for (i = 0; i < n; ++i)
        h = (h ^ bytes[i]) * 16777619UL;
    for (i = 0; i < (size_t)whole->count; ++i)
        h = (h ^ (unsigned long)whole->sizes[i]) * 16777619UL;
    return h;
}

#endif
