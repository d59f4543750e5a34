#ifndef QUILLMARK_CAPI_RECORDED_H
#define QUILLMARK_CAPI_RECORDED_H

/* The recorded strokes of pf-recorded.txt, read once into samples by the C test programs. */

#include <stdio.h>

typedef struct {
    float x, y, pressure;
    double t;
    int first; /* starts a stroke */
} sample;
enum { kMaxSamples = 4096 };
static sample samples[kMaxSamples];

/* The number of samples read, 0 when the file cannot be read. The file has "x y t_ms pressure"
   a line, '#' comments and a blank line between strokes. */
static int read_recorded_samples(void)
{
    char line[4096];
    int count = 0, first = 1;
    FILE *in = fopen(QUILLMARK_DATA_DIR "/pf-recorded.txt", "r");
    if (!in)
        return 0;
    while (count < kMaxSamples && fgets(line, sizeof line, in)) {
        sample *s = &samples[count];
        if (line[0] == '#')
            continue;
        if (sscanf(line, "%f %f %lf %f", &s->x, &s->y, &s->t, &s->pressure) != 4) {
            first = 1;
            continue;
        }
        s->first = first;
        first = 0;
        ++count;
    }
    fclose(in);
    return count;
}

/* The number of samples of the stroke that starts at samples[i]. */
static int stroke_length(int i, int count)
{
    int n = 1;
    while (i + n < count && !samples[i + n].first)
        ++n;
    return n;
}

#endif
