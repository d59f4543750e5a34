/* The page face driven as a C host drives it, compiled as C89: the recorded strokes drawn with
   the stroke face and put on a page, then queried, erased, moved, taken back, stored and read
   back; and every call with unusable input, which must change nothing. */

#include "quillmark_page.h"

#include <stdlib.h>
#include <string.h>

static const char *const check_file = "page_test.c";
#include "check.h"

#include "fingerprint.h"
#include "recorded.h"

enum { kStrokes = 6, kMaxKeys = 64 };

/* The page's strokes and a fingerprint of each one's ink, by position in drawing order. */
typedef struct {
    int count;
    quillmark_key keys[kMaxKeys];
    unsigned long ink[kMaxKeys];
} page_state;

static page_state state_of(quillmark_page *page)
{
    page_state state;
    quillmark_keys keys;
    quillmark_polygons ink;
    int i;
    memset(&state, 0, sizeof state);
    CHECK(quillmark_page_keys(page, &keys) && keys.count <= kMaxKeys);
    state.count = keys.count;
    memcpy(state.keys, keys.keys, sizeof(quillmark_key) * (size_t)keys.count);
    for (i = 0; i < state.count; ++i) {
        CHECK(quillmark_page_polygons(page, state.keys[i], &ink) && ink.closed == 1
              && ink.tail_count == 0 && ink.count > 0);
        state.ink[i] = fingerprint(&ink);
    }
    return state;
}

/* Whether page holds the strokes of state with the same ink; with same_keys, under the same keys
   too. */
static int same_state(quillmark_page *page, const page_state *state, int same_keys)
{
    const page_state now = state_of(page);
    return now.count == state->count && !memcmp(now.ink, state->ink, sizeof now.ink)
           && (!same_keys || !memcmp(now.keys, state->keys, sizeof now.keys));
}

static int is_empty(const quillmark_rect *r)
{
    return r->left == 0 && r->top == 0 && r->width == 0 && r->height == 0;
}

/* Whether (x, y) lies in r. */
static int covers(const quillmark_rect *r, float x, float y)
{
    return x >= r->left && y >= r->top && x <= r->left + r->width && y <= r->top + r->height;
}

/* Recorded stroke number `which` drawn with engine, moved right by 1000 units a stroke. */
static quillmark_stroke *draw_recorded(int which, int engine, int count)
{
    int i = 0, n;
    quillmark_stroke *stroke = quillmark_stroke_create(engine, 6);
    const float dx = 1000.0f * (float)which;
    for (n = stroke_length(i, count); which > 0; --which, n = stroke_length(i, count))
        i += n;
    quillmark_stroke_start(stroke, samples[i].x + dx, samples[i].y, samples[i].t, 0.5f, NULL);
    for (n += i++; i < n - 1; ++i)
        quillmark_stroke_add(stroke, samples[i].x + dx, samples[i].y, samples[i].t, 0.5f, NULL);
    quillmark_stroke_end(stroke, samples[i].x + dx, samples[i].y, samples[i].t, 0.5f, NULL);
    return stroke;
}

static quillmark_page *recorded_page(int count)
{
    int i;
    quillmark_page *page = quillmark_page_create();
    for (i = 0; i < kStrokes; ++i) {
        quillmark_key key;
        quillmark_rect changed;
        quillmark_stroke *stroke = draw_recorded(i, 1 + i, count);
        CHECK(quillmark_page_add(page, stroke, 0x20408000UL + (unsigned long)i, &key, &changed)
              && key == i + 1 && !is_empty(&changed));
        quillmark_stroke_destroy(stroke);
    }
    return page;
}

/* A point of the ink of key. */
static void ink_point(quillmark_page *page, quillmark_key key, float *x, float *y)
{
    quillmark_polygons ink;
    CHECK(quillmark_page_polygons(page, key, &ink));
    *x = ink.xy[0], *y = ink.xy[1];
}

static void test_queries(quillmark_page *page)
{
    quillmark_keys found;
    quillmark_selection selected;
    unsigned long rgba = 0;
    float x, y, box[8] = {-100, -100, 7000, -100, 7000, 1000, -100, 1000};
    int i;
    for (i = 0; i < kStrokes; ++i) {
        ink_point(page, i + 1, &x, &y);
        CHECK(quillmark_page_hit(page, x, y, 0.5, &found) && found.count >= 1);
        CHECK(quillmark_page_colour(page, i + 1, &rgba) && rgba == 0x20408000UL + (unsigned long)i);
    }
    CHECK(quillmark_page_hit(page, -500, -500, 10, &found) && found.count == 0 && !found.keys);
    CHECK(quillmark_page_lasso(page, 4, box, &selected) && selected.count == kStrokes);
    for (i = 0; i < selected.count; ++i)
        CHECK(selected.keys[i] == i + 1 && selected.fractions[i] > 0.999
              && selected.fractions[i] <= 1);
}

/* Each edit changes what it reports, undo returns the page to the bit and redo makes it again;
   arrays of one kind outlive reads of another. */
static void test_edits(quillmark_page *page)
{
    const page_state before = state_of(page);
    quillmark_rect changed;
    quillmark_keys removed, all;
    quillmark_polygons moved;
    float x, y, eraser[4], far[2] = {-500, -500};
    quillmark_key second = 2;
    int i;
    ink_point(page, 1, &x, &y);
    eraser[0] = x - 20, eraser[1] = y, eraser[2] = x + 20, eraser[3] = y;
    CHECK(quillmark_page_erase(page, 2, eraser, 8, &changed) && covers(&changed, x, y));
    CHECK(!same_state(page, &before, 0) && quillmark_page_can_undo(page));
    CHECK(quillmark_page_undo(page, &changed) && covers(&changed, x, y));
    CHECK(same_state(page, &before, 1) && quillmark_page_can_redo(page));
    CHECK(quillmark_page_redo(page, &changed) && !quillmark_page_can_redo(page));
    CHECK(quillmark_page_undo(page, NULL));

    ink_point(page, 2, &x, &y);
    CHECK(quillmark_page_erase_strokes(page, 1, far, 1, &removed, &changed)
          && removed.count == 0 && is_empty(&changed));
    eraser[0] = x, eraser[1] = y;
    CHECK(quillmark_page_erase_strokes(page, 1, eraser, 1, &removed, &changed)
          && removed.count == 1 && removed.keys[0] == 2 && covers(&changed, x, y));
    CHECK(quillmark_page_keys(page, &all) && all.count == kStrokes - 1);
    CHECK(quillmark_page_undo(page, NULL) && same_state(page, &before, 1));

    /* Two page steps in one group, taken back at once; the keys array read before the polygons
       of the moved stroke stays as it was. */
    CHECK(quillmark_page_keys(page, &all));
    quillmark_page_begin_group(page);
    CHECK(quillmark_page_move(page, 1, &second, 10, -5, &changed) && covers(&changed, x, y));
    CHECK(quillmark_page_move(page, 1, &second, 10, -5, NULL));
    quillmark_page_end_group(page);
    CHECK(quillmark_page_polygons(page, 2, &moved) && moved.xy[0] == x + 20
          && moved.xy[1] == y - 10);
    for (i = 0; i < kStrokes; ++i)
        CHECK(all.keys[i] == before.keys[i]);
    CHECK(quillmark_page_undo(page, NULL) && same_state(page, &before, 1));
}

/* Every unusable argument is refused for its own reason, names it, and changes nothing: not the
   page, not the arrays handed out before. */
static void test_refusals(quillmark_page *page)
{
    const page_state before = state_of(page);
    quillmark_keys all, found;
    quillmark_selection selected;
    quillmark_polygons ink;
    quillmark_page *fresh = quillmark_page_create();
    quillmark_rect changed, nan_area;
    quillmark_key key = 7, bad_keys[] = {0, 0.5, -1, 1e300, 99};
    quillmark_stroke *open = quillmark_stroke_create(QUILLMARK_BRUSH, 6);
    const double nan = atof("nan"), inf = atof("inf");
    float points[6] = {0, 0, 50, 0, 50, 50}, nan_points[2];
    int i;
    nan_points[0] = (float)nan, nan_points[1] = 0;
    nan_area.left = nan_area.top = nan_area.width = 0, nan_area.height = (float)inf;
    CHECK(quillmark_page_keys(page, &all));

#define REFUSED(call, reason) CHECK(!(call) && quillmark_page_refusal(page) == (reason))
    REFUSED(quillmark_page_add(page, NULL, 0, &key, &changed), QUILLMARK_PAGE_REFUSED_NO_STROKE);
    CHECK(key == 0 && is_empty(&changed));
    REFUSED(quillmark_page_add(page, open, 0, &key, NULL), QUILLMARK_PAGE_REFUSED_UNFINISHED);
    quillmark_stroke_start(open, 1, 1, 0, 1, NULL);
    REFUSED(quillmark_page_add(page, open, 0, &key, NULL), QUILLMARK_PAGE_REFUSED_UNFINISHED);
    REFUSED(quillmark_page_add(page, open, 0, NULL, NULL), QUILLMARK_PAGE_REFUSED_NO_OUTPUT);
    if (sizeof(unsigned long) > 4) {
        quillmark_stroke_end(open, 30, 1, 20, 1, NULL);
        REFUSED(quillmark_page_add(page, open, 0xffffffffUL + 1UL, &key, NULL),
                QUILLMARK_PAGE_REFUSED_COLOUR);
    }
    for (i = 0; i < 5; ++i)
        REFUSED(quillmark_page_polygons(page, bad_keys[i], &ink), QUILLMARK_PAGE_REFUSED_KEY);
    CHECK(ink.count == 0 && ink.xy == NULL);
    REFUSED(quillmark_page_polygons(page, 1, NULL), QUILLMARK_PAGE_REFUSED_NO_OUTPUT);
    for (i = 0; i < 5; ++i)
        REFUSED(quillmark_page_move(page, 1, &bad_keys[i], 1, 1, NULL), QUILLMARK_PAGE_REFUSED_KEY);
    REFUSED(quillmark_page_move(page, 1, &before.keys[0], nan, 1, NULL),
            QUILLMARK_PAGE_REFUSED_OFFSET);
    REFUSED(quillmark_page_move(page, 1, NULL, 1, 1, NULL), QUILLMARK_PAGE_REFUSED_NO_INPUT);
    REFUSED(quillmark_page_hit(page, 1, 1, 0, &found), QUILLMARK_PAGE_REFUSED_RADIUS);
    CHECK(found.count == 0 && found.keys == NULL);
    REFUSED(quillmark_page_hit(page, 1, inf, 1, &found), QUILLMARK_PAGE_REFUSED_POINTS);
    REFUSED(quillmark_page_hit(page, 1, 1, 1, NULL), QUILLMARK_PAGE_REFUSED_NO_OUTPUT);
    REFUSED(quillmark_page_hit_swept(page, 0, points, 1, &found), QUILLMARK_PAGE_REFUSED_POINTS);
    REFUSED(quillmark_page_keys_in(page, nan_area, &found), QUILLMARK_PAGE_REFUSED_AREA);
    REFUSED(quillmark_page_lasso(page, 2, points, &selected),
            QUILLMARK_PAGE_REFUSED_TOO_FEW_POINTS);
    REFUSED(quillmark_page_lasso(page, 3, NULL, &selected), QUILLMARK_PAGE_REFUSED_POINTS);
    REFUSED(quillmark_page_erase(page, 1, nan_points, 4, &changed), QUILLMARK_PAGE_REFUSED_POINTS);
    REFUSED(quillmark_page_erase(page, 3, points, -1, &changed), QUILLMARK_PAGE_REFUSED_RADIUS);
    REFUSED(quillmark_page_erase_strokes(page, 3, points, nan, NULL, NULL),
            QUILLMARK_PAGE_REFUSED_RADIUS);
    points[0] = 3e6f;
    REFUSED(quillmark_page_erase(page, 3, points, 4, &changed),
            QUILLMARK_PAGE_REFUSED_OUT_OF_RANGE);
#undef REFUSED
    CHECK(!quillmark_page_undo(fresh, &changed)
          && quillmark_page_refusal(fresh) == QUILLMARK_PAGE_REFUSED_NOTHING_TO_UNDO
          && !quillmark_page_redo(fresh, &changed)
          && quillmark_page_refusal(fresh) == QUILLMARK_PAGE_REFUSED_NOTHING_TO_REDO);
    quillmark_page_destroy(fresh);

    for (i = 0; i < kStrokes; ++i)
        CHECK(all.keys[i] == before.keys[i]);
    CHECK(same_state(page, &before, 1));
    for (i = 0; i <= QUILLMARK_PAGE_REFUSED_TOO_LARGE; ++i)
        CHECK(strcmp(quillmark_page_refusal_text(i), "unknown reason") != 0);
    CHECK(!strncmp(quillmark_page_refusal_text(QUILLMARK_PAGE_REFUSED_RADIUS), "radius:", 7)
          && !strcmp(quillmark_page_refusal_text(99), "unknown reason"));
    CHECK(!quillmark_page_keys(NULL, &all) && quillmark_page_refusal(NULL)
          == QUILLMARK_PAGE_REFUSED_NO_PAGE && !quillmark_page_can_undo(NULL)
          && !strcmp(quillmark_page_error(NULL), ""));
    quillmark_page_begin_group(NULL);
    quillmark_page_destroy(NULL);
    quillmark_stroke_destroy(open);
}

/* Cuts the stroke of key in two: an eraser down the middle of its box, past both ends. */
static void cut_in_two(quillmark_page *page, quillmark_key key)
{
    quillmark_polygons ink;
    float left, right, top, bottom, eraser[4];
    int i;
    CHECK(quillmark_page_polygons(page, key, &ink));
    left = right = ink.xy[0], top = bottom = ink.xy[1];
    for (i = 1; i < ink.point_count; ++i) {
        left = ink.xy[2 * i] < left ? ink.xy[2 * i] : left;
        right = ink.xy[2 * i] > right ? ink.xy[2 * i] : right;
        top = ink.xy[2 * i + 1] < top ? ink.xy[2 * i + 1] : top;
        bottom = ink.xy[2 * i + 1] > bottom ? ink.xy[2 * i + 1] : bottom;
    }
    eraser[0] = eraser[2] = (left + right) / 2, eraser[1] = top - 10, eraser[3] = bottom + 10;
    CHECK(quillmark_page_erase(page, 2, eraser, 2, NULL));
}

/* A page with a cut and a moved stroke stored and read back, in memory and as a file, with the
   same keys and the same ink; damaged input and a missing file refused with what and where, the
   page left as it was. */
static void test_storage(quillmark_page *page)
{
    quillmark_page *loaded = quillmark_page_create();
    quillmark_bytes bytes;
    page_state stored;
    unsigned char *damaged;
    quillmark_key fifth = 5;
    const char *path = QUILLMARK_SCRATCH_DIR "/page_test.qmk";
    cut_in_two(page, 3);
    CHECK(quillmark_page_move(page, 1, &fifth, 7.5, -3, NULL));
    stored = state_of(page);
    CHECK(stored.count > kStrokes && stored.keys[2] > kStrokes);
    CHECK(quillmark_page_to_bytes(page, &bytes) && bytes.size > 0);
    CHECK(quillmark_page_from_bytes(loaded, bytes.data, bytes.size)
          && same_state(loaded, &stored, 1) && !quillmark_page_can_undo(loaded));

    damaged = (unsigned char *)malloc(bytes.size);
    memcpy(damaged, bytes.data, bytes.size);
    damaged[bytes.size / 2] ^= 0x10;
    CHECK(!quillmark_page_from_bytes(loaded, damaged, bytes.size)
          && quillmark_page_refusal(loaded) == QUILLMARK_PAGE_REFUSED_DAMAGED
          && strstr(quillmark_page_error(loaded), "byte") != NULL);
    CHECK(!quillmark_page_from_bytes(loaded, damaged, bytes.size / 3)
          && strstr(quillmark_page_error(loaded), "byte") != NULL);
    CHECK(!quillmark_page_from_bytes(loaded, NULL, 5)
          && quillmark_page_refusal(loaded) == QUILLMARK_PAGE_REFUSED_NO_INPUT);
    free(damaged);
    CHECK(same_state(loaded, &stored, 1));

    quillmark_page_destroy(loaded);
    loaded = quillmark_page_create();
    CHECK(quillmark_page_save(page, path) && quillmark_page_load(loaded, path)
          && same_state(loaded, &stored, 1));
    CHECK(!quillmark_page_load(loaded, QUILLMARK_SCRATCH_DIR "/no such page.qmk")
          && quillmark_page_refusal(loaded) == QUILLMARK_PAGE_REFUSED_FILE
          && strstr(quillmark_page_error(loaded), "no such page") != NULL);
    CHECK(!quillmark_page_save(page, QUILLMARK_SCRATCH_DIR "/no such folder/page.qmk")
          && quillmark_page_refusal(page) == QUILLMARK_PAGE_REFUSED_FILE);
    CHECK(same_state(loaded, &stored, 1)
          && !strcmp(quillmark_page_error(loaded), ""));
    remove(path);
    quillmark_page_destroy(loaded);
}

int main(void)
{
    const int count = read_recorded_samples();
    quillmark_page *page;
    if (!CHECK(count > 0))
        return 1;
    page = recorded_page(count);
    test_queries(page);
    test_edits(page);
    test_refusals(page);
    test_storage(page);
    quillmark_page_destroy(page);
    if (failures)
        fprintf(stderr, "%d failures\n", failures);
    return failures ? 1 : 0;
}
