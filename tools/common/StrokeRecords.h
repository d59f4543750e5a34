#ifndef QUILLMARK_STROKERECORDS_H
#define QUILLMARK_STROKERECORDS_H

// Recorded text strokes as the records of what the engines saw, and back. A host that feeds a
// recorded stroke through the C stroke face hands over double positions and time stamps; the
// engines see float positions, int milliseconds since the first stamp and a float pressure, in
// one start, an add per sample between and one end. Used by the tools, the tests and the
// benchmarks.

#include "OxStrokeRecord.h"
#include "StrokeFile.h"

#include <QPointF>
#include <ostream>

// The record of stroke fed to engine (an OxEngineKind id) at width in rgba, every sample moved by
// offset. A stroke of one sample is its start alone, so that every text stroke comes back as it
// was.
OxStrokeRecord recordOf(const RecordedStroke &stroke, int engine, float width,
                        quint32 rgba = 0x000000ff, QPointF offset = QPointF());
std::vector<OxStrokeRecord> recordsOf(const std::vector<RecordedStroke> &strokes, int engine,
                                      float width, quint32 rgba = 0x000000ff);

// The samples of a record, as a text stroke (time from the record's first sample).
RecordedStroke samplesOf(const OxStrokeRecord &record);

// Writes the records' samples in the text format, each float in the fewest digits that
// readStrokes() and a host's float conversion turn back into the same float, a blank line after
// each stroke. Finite samples come back exactly; the text format has no room for the rest.
void writeRecordText(std::ostream &out, const std::vector<OxStrokeRecord> &records);

#endif
