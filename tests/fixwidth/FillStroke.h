#ifndef QUILLMARK_FILLSTROKE_H
#define QUILLMARK_FILLSTROKE_H

// A filled engine with its state opened to the tests, and a stroke around it.

#include "EngineStroke.h"
#include "OxStrokesFixWidthFill.h"

#include <limits>

struct Fill : OxStrokesFixWidthFill
{
    using OxStrokesFixWidthFill::backwardRect;
    using OxStrokesFixWidthFill::lastDrawnIndex;
    using OxStrokesFixWidthFill::leftSideCounts;
    using OxStrokesFixWidthFill::rightSideCounts;
    using OxStrokesFixWidthFill::smoothedPoints;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FillStroke : EngineStroke<Fill>
{
    QRectF batch(QList<QPointF> samples, int ms)
    {
        return engine.creatingOnlyBackward(points, samples, atTime(ms), width);
    }
    QRectF endBatch(QPointF p, int ms)
    {
        return engine.endCreateOnlyBackward(points, path, p, atTime(ms), width);
    }
};

#endif
