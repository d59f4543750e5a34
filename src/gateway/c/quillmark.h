#ifndef QUILLMARK_H
#define QUILLMARK_H

/* quillmark for hosts written in C, or in any language that can call C (Python's ctypes, FFIs).
   A thin face over OxQuillmarkGateway: one pen is one gateway, each call below is one gateway
   call. Plain C89 declarations; no Qt and no C++ types. (It is installed at the top of the
   include folder, apart from the C++ class headers, where Quillmark.h would clash with it on a
   file system that ignores case.)

   Protocol:
     1. quillmark_pen_create(), then quillmark_pen_set_environment() with a pen type:
        QUILLMARK_PEN_FILLED (1) or QUILLMARK_PEN_BRUSH (2). A new pen has no engine and every
        sketch call on it returns 0 until this call succeeds.
     2. Per stroke, either the sample mode:
          quillmark_pen_start, quillmark_pen_move per sample, quillmark_pen_end or
          quillmark_pen_end_timed with the last sample;
        or the batch mode (only the recent part of the stroke is drawn):
          quillmark_pen_start, quillmark_pen_move_batch per batch, quillmark_pen_end_batch or
          quillmark_pen_end_batch_accumulated with the last sample.
     3. After every call read or copy the shape before the next call on this pen.
     4. quillmark_pen_destroy() at the end. A pen's engine serves one stroke: for the next stroke
        on a fresh engine call quillmark_pen_free_stroke(), then quillmark_pen_set_environment().

   Every sketch call returns 1 when it reached the engine and wrote *out, 0 when it did nothing
   and wrote nothing: a null pen or out, a pen without engine, an empty batch (count <= 0 or a
   null xy), or memory running out inside the library (treat arrays handed out before as gone).
   No call crashes on a null pointer; NaN or infinite positions are dropped by the engines.

   One thread at a time per pen. All pens of a process share one rectangle, the one that
   quillmark_pen_end_batch_accumulated reports. */

#include "QuillmarkExport.h"
#include "QuillmarkVersion.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct quillmark_pen quillmark_pen;

#define QUILLMARK_PEN_FILLED 1 /* filled outline of fixed width */
#define QUILLMARK_PEN_BRUSH 2  /* brush whose tail thins toward the pen tip */

/* Time stamps are milliseconds in a double. C89 has no integer type that is 64 bits everywhere
   (long is 32 bits on Windows), while a double holds every whole number of milliseconds up to
   2^53 (285 000 years) exactly. Fractions are dropped; values below 1, NaN and infinities mean
   "now" (the time of day). */
typedef double quillmark_time_ms;

/* What a sketch call hands back.

   The rectangle that changed (to repaint), in drawing units:
     left, top, width, height
   The shape, as arrays owned by the pen:

     coords      float[2 * point_count]   x0 y0 x1 y1 x2 y2 ...     (NULL when point_count is 0)
     path_sizes  int[path_count]          pairs per path            (NULL when path_count is 0)

     coords: | path 0: x y x y ... x y | path 1: x y ... x y | ...
               <--- path_sizes[0] pairs --> <- path_sizes[1] ->

   point_count is always the sum of path_sizes. The x of pair j of path i stands at
   coords[2 * (path_sizes[0] + ... + path_sizes[i-1] + j)], its y right after it.

   The filled pen hands out its smoothed centre line as one path of points (a path of size 0
   before it has any), except quillmark_pen_move_batch and quillmark_pen_end_batch, which hand
   out its filled outline. The brush hands out the elements of its outline: the body, then the
   tail paths (quillmark_pen_end_batch* hand out the tail paths only). An outline's elements are
   its move-to and line-to points and each cubic's two control points and end point, in order;
   their kinds are not handed out, so a host drawing polygons through the pairs draws the
   control points as vertices. Every element counts: an outline that holds nothing but a
   move-to (a tail without a segment yet, which starts at (0, 0)) is a path of one pair; only a
   path without elements gets no entry.

   Ownership and lifetime: the pen owns both arrays. They stay valid until the next sketch call
   on the same pen that returns 1, quillmark_pen_clearup() or quillmark_pen_destroy(),
   whichever comes first. The host never writes into them and never frees them; it copies what
   it keeps. */
typedef struct quillmark_shape {
    float left;
    float top;
    float width;
    float height;
    int point_count;
    int path_count;
    const int *path_sizes;
    const float *coords;
} quillmark_shape;

/* The library's version at run time, e.g. "0.1.0"; a static string. */
QUILLMARK_EXPORT const char *quillmark_version(void);
/* The same as numbers; null pointers are skipped. */
QUILLMARK_EXPORT void quillmark_version_numbers(int *major, int *minor, int *patch);

/* A new pen without engine (width 5, pen type 1 until configured); NULL when memory runs out.
   Release it with quillmark_pen_destroy. */
QUILLMARK_EXPORT quillmark_pen *quillmark_pen_create(void);
/* Destroys the pen, its engine and its arrays. NULL is ignored. */
QUILLMARK_EXPORT void quillmark_pen_destroy(quillmark_pen *pen);

/* Sets the pen (OxQuillmarkGateway::setEnvironmentPara). factor1, factor2 and pen_width must be
   positive finite numbers, pen_type positive; otherwise returns 0 and changes nothing. The same
   pen type keeps its engine and the stroke in it; another creates a new engine (types other
   than 1 and 2 are accepted and leave the pen without engine). Returns 1 on success. */
QUILLMARK_EXPORT int quillmark_pen_set_environment(quillmark_pen *pen, float factor1,
                                                   float factor2, float pen_width,
                                                   int pen_type);
/* Destroys the engine (freeStroke); settings and arrays stay. NULL is ignored. */
QUILLMARK_EXPORT void quillmark_pen_free_stroke(quillmark_pen *pen);
/* Releases the arrays handed out last (clearup). NULL is ignored. */
QUILLMARK_EXPORT void quillmark_pen_clearup(quillmark_pen *pen);

/* The first sample of a stroke (startSketch). Reports the engine's rectangle. */
QUILLMARK_EXPORT int quillmark_pen_start(quillmark_pen *pen, float x, float y,
                                         quillmark_time_ms time, quillmark_shape *out);
/* A further sample (sketching): the position is rounded to whole units (halves up) and stamped
   with the time of day. */
QUILLMARK_EXPORT int quillmark_pen_move(quillmark_pen *pen, float x, float y,
                                        quillmark_shape *out);
/* The last sample (endSketch), rounded and stamped like quillmark_pen_move. */
QUILLMARK_EXPORT int quillmark_pen_end(quillmark_pen *pen, float x, float y,
                                       quillmark_shape *out);
/* The last sample as given, with its time stamp (endSketch2). The brush reports its whole
   outline's bounds grown by the pen width. */
QUILLMARK_EXPORT int quillmark_pen_end_timed(quillmark_pen *pen, float x, float y,
                                             quillmark_time_ms time, quillmark_shape *out);

/* A batch of further samples (sketching2): count positions as x, y pairs in xy (read only);
   time stamps the newest of them. The rectangle is all 0 when the batch drew nothing. */
QUILLMARK_EXPORT int quillmark_pen_move_batch(quillmark_pen *pen, int count, const float *xy,
                                              quillmark_time_ms time, quillmark_shape *out);
/* The last sample of a batch-mode stroke (endSketch4). The filled pen stamps it with the time
   of day whatever time says. */
QUILLMARK_EXPORT int quillmark_pen_end_batch(quillmark_pen *pen, float x, float y,
                                             quillmark_time_ms time, quillmark_shape *out);
/* As quillmark_pen_end_batch (endSketch3), but the brush reports the union of the rectangles of
   the whole stroke, kept once per process: a quillmark_pen_start on any pen resets it. The
   filled pen ends nothing here: it hands out its centre line again and leaves the four
   rectangle fields of *out as they were. */
QUILLMARK_EXPORT int quillmark_pen_end_batch_accumulated(quillmark_pen *pen, float x, float y,
                                                         quillmark_time_ms time,
                                                         quillmark_shape *out);

#ifdef __cplusplus
}
#endif

#endif
