#ifndef OXTAILSWEEP_P_H
#define OXTAILSWEEP_P_H

#include "OxPathBuilder.h"

namespace quillmark::detail {

// Rebuilds a builder's outline from scratch for an engine that reads the finished outline and
// its bounds but not the rectangle each segment changed (the tails, rebuilt at every sample).
// The outline is the one resetOutline, addSegment per segment and getOutlinePath give; only
// the changed rectangles, which decide nothing but whether a segment was dropped, are not
// worked out where their being empty or not is already known.
//
//   1. TailSweep sweep(builder): forgets the outline.
//   2. sweep.add(x0, y0, w0, x1, y1, w1) for each segment in order.
//   3. sweep.finish(bounds): the closed outline; bounds receives its boundingRect.
//
// While a sweep lives, the builder's own addSegment returns rectangles that are only right about
// being empty; they are right again once finish ran or the sweep is gone.
class TailSweep
{
public:
    explicit TailSweep(OxPathBuilder &builder) : builder(builder)
    {
        builder.resetOutline();
        builder.changeBoundsUnread = true;
    }
    ~TailSweep() { builder.changeBoundsUnread = false; }
    TailSweep(const TailSweep &) = delete;
    TailSweep &operator=(const TailSweep &) = delete;

    void add(float x0, float y0, float w0, float x1, float y1, float w1)
    {
        builder.addSegment(x0, y0, w0, x1, y1, w1);
    }

    QPainterPath finish(QRectF &bounds)
    {
        builder.changeBoundsUnread = false;
        return builder.outlineWithBounds(bounds);
    }

    // Forgets the outline and gives back the room the sweeps kept for the next one: for a
    // stroke that has ended and sweeps no more.
    static void releaseRoom(OxPathBuilder &builder)
    {
        builder.resetOutline();
        builder.leftPoints = OxPathBuilder::PointSide();
        builder.rightPoints = OxPathBuilder::PointSide();
        builder.startCapPoints = std::vector<QPointF>();
        builder.polygon = QPolygonF();
    }

private:
    OxPathBuilder &builder;
};

} // namespace quillmark::detail

#endif
