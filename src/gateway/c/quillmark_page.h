#ifndef QUILLMARK_PAGE_H
#define QUILLMARK_PAGE_H

/* The page face of quillmark for hosts written in C (or any language that calls C): a page of
   finished strokes that the host hit-tests, erases (whole strokes, or exactly the ink under the
   eraser), selects with a lasso, moves, undoes and redoes, and saves and loads. Plain C89; it
   includes quillmark_c.h, whose strokes it takes and whose rectangles and polygons it hands out,
   so a host includes this header alone for both faces. The C++ face is OxStrokePage.

   Protocol:
     1. quillmark_page_create().
     2. For every stroke the user finishes: quillmark_page_add(page, stroke, rgba, &key, &r). The
        stroke (quillmark_stroke_*) must have ended; the page replays what it was drawn from (the
        calls that reached its engine) on an engine of its own, so the host may destroy the
        stroke right after. The stroke's ink gets a key.
     3. Queries, which change nothing: quillmark_page_hit (a disc), quillmark_page_hit_swept (a
        disc moved along the eraser's path: nothing between two events is skipped),
        quillmark_page_lasso (the strokes with ink inside a closed polygon, and the share of
        their ink inside). They test the ink as drawn (the outline, pressure, speed and tapers
        included; the centre-line engine's line at its pen width), not the centre line.
     4. Edits, each one step that quillmark_page_undo takes back and quillmark_page_redo makes
        again: quillmark_page_erase cuts away exactly the ink under the swept eraser (a stroke
        cut in several parts becomes one stroke per part, each with a new key; a stroke left in
        one part keeps its key), quillmark_page_erase_strokes removes the strokes it touches,
        quillmark_page_move moves strokes. quillmark_page_begin_group and _end_group make the
        steps between them one (an eraser drag). An edit that changes nothing makes no step.
     5. Paint: quillmark_page_keys (every stroke, oldest first) or quillmark_page_keys_in (the
        strokes in a rectangle to repaint), then quillmark_page_polygons and quillmark_page_colour
        of each key. Every edit and add returns the rectangle that changed: repaint that.
     6. quillmark_page_save / _load (a file) or _to_bytes / _from_bytes (memory): the page's
        strokes exactly, under their keys, as what they were drawn from and what was erased
        from them or moved since.
     7. quillmark_page_destroy.

   Every call but create, destroy and the few that answer a question returns 1 when it was done
   and 0 when it was refused; a refused call changes nothing (not the page, not its arrays) and
   quillmark_page_refusal(page) then gives the reason, quillmark_page_refusal_text a sentence
   that names the argument. A rectangle or array out is set to all 0 by a refused call. NULL
   pointers are refused, never read. Positions that are not finite, a radius that is not
   positive and finite, a lasso of fewer than three points, an unknown key, undo or redo with
   nothing to take back or to make again: all refused. Positions must stay within 2,000,000
   units of the origin.

   The page keeps its ink on a grid of 1/1024 unit: a stroke's points move by less than 1/2048
   when it is added. One thread at a time per page. */

#include "quillmark_c.h"

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct quillmark_page quillmark_page;

/* A stroke's key on a page: a whole number from 1 up, never 0, never used again on the page.
   A double because C89 has no integer type of 64 bits everywhere (long has 32 on Windows, and a
   page that lives long makes a key per stroke and per piece cut), while a double holds every
   whole number up to 2^53 exactly: no page ever makes a key it cannot hand out. So a stored page
   whose next key lies beyond 2^52 (the page file allows up to 2^62, for hosts with 64-bit keys)
   is refused as damaged: it would leave too little room below 2^53. A key that is not a whole
   number of this page is refused as unknown (QUILLMARK_PAGE_REFUSED_KEY). */
typedef double quillmark_key;

/* Why a call was refused: quillmark_page_refusal(). The argument each is about comes first. */
#define QUILLMARK_PAGE_REFUSED_NONE 0
#define QUILLMARK_PAGE_REFUSED_NO_PAGE 1        /* page: NULL */
#define QUILLMARK_PAGE_REFUSED_NO_OUTPUT 2      /* out: NULL where the call writes its result */
#define QUILLMARK_PAGE_REFUSED_NO_INPUT 3       /* keys, path or data: NULL where the call reads */
#define QUILLMARK_PAGE_REFUSED_NO_STROKE 4      /* stroke: NULL */
#define QUILLMARK_PAGE_REFUSED_UNFINISHED 5     /* stroke: has not ended */
#define QUILLMARK_PAGE_REFUSED_NO_INK 6         /* stroke: draws nothing that covers any area */
#define QUILLMARK_PAGE_REFUSED_COLOUR 7         /* rgba: beyond 0xffffffff */
#define QUILLMARK_PAGE_REFUSED_OUT_OF_RANGE 8   /* a position beyond 2,000,000 units */
#define QUILLMARK_PAGE_REFUSED_POINTS 9         /* points: none (count below 1, NULL xy), or one
                                                   that is not finite */
#define QUILLMARK_PAGE_REFUSED_TOO_FEW_POINTS 10 /* points: a lasso of fewer than three */
#define QUILLMARK_PAGE_REFUSED_RADIUS 11        /* radius: not positive and finite */
#define QUILLMARK_PAGE_REFUSED_KEY 12           /* key: no stroke of this page */
#define QUILLMARK_PAGE_REFUSED_OFFSET 13        /* dx, dy: not finite */
#define QUILLMARK_PAGE_REFUSED_AREA 14          /* area: not finite */
#define QUILLMARK_PAGE_REFUSED_NOTHING_TO_UNDO 15
#define QUILLMARK_PAGE_REFUSED_NOTHING_TO_REDO 16
#define QUILLMARK_PAGE_REFUSED_NO_MEMORY 17     /* memory ran out; nothing changed */
#define QUILLMARK_PAGE_REFUSED_FILE 18          /* path: cannot be opened, read, written or
                                                   renamed (quillmark_page_error says which) */
#define QUILLMARK_PAGE_REFUSED_DAMAGED 19       /* bytes or file: not a page this library reads,
                                                   one with a stroke the page cannot take, or
                                                   one whose next key lies beyond 2^52
                                                   (quillmark_page_error says what and where) */
#define QUILLMARK_PAGE_REFUSED_TOO_LARGE 20     /* page: holds more than a page file takes
                                                   (quillmark_page_error says what) */

/* Why the last call on page was refused, a QUILLMARK_PAGE_REFUSED_* value;
   QUILLMARK_PAGE_REFUSED_NONE after a call that was done, QUILLMARK_PAGE_REFUSED_NO_PAGE for
   NULL. */
QUILLMARK_EXPORT int quillmark_page_refusal(const quillmark_page *page);
/* A sentence on a QUILLMARK_PAGE_REFUSED_* value that starts with the argument it is about,
   e.g. "radius: not a positive finite number"; a static string, "unknown reason" for a value
   outside the list. */
QUILLMARK_EXPORT const char *quillmark_page_refusal_text(int refusal);
/* What went wrong, and where, in the last refused save, load, to_bytes or from_bytes: e.g.
   "chunk STRK at byte 16: checksum 0x... does not match ...", or "" after any other call. A
   string owned by the page, valid until its next call; "" for NULL. */
QUILLMARK_EXPORT const char *quillmark_page_error(const quillmark_page *page);

/* A new, empty page; NULL when memory runs out. Release it with quillmark_page_destroy. */
QUILLMARK_EXPORT quillmark_page *quillmark_page_create(void);
/* Destroys the page, its strokes and every array it handed out. NULL is ignored. */
QUILLMARK_EXPORT void quillmark_page_destroy(quillmark_page *page);

/* Adds a finished stroke on top of the others in colour rgba (red in the high byte, alpha in
   the low one: 0x000000ff is opaque black), drawn as the stroke drew it. *key receives its key
   (0 when refused). The stroke is only read: it stays as it was, and the page keeps nothing of
   it. Refused for a NULL stroke or key, a stroke that has not ended (QUILLMARK_PAGE_REFUSED_
   UNFINISHED: a stroke whose end sample was dropped is still open), one that draws no ink, and
   an rgba beyond 32 bits. One step. */
QUILLMARK_EXPORT int quillmark_page_add(quillmark_page *page, const quillmark_stroke *stroke,
                                        unsigned long rgba, quillmark_key *key,
                                        quillmark_rect *changed);

/* Keys handed out by a page:

     keys  quillmark_key[count]    in drawing order, oldest first     (NULL when count is 0)

   The array belongs to the page and stays valid until the next call on this page that hands out
   keys (quillmark_page_keys, _keys_in, _hit, _hit_swept, _erase_strokes) or its destruction. */
typedef struct quillmark_keys {
    int count;
    const quillmark_key *keys;
} quillmark_keys;

/* Every stroke's key, in drawing order. */
QUILLMARK_EXPORT int quillmark_page_keys(quillmark_page *page, quillmark_keys *out);
/* The keys of the strokes whose ink may meet the rectangle (by their bounding boxes), in drawing
   order: what to paint for a repaint of it. */
QUILLMARK_EXPORT int quillmark_page_keys_in(quillmark_page *page, quillmark_rect area,
                                            quillmark_keys *out);
/* The colour a stroke was added with (red in the high byte) into *rgba. Refused for an unknown
   key. */
QUILLMARK_EXPORT int quillmark_page_colour(quillmark_page *page, quillmark_key key,
                                           unsigned long *rgba);
/* The ink of a stroke now: closed polygons to fill with the nonzero rule, as the stroke face
   hands them out (see quillmark_polygons: tail_count is 0 and closed is 1; the pieces of the
   centre-line engine's ink are filled outlines like the others'). The arrays belong to the page
   and stay valid until its next quillmark_page_polygons or its destruction. Refused for an
   unknown key. */
QUILLMARK_EXPORT int quillmark_page_polygons(quillmark_page *page, quillmark_key key,
                                             quillmark_polygons *out);

/* Points handed to the page, count positions as x, y pairs (read only):

     xy  float[2 * count]   x0 y0 x1 y1 ...

   An eraser's path is its positions oldest first: the disc of radius swept from each to the
   next (one position: a disc there). */

/* The strokes whose ink a disc of radius at (x, y) touches, in drawing order. */
QUILLMARK_EXPORT int quillmark_page_hit(quillmark_page *page, double x, double y, double radius,
                                        quillmark_keys *out);
/* The strokes whose ink a disc of radius touches as it moves along the path, in drawing order. */
QUILLMARK_EXPORT int quillmark_page_hit_swept(quillmark_page *page, int count, const float *xy,
                                              double radius, quillmark_keys *out);

/* What a lasso selects, in drawing order:

     keys       quillmark_key[count]   the strokes with ink inside the lasso
     fractions  double[count]          the share of each one's ink inside, above 0 and up to 1

   Both arrays belong to the page and stay valid until its next quillmark_page_lasso or its
   destruction. */
typedef struct quillmark_selection {
    int count;
    const quillmark_key *keys;
    const double *fractions;
} quillmark_selection;

/* The strokes with ink inside the closed polygon of count points (it closes by itself and may
   cross itself: nonzero rule); at least three. */
QUILLMARK_EXPORT int quillmark_page_lasso(quillmark_page *page, int count, const float *xy,
                                          quillmark_selection *out);

/* Cuts away the ink under an eraser of radius swept along the path: the ink within radius of it
   goes, ink farther than radius + 0.01 stays as it was. *changed covers every pixel that
   changed (all 0: nothing was under the eraser, and no step was made). */
QUILLMARK_EXPORT int quillmark_page_erase(quillmark_page *page, int count, const float *xy,
                                          double radius, quillmark_rect *changed);
/* Removes every stroke the swept eraser touches (as quillmark_page_hit_swept); *removed gets
   their keys (count 0: none, and no step was made). removed and changed may be NULL. */
QUILLMARK_EXPORT int quillmark_page_erase_strokes(quillmark_page *page, int count,
                                                  const float *xy, double radius,
                                                  quillmark_keys *removed,
                                                  quillmark_rect *changed);
/* Moves the count strokes of keys by (dx, dy) (rounded to the grid; a key given twice moves
   once). Refused, moving none, when a key is unknown; a count of 0 moves nothing. */
QUILLMARK_EXPORT int quillmark_page_move(quillmark_page *page, int count,
                                         const quillmark_key *keys, double dx, double dy,
                                         quillmark_rect *changed);

/* Takes back the last step: every stroke as it was before it, to the bit, under the same keys.
   Refused with nothing to undo. */
QUILLMARK_EXPORT int quillmark_page_undo(quillmark_page *page, quillmark_rect *changed);
/* Makes the last step taken back again. Refused with nothing to redo; a new step forgets what
   could be redone. */
QUILLMARK_EXPORT int quillmark_page_redo(quillmark_page *page, quillmark_rect *changed);
/* 1 when there is a step to undo (to redo), else 0 (also for NULL). */
QUILLMARK_EXPORT int quillmark_page_can_undo(const quillmark_page *page);
QUILLMARK_EXPORT int quillmark_page_can_redo(const quillmark_page *page);
/* The steps between the two calls are one step; nested pairs count as one. NULL is ignored. */
QUILLMARK_EXPORT void quillmark_page_begin_group(quillmark_page *page);
QUILLMARK_EXPORT void quillmark_page_end_group(quillmark_page *page);

/* Storing a page: everything a host sees of it, to the bit (docs/page-format.md). Each stroke
   is stored under its key as what it was drawn from (engine, width, colour, every sample as its
   engine saw it) and what was done to it since: erased and cut strokes with the eraser's path and
   radius, moved ones with their offsets, the pieces of a cut each under its own key. The key the
   next stroke gets is stored too, so a loaded page never hands out a key the saved one had
   handed out. A drawn stroke's samples are stored once, however many pieces it was cut into. The
   undo steps are not stored.

   Loading replaces everything on the page by the stored page (its strokes, keys and next key)
   and forgets its steps; it loads everything or nothing: a failure (a file that cannot be read,
   damaged or hostile input, a stored stroke that cannot be put on a page, memory running out)
   leaves the page as it was, and quillmark_page_error says what went wrong and where ("chunk
   STRK at byte 16: ..."; a file's failures start with its path). Any input is safe to load. */

/* Writes the page to the file at path (UTF-8): into a new file beside it first, renamed over
   path once complete, so a crash never leaves half a page where the old one was. */
QUILLMARK_EXPORT int quillmark_page_save(quillmark_page *page, const char *path);
/* Replaces the page's strokes by those of the file at path (UTF-8). */
QUILLMARK_EXPORT int quillmark_page_load(quillmark_page *page, const char *path);

/* Bytes handed out by quillmark_page_to_bytes: size bytes at data, owned by the page until its
   next quillmark_page_to_bytes or its destruction. */
typedef struct quillmark_bytes {
    size_t size;
    const unsigned char *data;
} quillmark_bytes;

QUILLMARK_EXPORT int quillmark_page_to_bytes(quillmark_page *page, quillmark_bytes *out);
/* Replaces the page's strokes by those stored in the size bytes at data (read only). */
QUILLMARK_EXPORT int quillmark_page_from_bytes(quillmark_page *page, const void *data,
                                               size_t size);

#ifdef __cplusplus
}
#endif

#endif
