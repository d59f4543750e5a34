#ifndef QUILLMARK_STROKERECORDS_H
#define QUILLMARK_STROKERECORDS_H

// A recorded stroke as the record of a host that fed it sample by sample (startCreate, creating
// for every further sample, endCreate with the last), for a page of strokes. Used by the tests,
// the benchmarks and the fuzzers.

#include "OxStrokeRecord.h"
#include "StrokeFile.h"

#include <QPointF>

// Times count from the stroke's first sample; offset moves every sample.
inline OxStrokeRecord recordOfStroke(const RecordedStroke &stroke, int engine, float width,
                                     QPointF offset = QPointF(), quint32 rgba = 0x000000ff)
{
    OxStrokeRecord record;
    record.engine = engine;
    record.width = width;
    record.rgba = rgba;
    for (size_t i = 0; i < stroke.size(); ++i) {
        const RecordedSample &s = stroke[i];
        record.samples.push_back({float(s.x + offset.x()), float(s.y + offset.y()),
                                  qint32(s.timeMs - stroke[0].timeMs), s.pressure});
        OxRecordedStep::Call call = OxRecordedStep::kAdd;
        if (i == 0)
            call = OxRecordedStep::kStart;
        else if (i + 1 == stroke.size())
            call = OxRecordedStep::kEnd;
        record.steps.push_back({call, 1});
    }
    if (stroke.size() == 1) {  // a tap: the release at the press
        record.samples.push_back(record.samples.back());
        record.steps.push_back({OxRecordedStep::kEnd, 1});
    }
    return record;
}

#endif
