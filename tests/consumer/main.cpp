// Draws a short stroke through the installed library and checks that something came back.
#include <OxStrokesFixWidth.h>

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
    std::printf("consumer: %zu smoothed points\n", points.size());
    return 0;
}
