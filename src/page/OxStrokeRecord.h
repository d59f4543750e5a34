#ifndef OXSTROKERECORD_H
#define OXSTROKERECORD_H

#include "QuillmarkExport.h"

#include <QtGlobal>
#include <vector>

// One sample as its engine saw it: the position, "time" in whole milliseconds since the stroke's
// first sample (the int the engines read), and "pressure". Samples of a batch share the batch's
// time and carry the pressure 0 their call handed over.
struct OxRecordedSample
{
    float x = 0;
    float y = 0;
    qint32 time = 0;
    float pressure = 0;
};

// One engine call of a stroke and how many of the record's samples, in order, it took.
struct OxRecordedStep
{
    enum Call : quint8 {
        kStart,      // startCreate, 1 sample
        kAdd,        // creating, 1 sample
        kEnd,        // endCreate, 1 sample
        kBatch,      // creatingOnlyBackward, n samples
        kEndBatch,   // endCreateOnlyBackward, 1 sample
        kRaw,        // creatingYuanShi, n samples
        kFitted,     // creating with the n - 1 samples before the last as a fitted curve
        kReplay,     // loadFromWholePoints, n samples
    };

    Call call = kStart;
    quint32 samples = 0;
};

// One change made to a stroke's ink on a page after its engine drew it (OxStrokePage).
//   kErase: the ink under an eraser of radius `radius` swept along the positions in xy
//           (x0 y0 x1 y1 ...) was cut away; of the connected parts the cut left, in the order the
//           page lists them, this stroke is part `piece` (0 when the cut left one part).
//   kMove:  the ink was moved by xy[0], xy[1].
// Numbers are the floats the page worked with, so the same edits on the same ink give the same
// polygons to the bit.
struct OxRecordedEdit
{
    enum Kind : quint8 { kErase, kMove };

    Kind kind = kErase;
    std::vector<float> xy;
    float radius = 0;
    quint32 piece = 0;
};

// What one finished stroke was drawn from, exactly: its engine (an OxEngineKind id), pen width,
// colour, and the calls that fed it with their samples. Replaying the steps on a fresh engine of
// the kind gives the stroke's shape again, to the bit. Every call that reached the engine is
// recorded (also one the engine itself dropped); calls refused or dropped before it are not.
// A stroke on a page also carries the edits made to its ink since, in order: a piece cut from a
// stroke has its stroke's samples and steps and the edits that led to it, so replaying the
// engine and then the edits gives the piece.
struct OxStrokeRecord
{
    int engine = 0;
    float width = 0;
    quint32 rgba = 0x000000ff;   // red in the high byte, alpha in the low one
    std::vector<OxRecordedSample> samples;
    std::vector<OxRecordedStep> steps;
    std::vector<OxRecordedEdit> edits;
};

#endif
