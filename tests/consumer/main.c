/* A C host of the installed library: draws a short stroke through both C faces, the pen and the
   stroke, and puts the stroke on a page. */
#include <quillmark_page.h>

#include <stdio.h>
#include <string.h>

/* Whether the stroke goes on a page, is hit there, and comes back from the page's bytes. */
static int onPage(const quillmark_stroke *stroke)
{
    quillmark_page *page = quillmark_page_create(), *copy = quillmark_page_create();
    quillmark_key key;
    quillmark_keys hit;
    quillmark_bytes bytes;
    int ok = quillmark_page_add(page, stroke, 0x000000ffUL, &key, NULL)
             && quillmark_page_hit(page, 40, 20, 3, &hit) && hit.count == 1 && hit.keys[0] == key
             && quillmark_page_to_bytes(page, &bytes)
             && quillmark_page_from_bytes(copy, bytes.data, bytes.size)
             && quillmark_page_keys(copy, &hit) && hit.count == 1;
    quillmark_page_destroy(page);
    quillmark_page_destroy(copy);
    return ok;
}

/* Points of the brush's polygons after a short stroke through the stroke face, which then goes
   on a page; 0 on failure. */
static int strokeFacePoints(void)
{
    quillmark_rect changed;
    quillmark_polygons shape;
    quillmark_stroke *stroke = quillmark_stroke_create(quillmark_engine_from_name("brush"), 4);
    int i, drawn = quillmark_stroke_start(stroke, 10, 10, 0, 0.5f, &changed);
    for (i = 1; drawn && i < 20; ++i)
        drawn = quillmark_stroke_add(stroke, 10 + 3 * i, 10 + i, 8 * i, 0.5f, &changed);
    drawn = drawn && quillmark_stroke_end(stroke, 70, 30, 160, 0.5f, &changed)
            && quillmark_stroke_polygons(stroke, &shape) && onPage(stroke);
    quillmark_stroke_destroy(stroke);
    return drawn ? shape.point_count : 0;
}

int main(void)
{
    quillmark_shape shape;
    quillmark_pen *pen = quillmark_pen_create();
    int strokePoints, i, drawn = quillmark_pen_set_environment(pen, 1, 1, 4, QUILLMARK_PEN_BRUSH)
                                 && quillmark_pen_start(pen, 10, 10, 1000, &shape);
    for (i = 1; drawn && i < 20; ++i)
        drawn = quillmark_pen_move(pen, 10 + 3 * i, 10 + i, &shape);
    drawn = drawn && quillmark_pen_end_timed(pen, 70, 30, 1400, &shape) && shape.point_count > 0;
    quillmark_pen_destroy(pen);
    strokePoints = strokeFacePoints();
    if (!drawn || !strokePoints || strcmp(quillmark_version(), QUILLMARK_VERSION_STRING) != 0) {
        puts("consumer_c: the installed C interface drew nothing, lost the page or has another "
             "version");
        return 1;
    }
    printf("consumer_c: %d outline points from the pen, %d from the stroke\n", shape.point_count,
           strokePoints);
    return 0;
}
