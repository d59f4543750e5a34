/* The stroke face driven as a C host drives it, compiled as C89: recorded strokes through every
   engine in every way it can be fed, with a host copy of the shape kept up to date from the
   parts read after every call and compared with a full read; the same samples fed at another
   pace or on another clock; and every call with unusable input. */

#include "quillmark_c.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static const char *const check_file = "stroke_test.c";
#include "check.h"

#include "fingerprint.h"
#include "recorded.h"

enum { kMaxBatch = 6, kMaxPolygons = 64 };

/* How a stroke is fed after its first sample. */
enum way { kOrdinary, kBatch, kRaw, kFitted, kWays };
static const char *const way_names[] = {"ordinary", "batch", "raw", "fitted"};

/* The library's table decides which engine takes which way. */
static int engine_has_way(int engine, int way)
{
    static const int feeds[] = {QUILLMARK_FEED_SAMPLES, QUILLMARK_FEED_BATCH, QUILLMARK_FEED_RAW,
                                QUILLMARK_FEED_FITTED};
    return (quillmark_engine_feeds(engine) & feeds[way]) != 0;
}

/* A call refused for the one reason expected. */
#define REFUSED(call, stroke, reason) (!(call) && quillmark_stroke_refusal(stroke) == (reason))

/* ---- The host's copy of the shape, kept from the parts read. ---- */

typedef struct {
    float *xy;
    int count;
} run_copy;

typedef struct {
    run_copy body[4]; /* start cap, left, end cap, right */
    run_copy polygons[kMaxPolygons];
    int polygon_count;
} shape_copy;

static void follow_run(run_copy *copy, const quillmark_run *run, int line)
{
    check(run->kept >= 0 && run->kept <= run->count && run->kept <= copy->count,
          "kept lies within the run and the copy", line);
    check((run->xy == NULL) == (run->count == 0), "xy null iff the run is empty", line);
    copy->xy = (float *)realloc(copy->xy, sizeof(float) * 2 * (size_t)(run->count + 1));
    if (run->count > run->kept)
        memcpy(copy->xy + 2 * run->kept, run->xy + 2 * run->kept,
               sizeof(float) * 2 * (size_t)(run->count - run->kept));
    copy->count = run->count;
}

static void follow_parts(shape_copy *copy, const quillmark_parts *parts, int line)
{
    int i;
    const quillmark_run *body[4];
    body[0] = &parts->start_cap, body[1] = &parts->left, body[2] = &parts->end_cap;
    body[3] = &parts->right;
    /* Once the body is swept, its start cap and sides are only ever extended: a read hands out
       what the last calls added, however long the stroke. */
    if (copy->body[1].count > 0)
        check(parts->start_cap.kept == copy->body[0].count
                  && parts->left.kept == copy->body[1].count
                  && parts->right.kept == copy->body[3].count,
              "the start cap and the sides only grow", line);
    for (i = 0; i < 4; ++i)
        follow_run(&copy->body[i], body[i], line);
    check(parts->polygon_count >= 0 && parts->polygon_count <= kMaxPolygons
              && parts->tail_count >= 0 && parts->tail_count <= parts->polygon_count,
          "polygon and tail counts", line);
    /* Polygons beyond the count are gone: a later one in their place starts from nothing. */
    for (i = parts->polygon_count; i < copy->polygon_count; ++i)
        copy->polygons[i].count = 0;
    for (i = 0; i < parts->polygon_count && i < kMaxPolygons; ++i)
        follow_run(&copy->polygons[i], &parts->polygons[i], line);
    copy->polygon_count = parts->polygon_count;
}

static void free_copy(shape_copy *copy)
{
    int i;
    for (i = 0; i < 4; ++i)
        free(copy->body[i].xy);
    for (i = 0; i < kMaxPolygons; ++i)
        free(copy->polygons[i].xy);
    memset(copy, 0, sizeof *copy);
}

/* Whether points [from, from + n) of xy equal the copy's run, walked backwards if reversed. */
static int same_points(const float *xy, const run_copy *run, int reversed)
{
    int i;
    for (i = 0; i < run->count; ++i) {
        int j = reversed ? run->count - 1 - i : i;
        if (xy[2 * i] != run->xy[2 * j] || xy[2 * i + 1] != run->xy[2 * j + 1])
            return 0;
    }
    return 1;
}

/* The copy joined (body runs, right side backwards, then the polygons) equals the full read. */
static void check_copy_is_whole(const shape_copy *copy, const quillmark_polygons *whole,
                                int line)
{
    int i, polygon = 0, body = 0, ok = 1;
    const float *xy = whole->xy;
    for (i = 0; i < 4; ++i)
        body += copy->body[i].count;
    ok = whole->count == copy->polygon_count + (body > 0);
    if (ok && body > 0) {
        ok = whole->sizes[0] == body;
        for (i = 0; ok && i < 4; ++i) {
            ok = same_points(xy, &copy->body[i], i == 3);
            xy += 2 * copy->body[i].count;
        }
        polygon = 1;
    }
    for (i = 0; ok && i < copy->polygon_count; ++i, ++polygon) {
        ok = whole->sizes[polygon] == copy->polygons[i].count
             && same_points(xy, &copy->polygons[i], 0);
        xy += 2 * copy->polygons[i].count;
    }
    check(ok && xy - whole->xy == 2 * whole->point_count, "the host copy equals a full read",
          line);
}

/* ---- Feeding strokes. ---- */

/* Spends about a millisecond of processor time. */
static void linger(void)
{
    clock_t until = clock() + CLOCKS_PER_SEC / 1000;
    while (clock() < until)
        ;
}

typedef struct {
    int engine, way;
    double clock_offset; /* added to every time stamp */
    int slow;            /* linger between calls */
    int follow;          /* keep a host copy and compare it after every call */
} feed_setup;

/* Feeds one recorded stroke of n samples and returns the fingerprints of the full read after
   every call, combined. */
static unsigned long feed_stroke(const sample *s, int n, const feed_setup *setup)
{
    int k, j, size, batch = setup->way == kOrdinary ? 1 : kMaxBatch;
    unsigned long combined = 0;
    float xy[2 * kMaxBatch];
    quillmark_rect changed;
    quillmark_parts parts;
    quillmark_polygons whole;
    shape_copy copy;
    const sample *last = s + n - 1;
    quillmark_stroke *stroke = quillmark_stroke_create(setup->engine, 6);
    memset(&copy, 0, sizeof copy);
    if (!CHECK(stroke != NULL))
        return 0;

    for (k = 0; k < n; k += size) {
        int ok;
        size = k == 0 || k == n - 1 ? 1 : (n - 1 - k < batch ? n - 1 - k : batch);
        for (j = 0; j < size; ++j) {
            xy[2 * j] = s[k + j].x;
            xy[2 * j + 1] = s[k + j].y;
        }
        {
            const sample *p = &s[k + size - 1];
            double t = p->t + setup->clock_offset;
            if (k == 0)
                ok = quillmark_stroke_start(stroke, p->x, p->y, t, p->pressure, &changed);
            else if (k == n - 1)
                ok = setup->way == kBatch
                         ? quillmark_stroke_end_batch(stroke, p->x, p->y, t, p->pressure,
                                                      &changed)
                         : quillmark_stroke_end(stroke, p->x, p->y, t, p->pressure, &changed);
            else if (setup->way == kOrdinary)
                ok = quillmark_stroke_add(stroke, p->x, p->y, t, p->pressure, &changed);
            else if (setup->way == kBatch)
                ok = quillmark_stroke_add_batch(stroke, size, xy, t, &changed);
            else if (setup->way == kRaw)
                ok = quillmark_stroke_add_raw(stroke, size, xy, t, &changed);
            else
                ok = quillmark_stroke_add_fitted(stroke, size, xy, t, &changed);
        }
        if (!check(ok && changed.width >= 0 && changed.height >= 0, way_names[setup->way],
                   __LINE__))
            break;
        if (setup->slow)
            linger();
        if (setup->follow) {
            CHECK(quillmark_stroke_parts(stroke, &parts));
            follow_parts(&copy, &parts, __LINE__);
        }
        CHECK(quillmark_stroke_polygons(stroke, &whole));
        CHECK(whole.closed == (setup->engine != QUILLMARK_FIX));
        if (setup->follow)
            CHECK(whole.tail_count == parts.tail_count);
        if (setup->follow)
            check_copy_is_whole(&copy, &whole, __LINE__);
        combined = combined * 31 + fingerprint(&whole);
    }
    CHECK(!quillmark_stroke_add(stroke, last->x, last->y, last->t, 0.5f, &changed));
    free_copy(&copy);
    quillmark_stroke_destroy(stroke);
    return combined;
}

/* Every engine, every way, every recorded stroke: the host copy follows a full read, and the
   same stamps fed slowly or on another clock give the same shapes at every call. */
static void test_recorded_strokes(int count)
{
    int engine, way, i, n;
    for (engine = QUILLMARK_FIX; engine <= QUILLMARK_BRUSH; ++engine)
        for (way = 0; way < kWays; ++way) {
            if (!engine_has_way(engine, way))
                continue;
            for (i = 0; i < count; i += n) {
                feed_setup setup;
                unsigned long followed, epoch, slow;
                n = stroke_length(i, count);
                setup.engine = engine, setup.way = way, setup.clock_offset = 0;
                setup.slow = 0, setup.follow = 1;
                followed = feed_stroke(samples + i, n, &setup);
                setup.follow = 0, setup.clock_offset = 1.7e12;
                epoch = feed_stroke(samples + i, n, &setup);
                setup.slow = i == 0 && way == kOrdinary, setup.clock_offset = 0;
                slow = setup.slow ? feed_stroke(samples + i, n, &setup) : followed;
                if (!CHECK(followed == epoch && followed == slow))
                    fprintf(stderr, "  engine %d, %s, stroke at sample %d\n", engine,
                            way_names[way], i);
            }
        }
}

/* ---- Unusable input. ---- */

static const quillmark_rect zero_rect = {0, 0, 0, 0};
static int is_zero(const quillmark_rect *r)
{
    return !memcmp(r, &zero_rect, sizeof *r);
}

static void test_names_and_creation(void)
{
    static const char *const names[] = {"fix", "fill", "pressure", "speed", "extend", "brush"};
    const int every = QUILLMARK_FEED_SAMPLES | QUILLMARK_FEED_REPLAY;
    int i;
    CHECK(quillmark_engine_count() == 6);
    for (i = 0; i < 6; ++i)
        CHECK(quillmark_engine_from_name(names[i]) == i + 1
              && !strcmp(quillmark_engine_name(i + 1), names[i]));
    CHECK(quillmark_engine_name(0) == NULL && quillmark_engine_name(7) == NULL
          && quillmark_engine_feeds(0) == 0 && quillmark_engine_feeds(7) == 0);
    CHECK(quillmark_engine_feeds(QUILLMARK_FIX) == every
          && quillmark_engine_feeds(QUILLMARK_FILL) == (every | QUILLMARK_FEED_BATCH)
          && quillmark_engine_feeds(QUILLMARK_EXTEND) == every
          && quillmark_engine_feeds(QUILLMARK_BRUSH)
                 == (every | QUILLMARK_FEED_BATCH | QUILLMARK_FEED_RAW | QUILLMARK_FEED_FITTED));
    CHECK(!strcmp(quillmark_refusal_text(QUILLMARK_REFUSED_NOT_STARTED), "the stroke has not started")
          && !strcmp(quillmark_refusal_text(99), "unknown reason"));
    CHECK(quillmark_engine_from_name(NULL) == 0 && quillmark_engine_from_name("") == 0
          && quillmark_engine_from_name("Brush") == 0 && quillmark_engine_from_name("brush ") == 0);
    CHECK(quillmark_stroke_create(0, 5) == NULL && quillmark_stroke_create(7, 5) == NULL
          && quillmark_stroke_create(-1, 5) == NULL);
    CHECK(quillmark_stroke_create(1, 0) == NULL && quillmark_stroke_create(1, -5) == NULL
          && quillmark_stroke_create(1, (float)atof("nan")) == NULL
          && quillmark_stroke_create(1, (float)atof("inf")) == NULL);
    quillmark_stroke_destroy(NULL);
}

/* Every call on a null stroke, and every call but start and replay before start: refused,
   *changed zeroed, reads hand out nothing. */
static void test_refused_before_start(quillmark_stroke *stroke)
{
    static const float xy[] = {1, 2, 3, 4};
    quillmark_rect r = {1, 2, 3, 4};
    quillmark_polygons whole;
    quillmark_parts parts;
    const int not_started = stroke ? QUILLMARK_REFUSED_NOT_STARTED : QUILLMARK_REFUSED_NO_STROKE;
    memset(&whole, 0x5a, sizeof whole);
    memset(&parts, 0x5a, sizeof parts);
    CHECK(REFUSED(quillmark_stroke_add(stroke, 1, 1, 1, 1, &r), stroke, not_started) && is_zero(&r));
    r.width = 7;
    CHECK(REFUSED(quillmark_stroke_end(stroke, 1, 1, 1, 1, &r), stroke, not_started) && is_zero(&r));
    CHECK(!quillmark_stroke_add_batch(stroke, 2, xy, 1, &r) && !quillmark_stroke_end_batch(stroke, 1, 1, 1, 1, &r)
          && !quillmark_stroke_add_raw(stroke, 2, xy, 1, &r)
          && !quillmark_stroke_add_fitted(stroke, 2, xy, 1, &r));
    CHECK(!quillmark_stroke_add(stroke, 1, 1, 1, 1, NULL));
    CHECK(!quillmark_stroke_polygons(stroke, &whole) && whole.count == 0 && whole.xy == NULL
          && whole.sizes == NULL && whole.point_count == 0);
    CHECK(!quillmark_stroke_parts(stroke, &parts) && parts.polygon_count == 0
          && parts.left.count == 0 && parts.left.xy == NULL && parts.polygons == NULL);
}

static void test_unusable_input(void)
{
    static const float xy[] = {10, 0, 20, 0};
    const float nan = (float)atof("nan"), inf = (float)atof("inf");
    const double nan_ms = atof("nan"), inf_ms = atof("inf");
    quillmark_rect r;
    quillmark_polygons whole, before;
    float bad_xy[4];
    int engine;

    test_refused_before_start(NULL);
    CHECK(!quillmark_stroke_start(NULL, 0, 0, 0, 1, &r) && is_zero(&r));
    CHECK(!quillmark_stroke_replay(NULL, 2, xy, NULL, NULL, &r));
    CHECK(!quillmark_stroke_polygons(NULL, &whole) && !quillmark_stroke_parts(NULL, NULL));

    for (engine = QUILLMARK_FIX; engine <= QUILLMARK_BRUSH; ++engine) {
        quillmark_stroke *stroke = quillmark_stroke_create(engine, 5);
        test_refused_before_start(stroke);
        CHECK(REFUSED(quillmark_stroke_polygons(stroke, NULL), stroke, QUILLMARK_REFUSED_NO_OUTPUT)
              && REFUSED(quillmark_stroke_parts(stroke, NULL), stroke, QUILLMARK_REFUSED_NO_OUTPUT));

        /* A first sample that is not finite is dropped and leaves the stroke unstarted. */
        r.width = 9;
        CHECK(quillmark_stroke_start(stroke, nan, 0, 0, 1, &r) && is_zero(&r));
        CHECK(quillmark_stroke_start(stroke, 0, 0, inf_ms, 1, &r) && is_zero(&r));
        CHECK(quillmark_stroke_start(stroke, 0, 0, 0, nan, &r) && is_zero(&r));
        test_refused_before_start(stroke);

        CHECK(quillmark_stroke_start(stroke, 0, 0, 1000, 1, &r) && r.width > 0
              && quillmark_stroke_refusal(stroke) == QUILLMARK_REFUSED_NONE);
        CHECK(REFUSED(quillmark_stroke_start(stroke, 0, 0, 1000, 1, &r), stroke,
                      QUILLMARK_REFUSED_STARTED) && is_zero(&r));
        CHECK(REFUSED(quillmark_stroke_replay(stroke, 2, xy, NULL, NULL, &r), stroke,
                      QUILLMARK_REFUSED_STARTED));
        CHECK(quillmark_stroke_add(stroke, 10, 0, 1010, 1, NULL));
        CHECK(quillmark_stroke_polygons(stroke, &before));

        /* Dropped samples: reached, nothing changed. */
        r.width = 9;
        CHECK(quillmark_stroke_add(stroke, nan, 5, 1020, 1, &r) && is_zero(&r));
        CHECK(quillmark_stroke_add(stroke, 20, inf, 1020, 1, &r) && is_zero(&r));
        CHECK(quillmark_stroke_add(stroke, 20, 0, nan_ms, 1, &r) && is_zero(&r));
        CHECK(quillmark_stroke_add(stroke, 20, 0, -inf_ms, 1, &r) && is_zero(&r));
        CHECK(quillmark_stroke_add(stroke, 20, 0, 1000 + 2147483648.0, 1, &r) && is_zero(&r));
        CHECK(quillmark_stroke_add(stroke, 20, 0, 1020, inf, &r) && is_zero(&r));
        CHECK(quillmark_stroke_add(stroke, 10.05f, 0, 1020, 1, &r) && is_zero(&r));
        CHECK(quillmark_stroke_polygons(stroke, &whole) && whole.point_count == before.point_count);

        /* Counts and arrays, and the ways the engine lacks or the stroke has left behind. */
        bad_xy[0] = nan, bad_xy[1] = 0, bad_xy[2] = inf, bad_xy[3] = 1e30f;
        CHECK(!quillmark_stroke_add_batch(stroke, 2, xy, 1030, &r) && is_zero(&r));
        CHECK(!quillmark_stroke_end_batch(stroke, 30, 0, 1030, 1, &r));
        CHECK(REFUSED(quillmark_stroke_add_raw(stroke, 0, xy, 1030, &r), stroke,
                      engine == QUILLMARK_BRUSH ? QUILLMARK_REFUSED_NO_POINTS : QUILLMARK_REFUSED_ENGINE)
              && !quillmark_stroke_add_raw(stroke, -1, xy, 1030, &r)
              && !quillmark_stroke_add_fitted(stroke, 1, NULL, 1030, &r));
        CHECK(quillmark_stroke_add_raw(stroke, 2, bad_xy, 1030, &r) == (engine == QUILLMARK_BRUSH));
        CHECK(quillmark_stroke_add_fitted(stroke, 2, bad_xy, 1030, &r)
              == (engine == QUILLMARK_BRUSH));

        /* Huge numbers are taken; the shape stays readable. */
        CHECK(quillmark_stroke_add(stroke, 1e30f, -1e30f, 1040, 1e30f, &r));
        CHECK(quillmark_stroke_polygons(stroke, &whole));

        CHECK(quillmark_stroke_end(stroke, 40, 0, 1050, 1, &r));
        CHECK(REFUSED(quillmark_stroke_end(stroke, 50, 0, 1060, 1, &r), stroke,
                      QUILLMARK_REFUSED_FINISHED) && is_zero(&r));
        CHECK(REFUSED(quillmark_stroke_add(stroke, 50, 0, 1060, 1, &r), stroke,
                      QUILLMARK_REFUSED_FINISHED));
        CHECK(quillmark_stroke_polygons(stroke, &whole));
        quillmark_stroke_destroy(stroke);
    }
}

/* The batch way and the ordinary way exclude each other; replay finishes a fresh stroke. */
static void test_ways_and_replay(void)
{
    static const float xy[] = {10, 0, 20, 0, 30, 5};
    static const double t[] = {5e12, 5e12 + 10, 5e12 + 20};
    quillmark_rect r;
    quillmark_polygons whole;
    quillmark_stroke *brush = quillmark_stroke_create(QUILLMARK_BRUSH, 6);
    quillmark_stroke *fill = quillmark_stroke_create(QUILLMARK_FILL, 6);

    CHECK(quillmark_stroke_start(brush, 0, 0, 0, 1, &r) && quillmark_stroke_start(fill, 0, 0, 0, 1, &r));
    CHECK(quillmark_stroke_add_batch(brush, 2, xy, 30, &r) && r.width > 0);
    CHECK(REFUSED(quillmark_stroke_add(brush, 40, 0, 40, 1, &r), brush, QUILLMARK_REFUSED_OTHER_WAY)
          && !quillmark_stroke_add_raw(brush, 2, xy, 40, &r)
          && !quillmark_stroke_end(brush, 40, 0, 40, 1, &r));
    CHECK(quillmark_stroke_end_batch(brush, 40, 0, 40, 1, &r));
    CHECK(quillmark_stroke_add(fill, 40, 0, 40, 1, &r));
    CHECK(REFUSED(quillmark_stroke_add_batch(fill, 2, xy, 50, &r), fill, QUILLMARK_REFUSED_OTHER_WAY)
          && !quillmark_stroke_end_batch(fill, 40, 0, 50, 1, &r));
    CHECK(quillmark_stroke_end(fill, 50, 0, 50, 1, &r));
    quillmark_stroke_destroy(brush);
    quillmark_stroke_destroy(fill);

    brush = quillmark_stroke_create(QUILLMARK_PRESSURE, 6);
    CHECK(!quillmark_stroke_replay(brush, 0, xy, NULL, NULL, &r) && !quillmark_stroke_replay(brush, 3, NULL, t, NULL, &r));
    CHECK(quillmark_stroke_replay(brush, 3, xy, t, NULL, &r) && r.width > 0);
    CHECK(quillmark_stroke_polygons(brush, &whole) && whole.count == 1 && whole.point_count > 10);
    CHECK(!quillmark_stroke_replay(brush, 3, xy, t, NULL, &r) && !quillmark_stroke_add(brush, 1, 1, 1, 1, &r));
    quillmark_stroke_destroy(brush);
}

/* Predictions: drawn after real samples, taken back by the next call, refused where they do not
   belong, and gone at the end. */
static void test_predictions(void)
{
    double host[8] = {40, 2, 1035, 0.5, 48, 3, 1043, 0.5};
    double bad[4];
    quillmark_rect r, back;
    quillmark_parts parts;
    quillmark_predicted predicted;
    float xy[4] = {10, 0, 20, 0};
    quillmark_stroke *stroke = quillmark_stroke_create(QUILLMARK_PRESSURE, 6);
    quillmark_stroke *batch = quillmark_stroke_create(QUILLMARK_BRUSH, 6);

    CHECK(REFUSED(quillmark_stroke_predict(stroke, 16, &r), stroke, QUILLMARK_REFUSED_NOT_STARTED)
          && is_zero(&r));
    CHECK(quillmark_stroke_start(stroke, 0, 0, 1000, 0.5f, &r));
    CHECK(quillmark_stroke_add(stroke, 10, 0, 1010, 0.5f, &r));
    CHECK(quillmark_stroke_add(stroke, 20, 1, 1020, 0.5f, &r));
    CHECK(quillmark_stroke_add(stroke, 30, 1, 1030, 0.5f, &r));
    /* Which horizons and predicted samples are refused is the library's predictor's and predicted
       ink's test; here one of each stands for all. */
    CHECK(REFUSED(quillmark_stroke_predict(stroke, 100.5, &r), stroke, QUILLMARK_REFUSED_HORIZON));

    CHECK(quillmark_stroke_predict_samples(stroke, 2, host, &r) && r.width > 0
          && r.left + r.width >= 48);
    CHECK(quillmark_stroke_predicted(stroke, &predicted) && predicted.count == 2
          && predicted.samples[4] == 48 && predicted.samples[6] == 1043);
    CHECK(quillmark_stroke_parts(stroke, &parts) && parts.predicted_count == 1
          && parts.predicted[0].count > 4 && parts.predicted[0].kept == 0);
    /* Refused predictions leave the drawn one. */
    bad[0] = 40, bad[1] = 2, bad[2] = 1029, bad[3] = 0.5;   /* older than the last real one */
    CHECK(REFUSED(quillmark_stroke_predict_samples(stroke, 1, bad, &r), stroke,
                  QUILLMARK_REFUSED_PREDICTED) && is_zero(&r));
    CHECK(REFUSED(quillmark_stroke_predict_samples(stroke, 1, NULL, &r), stroke,
                  QUILLMARK_REFUSED_NO_POINTS));
    CHECK(REFUSED(quillmark_stroke_predict_samples(stroke, -1, host, &r), stroke,
                  QUILLMARK_REFUSED_NO_POINTS));
    CHECK(quillmark_stroke_predicted(stroke, &predicted) && predicted.count == 2);
    /* A count of 0 takes the prediction back: the rectangle covers what it drew. */
    CHECK(quillmark_stroke_predict_samples(stroke, 2, host, &r));
    CHECK(quillmark_stroke_predict_samples(stroke, 0, NULL, &back) && !memcmp(&r, &back, sizeof r));
    CHECK(quillmark_stroke_predicted(stroke, &predicted) && predicted.count == 0
          && predicted.samples == NULL);
    /* The next real sample takes it back too, and the end leaves nothing predicted. */
    CHECK(quillmark_stroke_predict(stroke, 33, &r) && quillmark_stroke_predicted(stroke, &predicted)
          && predicted.count == 3);
    CHECK(quillmark_stroke_add(stroke, 40, 2, 1040, 0.5f, &back) && back.left <= r.left
          && back.left + back.width >= r.left + r.width);
    CHECK(quillmark_stroke_predicted(stroke, &predicted) && predicted.count == 0);
    /* The library's guess is stamped on the host's clock. */
    CHECK(quillmark_stroke_predict(stroke, 16, &r) && quillmark_stroke_predicted(stroke, &predicted)
          && predicted.count == 1 && predicted.samples[2] == 1040 + 16);
    CHECK(quillmark_stroke_end(stroke, 50, 2, 1050, 0.5f, &r));
    CHECK(quillmark_stroke_predicted(stroke, &predicted) && predicted.count == 0);
    CHECK(quillmark_stroke_parts(stroke, &parts) && parts.predicted_count == 0);
    CHECK(REFUSED(quillmark_stroke_predict(stroke, 16, &r), stroke, QUILLMARK_REFUSED_FINISHED));
    CHECK(!quillmark_stroke_predict(NULL, 16, &r) && !quillmark_stroke_predicted(NULL, &predicted));
    CHECK(REFUSED(quillmark_stroke_predicted(stroke, NULL), stroke, QUILLMARK_REFUSED_NO_OUTPUT));

    CHECK(quillmark_stroke_start(batch, 0, 0, 0, 1, &r) && quillmark_stroke_add_batch(batch, 2, xy, 30, &r));
    CHECK(REFUSED(quillmark_stroke_predict(batch, 16, &r), batch, QUILLMARK_REFUSED_OTHER_WAY));
    quillmark_stroke_destroy(stroke);
    quillmark_stroke_destroy(batch);
}

/* The library never refuses its own guess, where it once did: after a host clock that steps
   back after the first sample (the engines that read no time hold 0 for the later samples, and
   the guess was stamped before that), at the end of a stroke's 24 days, and after stamps a hair
   apart (the guess ran beyond the float range). Every engine draws it, ahead of the pen. */
static void test_own_predictions_are_never_refused(void)
{
    quillmark_stroke *fill = quillmark_stroke_create(QUILLMARK_FILL, 6);
    quillmark_stroke *extend = quillmark_stroke_create(QUILLMARK_EXTEND, 6);
    quillmark_rect r;
    int engine, k;
    CHECK(quillmark_stroke_start(fill, 0, 0, 0, 0.5f, &r)
          && quillmark_stroke_add(fill, 2, 0, 2147483638.0, 0.5f, &r));
    CHECK(quillmark_stroke_predict(fill, 40, &r));
    CHECK(quillmark_stroke_start(extend, 0, 0, 0, 0.5f, &r)
          && quillmark_stroke_add(extend, 2, 4, 5, 0.5f, &r)
          && quillmark_stroke_add(extend, 6, 11, 1e-37, 0.5f, &r));
    CHECK(quillmark_stroke_predict(extend, 72, &r));
    quillmark_stroke_destroy(fill);
    quillmark_stroke_destroy(extend);
    for (engine = 1; engine <= quillmark_engine_count(); ++engine) {
        quillmark_stroke *stroke = quillmark_stroke_create(engine, 6);
        quillmark_predicted predicted;
        quillmark_rect r;
        CHECK(quillmark_stroke_start(stroke, 0, 0, 1000, 0.5f, &r));
        for (k = 1; k <= 5; ++k)
            CHECK(quillmark_stroke_add(stroke, 10.0f * k, 0, 890 + 10 * k, 0.5f, &r));
        if (!CHECK(quillmark_stroke_predict(stroke, 16, &r) && r.width > 0))
            fprintf(stderr, "  %s refused its own guess: %s\n", quillmark_engine_name(engine),
                    quillmark_refusal_text(quillmark_stroke_refusal(stroke)));
        CHECK(quillmark_stroke_predicted(stroke, &predicted) && predicted.count == 1
              && predicted.samples[0] > 50);
        quillmark_stroke_destroy(stroke);
    }
}

int main(void)
{
    const int count = read_recorded_samples();
    if (!CHECK(count > 0))
        return 1;
    test_names_and_creation();
    test_unusable_input();
    test_ways_and_replay();
    test_predictions();
    test_own_predictions_are_never_refused();
    test_recorded_strokes(count);
    if (failures)
        fprintf(stderr, "%d failures\n", failures);
    return failures ? 1 : 0;
}
