/* The C interface driven as a C host drives it, compiled as C89: recorded strokes through both
   pens in both modes, checking every shape handed back, and every call with a null pen, a null
   shape, a pen without engine or an empty batch. (Unusable numbers: the gateway fuzzer.) */

#include "quillmark_c.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char *const check_file = "quillmark_test.c";
#include "check.h"

#define is_finite(v) ((v) == (v) && (v) - (v) == 0)

/* The format of a shape: counts that add up, arrays null exactly when empty, finite numbers,
   a rectangle of finite numbers that is not inside out. */
static void check_shape(const quillmark_shape *s, int line)
{
    int i, sum = 0, finite = 1;
    for (i = 0; i < s->path_count; ++i)
        sum += s->path_sizes[i];
    for (i = 0; i < 2 * s->point_count; ++i)
        finite = finite && is_finite(s->coords[i]);
    check(s->path_count >= 0 && sum == s->point_count, "point_count sums path_sizes", line);
    check((s->path_sizes == NULL) == (s->path_count == 0), "path_sizes null iff no paths", line);
    check((s->coords == NULL) == (s->point_count == 0), "coords null iff no points", line);
    check(finite && is_finite(s->left) && is_finite(s->top) && is_finite(s->width)
              && is_finite(s->height) && s->width >= 0 && s->height >= 0,
          "finite numbers, rectangle not inside out", line);
}
#define CHECK_SHAPE(s) check_shape((s), __LINE__)

/* A shape the calls must leave alone: every byte set. */
static quillmark_shape sentinel;

/* Every sketch call; each must return 0 and leave *out alone. */
static void check_all_calls_refused(quillmark_pen *pen, quillmark_shape *out, int line)
{
    static const float xy[] = {1, 2, 3, 4};
    check(!quillmark_pen_start(pen, 1, 1, 5, out) && !quillmark_pen_move(pen, 2, 2, out)
              && !quillmark_pen_move_batch(pen, 2, xy, 6, out)
              && !quillmark_pen_end(pen, 3, 3, out) && !quillmark_pen_end_timed(pen, 3, 3, 7, out)
              && !quillmark_pen_end_batch(pen, 3, 3, 7, out)
              && !quillmark_pen_end_batch_accumulated(pen, 3, 3, 7, out),
          "every sketch call is refused", line);
    check(!out || !memcmp(out, &sentinel, sizeof sentinel), "a refused call writes nothing", line);
}
#define CHECK_REFUSED(pen, out) check_all_calls_refused((pen), (out), __LINE__)

static void test_version_and_refused_calls(void)
{
    static const float one_point[] = {40, 0};
    int major = -1, minor = -1, patch = -1;
    quillmark_shape s = sentinel;
    quillmark_pen *pen = quillmark_pen_create();

    CHECK(strcmp(quillmark_version(), QUILLMARK_VERSION_STRING) == 0);
    quillmark_version_numbers(&major, &minor, &patch);
    CHECK(major == QUILLMARK_VERSION_MAJOR && minor == QUILLMARK_VERSION_MINOR
          && patch == QUILLMARK_VERSION_PATCH);

    CHECK_REFUSED(NULL, &s);
    CHECK(!quillmark_pen_set_environment(NULL, 1, 1, 5, 1));
    quillmark_pen_free_stroke(NULL);
    quillmark_pen_clearup(NULL);
    quillmark_pen_destroy(NULL);

    /* No engine: before configuration, after refused settings, after free_stroke. */
    CHECK_REFUSED(pen, &s);
    CHECK(!quillmark_pen_set_environment(pen, 1, 1, (float)atof("nan"), 1)
          && !quillmark_pen_set_environment(pen, 1, (float)atof("inf"), 5, 1));
    CHECK(!quillmark_pen_set_environment(pen, 1, 1, 5, 0) && !quillmark_pen_set_environment(pen, 1, 1, 0, 1)
          && !quillmark_pen_set_environment(pen, 0, 1, 5, 1)
          && !quillmark_pen_set_environment(pen, 1, -1, 5, 1));
    CHECK_REFUSED(pen, &s);

    /* A null shape: refused, and the sample is not drawn either (the filled pen's centre line,
       which end_batch_accumulated hands out again, is still empty). */
    CHECK(quillmark_pen_set_environment(pen, 1, 1, 5, QUILLMARK_PEN_FILLED));
    CHECK_REFUSED(pen, NULL);
    CHECK(quillmark_pen_end_batch_accumulated(pen, 0, 0, 1, &s));
    CHECK(s.path_count == 1 && s.path_sizes[0] == 0 && s.coords == NULL);

    CHECK(quillmark_pen_start(pen, 0, 0, 1, &s));
    s = sentinel;
    CHECK(!quillmark_pen_move_batch(pen, 0, one_point, 2, &s));
    CHECK(!quillmark_pen_move_batch(pen, -1, one_point, 2, &s));
    CHECK(!quillmark_pen_move_batch(pen, 1, NULL, 2, &s));
    CHECK(!memcmp(&s, &sentinel, sizeof s));

    /* end_batch_accumulated on the filled pen hands out the centre line, not the rectangle. */
    CHECK(quillmark_pen_move(pen, 30, 0, &s));
    s.left = -7, s.top = -8, s.width = -9, s.height = -10;
    CHECK(quillmark_pen_end_batch_accumulated(pen, 50, 0, 2, &s));
    CHECK(s.left == -7 && s.top == -8 && s.width == -9 && s.height == -10);
    CHECK(s.path_count == 1 && s.point_count == 2);

    s = sentinel;
    quillmark_pen_free_stroke(pen);
    CHECK_REFUSED(pen, &s);
    quillmark_pen_destroy(pen);
}

/* The last tail of a short batch-mode stroke has no segment and holds only Qt's move-to at
   (0, 0): it is handed out as a path of that one pair. */
static void test_lone_move_to_is_one_pair(void)
{
    quillmark_shape s = {0};
    quillmark_pen *pen = quillmark_pen_create();
    CHECK(pen && quillmark_pen_set_environment(pen, 1, 1, 6, QUILLMARK_PEN_BRUSH));
    CHECK(quillmark_pen_start(pen, 10, 10, 1000, &s) && quillmark_pen_move(pen, 12, 10, &s));
    CHECK(quillmark_pen_end_batch_accumulated(pen, 10, 10, 1010, &s));
    CHECK_SHAPE(&s);
    CHECK(s.path_count == 1 && s.path_sizes[0] == 1 && s.coords[0] == 0 && s.coords[1] == 0);
    quillmark_pen_destroy(pen);
}

#include "recorded.h"

enum { kMaxBatch = 8 };

/* A stroke of n samples on a fresh pen: start; move per sample (batch 0) or move_batch per batch
   of up to `batch` samples stamped with their newest; end_timed or end_batch. */
static void test_recorded_stroke(const sample *first, int n, int pen_type, int batch)
{
    int k, j, size;
    float xy[2 * kMaxBatch];
    const sample *last = first + n - 1;
    quillmark_shape s = {0};
    quillmark_pen *pen = quillmark_pen_create();
    CHECK(pen && quillmark_pen_set_environment(pen, 1, 1, 5, pen_type));
    CHECK(quillmark_pen_start(pen, first->x, first->y, first->t, &s));
    CHECK_SHAPE(&s);
    if (pen_type == QUILLMARK_PEN_FILLED)
        CHECK(s.point_count == 1 && s.coords[0] == first->x && s.coords[1] == first->y);
    for (k = 1; k + 1 < n; k += size) {
        size = batch ? (n - 1 - k < batch ? n - 1 - k : batch) : 1;
        for (j = 0; j < size; ++j) {
            xy[2 * j] = first[k + j].x;
            xy[2 * j + 1] = first[k + j].y;
        }
        CHECK(batch ? quillmark_pen_move_batch(pen, size, xy, first[k + size - 1].t, &s)
                    : quillmark_pen_move(pen, xy[0], xy[1], &s));
        CHECK_SHAPE(&s);
    }
    CHECK(batch ? quillmark_pen_end_batch(pen, last->x, last->y, last->t, &s)
                : quillmark_pen_end_timed(pen, last->x, last->y, last->t, &s));
    CHECK_SHAPE(&s);
    if (pen_type == QUILLMARK_PEN_FILLED)
        CHECK(s.path_count == 1 && s.point_count > 0); /* centre line, or batch outline */
    quillmark_pen_destroy(pen);
}

int main(void)
{
    static const int pens[] = {QUILLMARK_PEN_FILLED, QUILLMARK_PEN_BRUSH};
    const int count = read_recorded_samples();
    int i, n, p, batch;
    memset(&sentinel, 0x5a, sizeof sentinel);
    if (!CHECK(count > 0))
        return 1;
    for (i = 0; i < count; ++i)
        samples[i].t += 1; /* recorded times start at 0, which means now */
    test_version_and_refused_calls();
    test_lone_move_to_is_one_pair();
    for (p = 0; p < 2; ++p)
        for (batch = 0; batch <= kMaxBatch; batch += kMaxBatch)
            for (i = 0; i < count; i += n) {
                n = stroke_length(i, count);
                test_recorded_stroke(samples + i, n, pens[p], batch);
            }
    printf("C interface: %d checks failed (%d samples)\n", failures, count);
    return failures ? 1 : 0;
}
