#ifndef OXBACKWARDINFO_H
#define OXBACKWARDINFO_H

#include "QuillmarkExport.h"

#include <QPointF>

// One segment of a tapering tail, from its older end (toward the stroke body) to its newer end
// (toward the pen tip). The radii are the widths handed to the outline builders at each end: half
// the stroke width at full size.
struct QUILLMARK_EXPORT OxBackwardInfo
{
    OxBackwardInfo() = default;
    OxBackwardInfo(QPointF startPoint, float startRadius, QPointF endPoint, float endRadius)
        : startPoint(startPoint), startRadius(startRadius), endPoint(endPoint),
          endRadius(endRadius)
    {
    }

    QPointF startPoint;
    float startRadius = 0;
    QPointF endPoint;
    float endRadius = 0;
};

#endif
