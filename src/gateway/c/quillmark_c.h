#ifndef QUILLMARK_C_H
#define QUILLMARK_C_H

/* quillmark for hosts written in C, or in any language that can call C (Python's ctypes, FFIs).
   A thin face over OxQuillmarkGateway: one pen is one gateway, each call below is one gateway
   call. Plain C89 declarations; no Qt and no C++ types. It is installed at the top of the
   include folder, the C++ class headers in include/quillmark; its name differs from every class
   header's in more than case (Quillmark.h is the class Quillmark), so a C++ host may include
   both, on any file system.

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

/* ---------------------------------------------------------------------------------------------
   The stroke face: one stroke of any of the six engines, fed with the host's own numbers.

   Unlike the pen above, this face rounds nothing, reads no clock and copies no shape while the
   stroke is drawn: every sample call hands back only the changed rectangle, and the host reads
   the shape when it wants it (once per frame, say), either whole or as what changed since its
   previous read.

   Protocol:
     1. quillmark_stroke_create(engine, width).
     2. quillmark_stroke_start with the first sample, then one of these ways to feed it:
          ordinary: quillmark_stroke_add per sample (the brush also takes
                    quillmark_stroke_add_raw and quillmark_stroke_add_fitted), then
                    quillmark_stroke_end with the last sample;
          batch:    quillmark_stroke_add_batch per batch, then quillmark_stroke_end_batch
                    (fill and brush; only the recent part of the stroke is drawn).
        The first call after start decides the way: an ordinary call refuses the batch calls from
        then on, and a batch call the ordinary ones.
        Or instead of all of 2: quillmark_stroke_replay of a stored stroke, in one call.
     3. quillmark_stroke_polygons or quillmark_stroke_parts whenever the shape is wanted.
     4. quillmark_stroke_destroy. One stroke object draws one stroke; for the next, create
        another.

   Every sample call (start, add, end, the batch, raw and fitted calls and replay) returns
     1 when the call reached the engine: *changed holds the rectangle to repaint, all 0 when the
       engine dropped the input (a sample too close to the previous one, a sample with a
       coordinate, time stamp or pressure that is not a finite number, a batch with nothing
       usable); a dropped sample changes nothing;
     0 when the call was refused and changed nothing; quillmark_stroke_refusal then tells the one
       reason that applied (see QUILLMARK_REFUSED_NO_STROKE below for the list).
   *changed may be NULL; when it is not, a refused call sets it to all 0.

   Time stamps are milliseconds in a double, on any clock the host likes (the epoch, a monotonic
   clock, the stamps of a recorded stroke). The engines count time in whole milliseconds in an
   int, so each stamp is taken relative to the stroke's start (the stamp handed to
   quillmark_stroke_start counts as 0) and rounded to the nearest millisecond. A stamp that is
   not finite, or lies more than 2^31 - 1 ms (24 days) from the start, drops the sample. The
   speed and brush engines read time; results depend only on the stamps, never on when the host
   makes its calls. Stamps that go backwards are passed on as they are.

   Pressure is the pen pressure, 0 to 1 by convention; only the pressure engine reads it (its
   width is pressure * width). The other engines ignore it, but a pressure that is not finite
   drops the sample with every engine.

   Positions are taken as given (not rounded). Results are promised finite for coordinates,
   widths and pressures of magnitude up to 10^6.

   One thread at a time per stroke. Different strokes share nothing. */

/* The six engines. quillmark_engine_count, _name and _feeds read the library's own table of
   them, so a host (or a binding) lists the engines and what each accepts without a copy of its
   own. */
#define QUILLMARK_FIX 1      /* OxStrokesFixWidth: the smoothed centre line, to stroke at width */
#define QUILLMARK_FILL 2     /* OxStrokesFixWidthFill: filled outline of fixed width */
#define QUILLMARK_PRESSURE 3 /* OxStrokesVaryWidthPressure: width follows the pressure */
#define QUILLMARK_SPEED 4    /* OxStrokesVaryWidthTime: thins as the pen moves faster */
#define QUILLMARK_EXTEND 5   /* OxStrokesVaryWidthBackwardExtend: tail tapers over its length */
#define QUILLMARK_BRUSH 6    /* OxStrokesVaryWidthBackwardTime: tail tapers over its last 100 ms */

/* The ways of feeding a stroke, as bits of quillmark_engine_feeds. */
#define QUILLMARK_FEED_SAMPLES 1 /* quillmark_stroke_add per sample, quillmark_stroke_end */
#define QUILLMARK_FEED_REPLAY 2  /* quillmark_stroke_replay */
#define QUILLMARK_FEED_BATCH 4   /* quillmark_stroke_add_batch, quillmark_stroke_end_batch */
#define QUILLMARK_FEED_RAW 8     /* quillmark_stroke_add_raw */
#define QUILLMARK_FEED_FITTED 16 /* quillmark_stroke_add_fitted */

/* Why a stroke call returned 0: quillmark_stroke_refusal reports the one that applied, checked in
   this order. */
#define QUILLMARK_REFUSED_NONE 0        /* the last call was not refused */
#define QUILLMARK_REFUSED_NO_STROKE 1   /* the stroke is NULL */
#define QUILLMARK_REFUSED_NO_OUTPUT 2   /* a read's out is NULL */
#define QUILLMARK_REFUSED_ENGINE 3      /* the engine lacks the call (see quillmark_engine_feeds) */
#define QUILLMARK_REFUSED_NO_POINTS 4   /* a count of 0 or less, or a NULL xy */
#define QUILLMARK_REFUSED_NOT_STARTED 5 /* before quillmark_stroke_start */
#define QUILLMARK_REFUSED_STARTED 6     /* a second start, or a replay after start */
#define QUILLMARK_REFUSED_FINISHED 7    /* after the end or a replay */
#define QUILLMARK_REFUSED_OTHER_WAY 8   /* the stroke is fed the other way: sample calls and batch
                                           calls do not mix in one stroke */
#define QUILLMARK_REFUSED_NO_MEMORY 9   /* memory ran out inside the library */

typedef struct quillmark_stroke quillmark_stroke;

/* A rectangle in drawing units (x grows to the right, y downwards). All 0: nothing to repaint. */
typedef struct quillmark_rect {
    float left;
    float top;
    float width;
    float height;
} quillmark_rect;

/* The engine of a short name as the tools use them: "fix", "fill", "pressure", "speed",
   "extend", "brush" give 1 to 6 (QUILLMARK_FIX ... QUILLMARK_BRUSH); anything else, NULL too,
   gives 0. */
QUILLMARK_EXPORT int quillmark_engine_from_name(const char *name);
/* How many engines there are: 6, numbered 1 to 6. */
QUILLMARK_EXPORT int quillmark_engine_count(void);
/* The short name of an engine (a static string), NULL for a number that names none. */
QUILLMARK_EXPORT const char *quillmark_engine_name(int engine);
/* The ways an engine can be fed, as QUILLMARK_FEED_* bits; 0 for a number that names none. */
QUILLMARK_EXPORT int quillmark_engine_feeds(int engine);
/* Why the last call on stroke returned 0, as a QUILLMARK_REFUSED_* value; QUILLMARK_REFUSED_NONE
   after a call that was not refused, QUILLMARK_REFUSED_NO_STROKE for a NULL stroke. */
QUILLMARK_EXPORT int quillmark_stroke_refusal(const quillmark_stroke *stroke);
/* A sentence on a QUILLMARK_REFUSED_* value, e.g. "the stroke has not started"; a static string,
   "unknown reason" for a value outside the list. */
QUILLMARK_EXPORT const char *quillmark_refusal_text(int refusal);

/* A new stroke of engine (1 to 6) drawn at width (the pen's diameter). NULL for an unknown
   engine, a width that is not a positive finite number, or when memory runs out. Release it
   with quillmark_stroke_destroy. */
QUILLMARK_EXPORT quillmark_stroke *quillmark_stroke_create(int engine, float width);
/* Destroys the stroke and every array it handed out. NULL is ignored. */
QUILLMARK_EXPORT void quillmark_stroke_destroy(quillmark_stroke *stroke);

/* The first sample (startCreate). Refused on a stroke that has started or was replayed. A
   dropped first sample (not finite) leaves the stroke unstarted. */
QUILLMARK_EXPORT int quillmark_stroke_start(quillmark_stroke *stroke, float x, float y,
                                            double t_ms, float pressure,
                                            quillmark_rect *changed);
/* A further sample (creating). Samples 0.1 or closer to the previous one are dropped. */
QUILLMARK_EXPORT int quillmark_stroke_add(quillmark_stroke *stroke, float x, float y,
                                          double t_ms, float pressure, quillmark_rect *changed);
/* The last sample (endCreate): it is appended when it lies 1.0 or more from the previous one,
   a stroke of one sample ends in a dot, and the stroke is finished. Refused after
   quillmark_stroke_add_batch. A dropped last sample leaves the stroke open. */
QUILLMARK_EXPORT int quillmark_stroke_end(quillmark_stroke *stroke, float x, float y,
                                          double t_ms, float pressure, quillmark_rect *changed);

/* Fill and brush only: a batch of samples that arrived since the previous call
   (creatingOnlyBackward), count positions as x, y pairs in xy (read only, oldest first); t_ms
   stamps the newest, the others get stamps spread evenly since the previous sample. Positions
   that are not finite, or closer than 1.0 to the previously kept one, are left out. Only the
   recent part of the stroke is drawn: the fill engine's outline covers the last 300 ms, the
   brush's tail the last 500 ms (200 ms after 30 samples). */
QUILLMARK_EXPORT int quillmark_stroke_add_batch(quillmark_stroke *stroke, int count,
                                                const float *xy, double t_ms,
                                                quillmark_rect *changed);
/* Fill and brush only: the last sample of a batch-fed stroke (endCreateOnlyBackward); pressure
   is checked but not read. Refused after an ordinary call. */
QUILLMARK_EXPORT int quillmark_stroke_end_batch(quillmark_stroke *stroke, float x, float y,
                                                double t_ms, float pressure,
                                                quillmark_rect *changed);
/* Brush only: a batch of raw samples (creatingYuanShi), taken unsmoothed; positions not farther
   than 0.1 from the previously kept one, or not finite, are left out. Layout and stamps as in
   quillmark_stroke_add_batch. The stroke ends with quillmark_stroke_end. */
QUILLMARK_EXPORT int quillmark_stroke_add_raw(quillmark_stroke *stroke, int count,
                                              const float *xy, double t_ms,
                                              quillmark_rect *changed);
/* Brush only: a new sample with the samples that arrived since the previous one (the fitted
   creating): the last pair of xy is the new sample, stamped t_ms; the pairs before it, oldest
   first, steer the smoothing curve through a fitted cubic (a count of 1 passes none). Extra
   samples that are not finite are left out; a new sample that is not finite drops the call. */
QUILLMARK_EXPORT int quillmark_stroke_add_fitted(quillmark_stroke *stroke, int count,
                                                 const float *xy, double t_ms,
                                                 quillmark_rect *changed);
/* Rebuilds a stored stroke in one call (loadFromWholePoints) on a stroke that has not started:
   count points as x, y pairs in xy, with their time stamps in t_ms[count] and pressures in
   pressure[count]. t_ms may be NULL (all 0); the engines' rebuild reads positions and, for the
   pressure engine, pressures, but no time stamps. pressure may be NULL (all 1). Points with a
   coordinate or pressure that is not finite are left out; one point left comes back as the dot
   of a tap, and with none left the engine changes nothing. The stroke is finished afterwards,
   whatever the engine did. */
QUILLMARK_EXPORT int quillmark_stroke_replay(quillmark_stroke *stroke, int count,
                                             const float *xy, const double *t_ms,
                                             const float *pressure, quillmark_rect *changed);

/* Reading the shape.

   The shape is a set of closed polygons to fill with the nonzero winding rule (a polygon may
   cross itself; its last point joins its first), or for QUILLMARK_FIX one open polyline, the
   smoothed centre line, to stroke with a round pen of the stroke's width. Curves of the
   engines' outlines (the round dots and nibs) are flattened into points lying on the curve, with
   the chords within 0.05 units of it. An outline of a single point (an empty one, to which Qt
   gives a lone point at (0, 0)) fills nothing and is left out. Polygons may overlap one another: fill each of them (or
   all of them, one after the other, with the same paint); the shape is their union.

   Each read hands out arrays owned by the stroke; they stay valid until the next read of the
   same kind (quillmark_stroke_polygons or quillmark_stroke_parts) on this stroke, or
   quillmark_stroke_destroy. Sample calls do not touch them. The host never writes into them and
   never frees them.

   A read on a null stroke or one that has not started returns 0 and sets *out (when not NULL)
   to all 0: counts 0, arrays NULL. A read with a NULL out returns 0 and reads nothing (the
   arrays of the previous read stay valid). Otherwise it returns 1. */

/* The whole shape at once.

     xy     float[2 * point_count]   x0 y0 x1 y1 ...                (NULL when point_count is 0)
     sizes  int[count]               points per polygon             (NULL when count is 0)

     xy: | polygon 0: x y x y ... | polygon 1: x y ... | ... | tail: x y ... |
           <--- sizes[0] pairs --->  <- sizes[1] ->           <- the last tail_count polygons

   The last tail_count polygons are the tapering tails (extend, brush: the start dot while the
   stroke is short, then the tail of the newest samples; the brush keeps its tail after a
   batch-fed stroke ends); the polygons before them are the body. closed is 0 for
   QUILLMARK_FIX, whose single "polygon" is its centre line, and 1 otherwise. The cost of this
   read grows with the stroke: a host reading after every sample uses quillmark_stroke_parts. */
typedef struct quillmark_polygons {
    int count;
    int point_count;
    int tail_count;
    int closed;
    const int *sizes;
    const float *xy;
} quillmark_polygons;

QUILLMARK_EXPORT int quillmark_stroke_polygons(quillmark_stroke *stroke,
                                               quillmark_polygons *out);

/* A run of points handed out by quillmark_stroke_parts: count points as x, y pairs in xy (NULL
   when count is 0). Its first kept points are those the same run held at the previous
   quillmark_stroke_parts on this stroke (0 at the first read), so a host that keeps a copy of
   the run cuts its copy to kept points and appends xy[2 * kept] up to xy[2 * count]. */
typedef struct quillmark_run {
    int count;
    int kept;
    const float *xy;
} quillmark_run;

/* The shape in parts, for a host that keeps its own copy and updates it with what changed.

   The body of a stroke that has grown past its start is one polygon in four runs:

     polygon = start_cap, then left, then end_cap, then right walked backwards

       start_cap  the round start, from its right side round to its left (never changes)
       left       the left side of the stroke, in the direction of travel: grows at its end
       end_cap    the round end at the pen, from the left side round to the right: replaced
       right      the right side, in the direction of travel too: grows at its end

   (The joints repeat a point: the last point of one run may equal the first of the next.) The
   sides only grow while the stroke is drawn, so kept is their previous count and a read costs
   what was added, whatever the length of the stroke. For QUILLMARK_FIX, left is the centre line
   (an open polyline that grows at its end) and the other three runs are empty. All four runs
   are empty while the body is not a swept outline (at the start, and in the batch way of
   feeding the fill engine): the body is then among the polygons.

   polygons[polygon_count] are further closed polygons, each a run of its own: first the body
   when it is not in the four runs above (a start dot, a single nib, the recent part drawn in the
   batch way), then the last tail_count of them are the tails as in quillmark_polygons. They are
   rebuilt at every sample, but their size is bounded by the tail's time or distance window. A
   host compares them with its copies run by run (kept); polygons beyond polygon_count are gone.

   The host's copy, joined by the rules above (the body's four runs, then the polygons in
   order), is exactly what quillmark_stroke_polygons hands out at the same moment. */
typedef struct quillmark_parts {
    quillmark_run start_cap;
    quillmark_run left;
    quillmark_run end_cap;
    quillmark_run right;
    int polygon_count;
    int tail_count;
    int closed;
    const quillmark_run *polygons;
} quillmark_parts;

QUILLMARK_EXPORT int quillmark_stroke_parts(quillmark_stroke *stroke, quillmark_parts *out);

#ifdef __cplusplus
}
#endif

#endif
