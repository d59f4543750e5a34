/* A C host of the installed library: draws a short stroke through the C interface. */
#include <quillmark.h>

#include <stdio.h>
#include <string.h>

int main(void)
{
    quillmark_shape shape;
    quillmark_pen *pen = quillmark_pen_create();
    int i, drawn = quillmark_pen_set_environment(pen, 1, 1, 4, QUILLMARK_PEN_BRUSH)
                   && quillmark_pen_start(pen, 10, 10, 1000, &shape);
    for (i = 1; drawn && i < 20; ++i)
        drawn = quillmark_pen_move(pen, 10 + 3 * i, 10 + i, &shape);
    drawn = drawn && quillmark_pen_end_timed(pen, 70, 30, 1400, &shape) && shape.point_count > 0;
    quillmark_pen_destroy(pen);
    if (!drawn || strcmp(quillmark_version(), QUILLMARK_VERSION_STRING) != 0) {
        puts("consumer_c: the installed C interface drew nothing or has another version");
        return 1;
    }
    printf("consumer_c: %d outline points\n", shape.point_count);
    return 0;
}
