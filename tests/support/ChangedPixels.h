#ifndef QUILLMARK_CHANGEDPIXELS_H
#define QUILLMARK_CHANGEDPIXELS_H

// Where a repaint changed a picture, measured against the rectangle a call reported.

#include "StrokeFile.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <cstring>

// How far (in whole pixels) the pixels of now that differ from before reach beyond rect; 0 when
// every one of them touches rect. Pixel (0, 0) of both images lies at origin in drawing
// coordinates; both have the same size and format (32 bits a pixel).
inline int changedPixelsReach(const QImage &now, const QImage &before, QPoint origin, QRectF rect)
{
    int reach = 0;
    for (int y = 0; y < now.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(now.constScanLine(y));
        const auto *then = reinterpret_cast<const QRgb *>(before.constScanLine(y));
        if (std::memcmp(row, then, sizeof(QRgb) * size_t(now.width())) == 0)
            continue;
        for (int x = 0; x < now.width(); ++x) {
            if (row[x] == then[x])
                continue;
            // The pixel covers [px, px + 1) x [py, py + 1) in drawing coordinates.
            const double px = x + origin.x(), py = y + origin.y();
            const double dx = std::max({rect.left() - (px + 1), px - rect.right(), 0.0});
            const double dy = std::max({rect.top() - (py + 1), py - rect.bottom(), 0.0});
            reach = std::max(reach, int(std::ceil(std::max(dx, dy))));
        }
    }
    return reach;
}

// A picture of a stroke, on a canvas that covers its samples with room to spare on every side.
class StrokeCanvas
{
public:
    StrokeCanvas(const RecordedStroke &stroke, int room)
    {
        QRectF bounds;
        for (const RecordedSample &s : stroke)
            bounds |= QRectF(s.x, s.y, 1, 1);
        origin_ = bounds.topLeft().toPoint() - QPoint(room, room);
        image_ = QImage(bounds.size().toSize() + QSize(2 * room, 2 * room),
                        QImage::Format_ARGB32_Premultiplied);
    }

    // Clears the canvas to white, then paints with paint(QPainter &) in drawing coordinates.
    template <class Paint>
    void show(Paint paint)
    {
        image_.fill(Qt::white);
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.translate(-origin_);
        paint(painter);
    }

    // How far (in whole pixels) the pixels that differ from before reach beyond rect.
    int reachBeyond(const QImage &before, QRectF rect) const
    {
        return changedPixelsReach(image_, before, origin_, rect);
    }

    const QImage &image() const { return image_; }
    QRectF area() const { return QRectF(origin_, image_.size()); }

private:
    QPoint origin_;
    QImage image_;
};

#endif
