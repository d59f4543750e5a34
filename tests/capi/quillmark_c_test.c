/* The C interface driven as a C host drives it, compiled as C89: recorded strokes through both
   pens in both modes, checking every shape handed back, and every call with a null pen, a null
   shape, a pen without engine and unusable numbers. */

#include "quillmark_c.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures = 0;

static int check(int ok, const char *what, int line)
{
    if (!ok) {
        fprintf(stderr, "quillmark_c_test.c:%d: failed: %s\n", line, what);
        ++failures;
    }
    return ok;
}
#define CHECK(cond) check((cond) != 0, #cond, __LINE__)

static int is_finite(float v)
{
    return v == v && v - v == 0;
}

/* ---- Recorded strokes: "x y t_ms pressure" a line, '#' comments, blank lines between. ---- */

typedef struct {
    float x, y;
    double t;
    int first; /* starts a stroke */
} sample;

typedef struct {
    sample *samples;
    int count;
} stroke_file;

static int read_strokes(const char *path, stroke_file *file)
{
    char line[4096];
    int capacity = 0, next_first = 1, complete;
    FILE *in = fopen(path, "r");
    file->samples = NULL;
    file->count = 0;
    if (!in)
        return 0;
    while (fgets(line, sizeof line, in)) {
        sample s;
        if (!strchr(line, '\n') && !feof(in))
            break; /* longer than any line of the data files */
        if (line[0] == '#')
            continue;
        if (sscanf(line, "%f %f %lf", &s.x, &s.y, &s.t) != 3) {
            next_first = 1;
            continue;
        }
        if (file->count == capacity) {
            sample *grown;
            capacity = capacity ? 2 * capacity : 256;
            grown = (sample *)realloc(file->samples, capacity * sizeof(sample));
            if (!grown)
                break;
            file->samples = grown;
        }
        s.first = next_first;
        next_first = 0;
        file->samples[file->count++] = s;
    }
    complete = feof(in);
    fclose(in);
    return complete && file->count > 0;
}

/* The length of the stroke that starts at sample i. */
static int stroke_length(const stroke_file *file, int i)
{
    int n = 1;
    while (i + n < file->count && !file->samples[i + n].first)
        ++n;
    return n;
}

/* ---- Checks on what the calls hand back. ---- */

/* The format of a shape: counts that add up, arrays null exactly when empty, finite numbers,
   a rectangle of finite numbers that is not inside out. */
static void check_shape(const quillmark_shape *s, int line)
{
    int i, sum = 0;
    check(s->path_count >= 0 && s->point_count >= 0, "counts are not negative", line);
    check((s->path_sizes == NULL) == (s->path_count == 0), "path_sizes null iff no paths", line);
    check((s->coords == NULL) == (s->point_count == 0), "coords null iff no points", line);
    for (i = 0; i < s->path_count; ++i)
        sum += s->path_sizes[i];
    check(sum == s->point_count, "point_count is the sum of path_sizes", line);
    for (i = 0; i < 2 * s->point_count; ++i)
        if (!check(is_finite(s->coords[i]), "coordinates are finite", line))
            break;
    check(is_finite(s->left) && is_finite(s->top) && is_finite(s->width)
              && is_finite(s->height),
          "rectangle is finite", line);
    check(s->width >= 0 && s->height >= 0, "rectangle is not inside out", line);
}
#define CHECK_SHAPE(s) check_shape((s), __LINE__)

static int rect_holds_coords(const quillmark_shape *s)
{
    const float slack = 1e-3f;
    int i;
    for (i = 0; i < s->point_count; ++i) {
        const float x = s->coords[2 * i], y = s->coords[2 * i + 1];
        if (x < s->left - slack || x > s->left + s->width + slack || y < s->top - slack
            || y > s->top + s->height + slack)
            return 0;
    }
    return 1;
}

/* A shape the calls must leave alone: every byte set, compared byte for byte afterwards. */
static void fill_sentinel(quillmark_shape *s)
{
    memset(s, 0x5a, sizeof *s);
}

static int is_sentinel(const quillmark_shape *s)
{
    quillmark_shape sentinel;
    fill_sentinel(&sentinel);
    return memcmp(s, &sentinel, sizeof *s) == 0;
}

/* Every sketch call; each must return 0 and leave *out alone. */
static void check_all_calls_refused(quillmark_pen *pen, quillmark_shape *out)
{
    static const float xy[] = {1, 2, 3, 4};
    CHECK(quillmark_pen_start(pen, 1, 1, 5, out) == 0);
    CHECK(quillmark_pen_move(pen, 2, 2, out) == 0);
    CHECK(quillmark_pen_move_batch(pen, 2, xy, 6, out) == 0);
    CHECK(quillmark_pen_end(pen, 3, 3, out) == 0);
    CHECK(quillmark_pen_end_timed(pen, 3, 3, 7, out) == 0);
    CHECK(quillmark_pen_end_batch(pen, 3, 3, 7, out) == 0);
    CHECK(quillmark_pen_end_batch_accumulated(pen, 3, 3, 7, out) == 0);
    if (out)
        CHECK(is_sentinel(out));
}

static quillmark_pen *configured_pen(int pen_type)
{
    quillmark_pen *pen = quillmark_pen_create();
    if (!CHECK(pen != NULL) || !CHECK(quillmark_pen_set_environment(pen, 1, 1, 5, pen_type))) {
        quillmark_pen_destroy(pen);
        return NULL;
    }
    return pen;
}

/* ---- Cases. ---- */

static void test_version(void)
{
    int major = -1, minor = -1, patch = -1;
    CHECK(strcmp(quillmark_version(), QUILLMARK_VERSION_STRING) == 0);
    quillmark_version_numbers(&major, &minor, &patch);
    CHECK(major == QUILLMARK_VERSION_MAJOR && minor == QUILLMARK_VERSION_MINOR
          && patch == QUILLMARK_VERSION_PATCH);
    quillmark_version_numbers(NULL, NULL, NULL);
}

static void test_refused_calls(void)
{
    static const float one_point[] = {40, 0};
    quillmark_shape s;
    quillmark_pen *pen;
    fill_sentinel(&s);

    /* A null pen: nothing happens, whatever the call. */
    check_all_calls_refused(NULL, &s);
    CHECK(quillmark_pen_set_environment(NULL, 1, 1, 5, 1) == 0);
    quillmark_pen_free_stroke(NULL);
    quillmark_pen_clearup(NULL);
    quillmark_pen_destroy(NULL);

    /* A pen without engine, before configuration and after a refused one. */
    pen = quillmark_pen_create();
    check_all_calls_refused(pen, &s);
    CHECK(quillmark_pen_set_environment(pen, 1, 1, (float)atof("nan"), 1) == 0);
    CHECK(quillmark_pen_set_environment(pen, 1, 1, 5, 0) == 0);
    check_all_calls_refused(pen, &s);

    /* A configured pen with a null shape: refused, and the sample is not drawn either, since
       the filled pen's centre line is still empty afterwards. */
    CHECK(quillmark_pen_set_environment(pen, 1, 1, 5, QUILLMARK_PEN_FILLED));
    check_all_calls_refused(pen, NULL);
    CHECK(quillmark_pen_end_batch_accumulated(pen, 0, 0, 1, &s) == 1);
    CHECK(s.path_count == 1 && s.path_sizes[0] == 0 && s.coords == NULL);

    /* Empty batches. */
    fill_sentinel(&s);
    CHECK(quillmark_pen_start(pen, 0, 0, 1, &s) == 1);
    fill_sentinel(&s);
    CHECK(quillmark_pen_move_batch(pen, 0, one_point, 2, &s) == 0);
    CHECK(quillmark_pen_move_batch(pen, -1, one_point, 2, &s) == 0);
    CHECK(quillmark_pen_move_batch(pen, 1, NULL, 2, &s) == 0);
    CHECK(is_sentinel(&s));

    /* After freeStroke the pen has no engine again. */
    quillmark_pen_free_stroke(pen);
    check_all_calls_refused(pen, &s);
    quillmark_pen_destroy(pen);
}

/* Sample mode: start, move per sample, end_timed; every stroke on a fresh pen. */
static void test_recorded_strokes(const stroke_file *file, int pen_type)
{
    int i = 0;
    while (i < file->count) {
        const int n = stroke_length(file, i);
        const sample *first = &file->samples[i];
        const sample *last = &file->samples[i + n - 1];
        quillmark_pen *pen = configured_pen(pen_type);
        quillmark_shape s;
        int k;
        if (!pen)
            return;
        /* Recorded times start at 0, which means now: shift them by 1 ms. */
        CHECK(quillmark_pen_start(pen, first->x, first->y, first->t + 1, &s));
        CHECK_SHAPE(&s);
        if (pen_type == QUILLMARK_PEN_FILLED)
            CHECK(s.path_count == 1 && s.point_count == 1 && s.coords[0] == first->x
                  && s.coords[1] == first->y);
        for (k = 1; k + 1 < n; ++k) {
            CHECK(quillmark_pen_move(pen, first[k].x, first[k].y, &s));
            CHECK_SHAPE(&s);
        }
        CHECK(quillmark_pen_end_timed(pen, last->x, last->y, last->t + 1, &s));
        CHECK_SHAPE(&s);
        CHECK(s.point_count > 0);
        if (pen_type == QUILLMARK_PEN_FILLED)
            CHECK(s.path_count == 1); /* the centre line */
        else
            CHECK(rect_holds_coords(&s)); /* the whole outline, grown by the pen width */
        quillmark_pen_destroy(pen);
        i += n;
    }
}

/* Batch mode: start, batches of up to 8 samples stamped with their newest, end_batch. */
static void test_recorded_batches(const stroke_file *file, int pen_type)
{
    enum { kBatch = 8 };
    int i = 0;
    while (i < file->count) {
        const int n = stroke_length(file, i);
        const sample *first = &file->samples[i];
        const sample *last = &file->samples[i + n - 1];
        quillmark_pen *pen = configured_pen(pen_type);
        quillmark_shape s;
        float xy[2 * kBatch];
        int k, j, size;
        if (!pen)
            return;
        CHECK(quillmark_pen_start(pen, first->x, first->y, first->t + 1, &s));
        for (k = 1; k + 1 < n; k += size) {
            size = n - 1 - k < kBatch ? n - 1 - k : kBatch;
            for (j = 0; j < size; ++j) {
                xy[2 * j] = first[k + j].x;
                xy[2 * j + 1] = first[k + j].y;
            }
            CHECK(quillmark_pen_move_batch(pen, size, xy, first[k + size - 1].t + 1, &s));
            CHECK_SHAPE(&s);
        }
        CHECK(quillmark_pen_end_batch(pen, last->x, last->y, last->t + 1, &s));
        CHECK_SHAPE(&s);
        if (pen_type == QUILLMARK_PEN_FILLED)
            CHECK(s.path_count == 1 && s.point_count > 0); /* the filled outline */
        quillmark_pen_destroy(pen);
        i += n;
    }
}

/* NaN and infinite positions and time stamps are dropped or read as now, never drawn. */
static void test_unusable_numbers(int pen_type)
{
    const float nan = (float)atof("nan"), inf = (float)atof("inf");
    const float xy[] = {10, 0, 0, 0, 20, 0};
    quillmark_pen *pen = configured_pen(pen_type);
    quillmark_shape s;
    float bad_xy[6];
    memcpy(bad_xy, xy, sizeof xy);
    bad_xy[2] = nan;
    bad_xy[3] = inf;
    if (!pen)
        return;
    CHECK(quillmark_pen_start(pen, 0, 0, nan, &s));
    CHECK_SHAPE(&s);
    CHECK(quillmark_pen_move(pen, nan, 5, &s));
    CHECK_SHAPE(&s);
    CHECK(quillmark_pen_move(pen, 30, inf, &s));
    CHECK_SHAPE(&s);
    CHECK(quillmark_pen_move_batch(pen, 3, bad_xy, inf, &s));
    CHECK_SHAPE(&s);
    CHECK(quillmark_pen_end_timed(pen, nan, nan, -inf, &s));
    CHECK_SHAPE(&s);
    quillmark_pen_destroy(pen);
}

/* endSketch3 on the filled pen writes the shape but not the rectangle: the fields keep the
   host's values. */
static void test_filled_accumulated_end_keeps_rectangle(void)
{
    quillmark_pen *pen = configured_pen(QUILLMARK_PEN_FILLED);
    quillmark_shape s;
    if (!pen)
        return;
    CHECK(quillmark_pen_start(pen, 10, 10, 1, &s));
    CHECK(quillmark_pen_move(pen, 30, 10, &s));
    s.left = -7;
    s.top = -8;
    s.width = -9;
    s.height = -10;
    CHECK(quillmark_pen_end_batch_accumulated(pen, 50, 10, 2, &s));
    CHECK(s.left == -7 && s.top == -8 && s.width == -9 && s.height == -10);
    CHECK(s.path_count == 1 && s.point_count == 2);
    quillmark_pen_destroy(pen);
}

int main(void)
{
    stroke_file file;
    if (!read_strokes(QUILLMARK_DATA_DIR "/pf-recorded.txt", &file)) {
        fprintf(stderr, "cannot read %s\n", QUILLMARK_DATA_DIR "/pf-recorded.txt");
        return 1;
    }
    test_version();
    test_refused_calls();
    test_recorded_strokes(&file, QUILLMARK_PEN_FILLED);
    test_recorded_strokes(&file, QUILLMARK_PEN_BRUSH);
    test_recorded_batches(&file, QUILLMARK_PEN_FILLED);
    test_recorded_batches(&file, QUILLMARK_PEN_BRUSH);
    test_unusable_numbers(QUILLMARK_PEN_FILLED);
    test_unusable_numbers(QUILLMARK_PEN_BRUSH);
    test_filled_accumulated_end_keeps_rectangle();
    free(file.samples);
    if (failures)
        fprintf(stderr, "%d checks failed\n", failures);
    else
        printf("C interface: all checks passed (%d samples)\n", file.count);
    return failures ? 1 : 0;
}
