// Rebuilding a stroke's ink from its record.

#include "OxRecordReplay_p.h"

#include "OxEngineKind.h"
#include "OxStrokeShape.h"

#include <QList>
#include <cmath>

namespace quillmark::detail {

namespace {
using Step = OxRecordedStep;

// Samples each call takes: exactly one, or at least one.
bool takesOneSample(Step::Call call)
{
    return call == Step::kStart || call == Step::kAdd || call == Step::kEnd
           || call == Step::kEndBatch;
}

// The way of feeding each call belongs to; every engine takes the phase calls and a replay.
OxEngineKind::Feed feedOf(Step::Call call)
{
    switch (call) {
    case Step::kBatch:
    case Step::kEndBatch:
        return OxEngineKind::kBatch;
    case Step::kRaw:
        return OxEngineKind::kRaw;
    case Step::kFitted:
        return OxEngineKind::kFitted;
    case Step::kReplay:
        return OxEngineKind::kReplay;
    default:
        return OxEngineKind::kSamples;
    }
}

bool stepsAddUp(const OxStrokeRecord &record, const OxEngineKind &kind)
{
    size_t used = 0;
    for (const Step &step : record.steps) {
        if (step.call > Step::kReplay || !kind.canFeed(feedOf(step.call)) || step.samples == 0
            || (takesOneSample(step.call) && step.samples != 1))
            return false;
        used += step.samples;
    }
    return !record.steps.empty() && used == record.samples.size();
}

// Replays record's calls on engine, as the host made them.
class Replay
{
public:
    Replay(const OxStrokeRecord &record, const OxEngineKind &kind, OxStrokesFixWidth &engine)
        : record(record), kind(kind), engine(engine)
    {
    }

    void run()
    {
        size_t at = 0;
        for (const Step &step : record.steps) {
            call(step, at);
            at += step.samples;
        }
    }

    std::vector<OxInkPoint> points;
    QPainterPath path;

private:
    const OxStrokeRecord &record;
    const OxEngineKind &kind;
    OxStrokesFixWidth &engine;

    OxEngineKind::Params params(const OxRecordedSample &s) const
    {
        return {{QStringLiteral("time"), int(s.time)}, {QStringLiteral("pressure"), s.pressure}};
    }

    QList<QPointF> positions(size_t from, size_t count) const
    {
        QList<QPointF> out;
        out.reserve(int(count));
        for (size_t i = from; i < from + count; ++i)
            out.append(QPointF(record.samples[i].x, record.samples[i].y));
        return out;
    }

    void call(const Step &step, size_t at)
    {
        const OxRecordedSample &first = record.samples[at];
        const OxRecordedSample &last = record.samples[at + step.samples - 1];
        const QPointF lastPoint(last.x, last.y);
        const float width = record.width;
        QList<QPointF> batch;
        switch (step.call) {
        case Step::kStart:
            engine.startCreate(points, path, lastPoint, params(last), width);
            break;
        case Step::kAdd:
            engine.creating(points, path, lastPoint, params(last), width);
            break;
        case Step::kEnd:
            engine.endCreate(points, path, lastPoint, params(last), width);
            break;
        case Step::kBatch:
            batch = positions(at, step.samples);
            kind.creatingBatch(engine, points, batch, params(first), width);
            break;
        case Step::kEndBatch:
            kind.endBatch(engine, points, path, lastPoint, params(last), width);
            break;
        case Step::kRaw:
            batch = positions(at, step.samples);
            kind.creatingRaw(engine, points, batch, params(first), width);
            break;
        case Step::kFitted:
            batch = positions(at, step.samples - 1);
            kind.creatingFitted(engine, points, path, batch, lastPoint, params(last), width);
            break;
        case Step::kReplay:
            for (size_t i = at; i < at + step.samples; ++i) {
                const OxRecordedSample &s = record.samples[i];
                points.push_back(OxInkPoint(s.x, s.y, s.time, s.pressure, 0, 0));
            }
            engine.loadFromWholePoints(points, path, width);
            break;
        }
    }
};

OxReplayResult gridResult(bool onGrid)
{
    return onGrid ? OxReplayResult::kDone : OxReplayResult::kOutOfRange;
}
} // namespace

OxReplayResult drawnInk(const OxStrokeRecord &record, OxInk &ink)
{
    const OxEngineKind *kind = OxEngineKind::byId(record.engine);
    if (!kind || !std::isfinite(record.width) || !stepsAddUp(record, *kind))
        return OxReplayResult::kUnusable;
    std::unique_ptr<OxStrokesFixWidth> engine = kind->make();
    Replay replay(record, *kind, *engine);
    replay.run();
    OxStrokeShape shape;
    shape.update(*engine, replay.path);
    std::vector<int> sizes;
    std::vector<float> xy;
    shape.appendPolygons(sizes, xy);
    if (shape.closed())
        return gridResult(inkOfOutlines(sizes, xy, ink));
    return gridResult(inkOfCentreLine(xy.data(), int(xy.size() / 2), record.width, ink));
}

bool erasedRegion(const OxRecordedEdit &edit, OxInkRegion &region)
{
    return sweptRegion(edit.xy.data(), int(edit.xy.size() / 2), edit.radius, region);
}

OxReplayResult erasedPieces(const OxRecordedEdit &edit, const OxInk &ink,
                            std::vector<OxInk> &pieces)
{
    pieces.clear();
    if (edit.kind != OxRecordedEdit::kErase || edit.xy.size() < 2 || edit.xy.size() % 2 != 0
        || !(edit.radius > 0))
        return OxReplayResult::kUnusable;
    OxInkRegion region;
    OxInk rings;
    if (!erasedRegion(edit, region) || !filledInk(ink, rings) || !cutAway(rings, region, pieces))
        return OxReplayResult::kOutOfRange;
    return OxReplayResult::kDone;
}

OxReplayResult applyEdit(const OxRecordedEdit &edit, OxInk &ink)
{
    if (edit.kind == OxRecordedEdit::kMove) {
        qint64 dx = 0, dy = 0;
        if (edit.xy.size() != 2)
            return OxReplayResult::kUnusable;
        return gridResult(toGrid(edit.xy[0], dx) && toGrid(edit.xy[1], dy)
                          && translate(ink, dx, dy));
    }
    std::vector<OxInk> pieces;
    const OxReplayResult result = erasedPieces(edit, ink, pieces);
    if (result != OxReplayResult::kDone)
        return result;
    if (edit.piece >= pieces.size())
        return OxReplayResult::kUnusable;
    ink = std::move(pieces[edit.piece]);
    return OxReplayResult::kDone;
}

bool coversArea(const OxInk &ink)
{
    if (ink.isEmpty())
        return false;
    if (!ink.isLine())
        return doubleArea(ink) != 0;
    OxInk filled;
    return ink.reach * kInkScale >= 4 || (filledInk(ink, filled) && doubleArea(filled) != 0);
}

} // namespace quillmark::detail
