#ifndef QUILLMARK_RENDER_STROKERUNNER_H
#define QUILLMARK_RENDER_STROKERUNNER_H

// Feeds recorded strokes to an engine the way a host would, timing every engine call.

#include "EngineDrawing.h"
#include "StrokeFile.h"

enum class FeedMode
{
    Live,    // startCreate, creating for every further sample, endCreate with the last one
    Replay,  // loadFromWholePoints with the whole stroke
    Batch,   // startCreate, then batches of samples, then the batch mode's end call
};

struct FeedSettings
{
    FeedMode mode = FeedMode::Live;
    float width = 6;
    int batchSize = 8;  // samples per batch call (Batch mode)
};

// Runs one stroke through a new engine object and reads its shapes after the last call.
// Live and batch calls carry "time" (ms, int) and "pressure" (float) of the newest sample they
// hand over; a one-sample stroke is closed with its only sample. Batch mode needs an engine with
// a batch mode. An empty stroke gives an empty run.
StrokeRun runStroke(const EngineAdapter &engine, const RecordedStroke &stroke,
                    const FeedSettings &feed);

// runStroke for every stroke.
EngineDrawing drawStrokes(const EngineAdapter &engine, const std::vector<RecordedStroke> &strokes,
                          const FeedSettings &feed);

#endif
