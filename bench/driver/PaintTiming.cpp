#include "PaintTiming.h"

#include "SampleStats.h"

#include <QImage>
#include <vector>

std::optional<double> paintMillis(StrokeFeed &feed, QRectF rect, QRectF bounds, int repetitions,
                                  double budgetSeconds)
{
    const QRect pixels = bounds.toAlignedRect();
    QImage image(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    std::vector<double> millis;
    double spent = 0;
    while (int(millis.size()) < repetitions && (millis.empty() || spent < budgetSeconds)) {
        QPainter painter(&image);
        painter.translate(-pixels.topLeft());
        bool painted = false;
        const TimedCall call = timedCall([&] {
            painted = feed.paint(painter, rect);
            return rect;
        });
        if (!painted)
            return std::nullopt;
        millis.push_back(call.micros / 1000);
        spent += call.micros / 1e6;
    }
    return spreadOf(millis)->median;
}
