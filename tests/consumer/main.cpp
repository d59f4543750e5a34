// Draws a short stroke through the installed library and checks that something came back, and
// puts a stroke on a page (whose polygon library stays the library's own). It includes the class
// header Quillmark.h and the C header quillmark_c.h together: each must keep its own
// declarations, as it does only while their guards and names differ.
#include <OxStrokePage.h>
#include <OxStrokesFixWidth.h>
#include <Quillmark.h>
#include <quillmark_c.h>

#include <cstdio>

int main()
{
    OxStrokesFixWidth engine;
    std::vector<OxInkPoint> points;
    QPainterPath path;
    QMap<QString, QVariant> params;
    QRectF changed = engine.startCreate(points, path, QPointF(10, 10), params, 4);
    for (int i = 1; i < 20; ++i)
        changed |= engine.creating(points, path, QPointF(10 + 3 * i, 10 + i), params, 4);
    changed |= engine.endCreate(points, path, QPointF(70, 30), params, 4);
    if (points.size() < 3 || changed.isEmpty()) {
        std::puts("consumer: the installed library drew nothing");
        return 1;
    }
    OxStrokeRecord record;
    record.engine = 2;
    record.width = 4;
    record.samples = {{10, 10, 0, 1}, {40, 20, 16, 1}, {70, 30, 32, 1}};
    record.steps = {{OxRecordedStep::kStart, 1}, {OxRecordedStep::kAdd, 1},
                    {OxRecordedStep::kEnd, 1}};
    OxStrokePage page;
    OxStrokePage::Key key = 0;
    std::vector<OxStrokePage::Key> hit;
    if (page.add(record, key) != OxStrokePage::kDone || page.hit(QPointF(40, 20), 1, hit)
        || hit.size() != 1) {
        std::puts("consumer: the page did not take or find a stroke");
        return 1;
    }
    Quillmark marker;
    (void)marker;
    quillmark_stroke *stroke = quillmark_stroke_create(QUILLMARK_FIX, 4);
    if (!stroke) {
        std::puts("consumer: the C face refused a stroke");
        return 1;
    }
    quillmark_stroke_destroy(stroke);
    std::printf("consumer: %zu smoothed points, library %s\n", points.size(), quillmark_version());
    return 0;
}
