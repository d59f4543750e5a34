#ifndef OXENGINEKIND_H
#define OXENGINEKIND_H

#include "OxStrokesFixWidth.h"

#include <QList>
#include <QVector>
#include <memory>
#include <vector>

// The six stroke engines as one table: each kind's number, short name, a line on what it draws,
// how to make one, what it draws and the ways it can be fed. Everything that offers a choice of
// engine (the C stroke face, the Python package, the tools, the benchmarks, the fuzzers) reads
// this table, so an engine and what it accepts are written down once.
//
//   id  name      class                               feeds
//   1   fix       OxStrokesFixWidth                   samples, replay
//   2   fill      OxStrokesFixWidthFill               samples, replay, batch
//   3   pressure  OxStrokesVaryWidthPressure          samples, replay
//   4   speed     OxStrokesVaryWidthTime              samples, replay
//   5   extend    OxStrokesVaryWidthBackwardExtend    samples, replay
//   6   brush     OxStrokesVaryWidthBackwardTime      samples, replay, batch, raw, fitted
//
// The ids are the C face's QUILLMARK_FIX ... QUILLMARK_BRUSH.
class QUILLMARK_EXPORT OxEngineKind
{
public:
    using Params = QMap<QString, QVariant>;

    // A way of feeding a stroke: which calls carry its samples to the engine.
    enum Feed : unsigned {
        kSamples = 1u << 0,  // startCreate, creating per sample, endCreate
        kReplay = 1u << 1,   // loadFromWholePoints: a stored stroke in one call
        kBatch = 1u << 2,    // startCreate, creatingOnlyBackward per batch, endCreateOnlyBackward
        kRaw = 1u << 3,      // creatingYuanShi per batch of unsmoothed samples, then endCreate
        kFitted = 1u << 4,   // creating with the samples between two as a fitted curve
    };

    // What the host draws of a stroke of this kind.
    enum class Drawn {
        kCentreLine,         // the caller's path, a polyline stroked at the pen width
        kOutline,            // the engine's closed outline, filled with the nonzero rule
        kOutlineAndTails,    // the outline and the tail paths drawn apart from it, all filled
    };

    int id;
    const char *name;
    const char *title;
    unsigned feeds;
    Drawn drawn;

    bool canFeed(Feed way) const { return (feeds & way) != 0; }
    std::unique_ptr<OxStrokesFixWidth> make() const;

    // The calls of the batch, raw and fitted ways. engine must be of this kind (made by make(), or
    // a copy); a kind that lacks the way, or an engine of another kind, gets an empty rectangle and
    // nothing changes.
    QRectF creatingBatch(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                         QList<QPointF> &samples, const Params &params, float width) const;
    QRectF endBatch(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points, QPainterPath &path,
                    QPointF point, const Params &params, float width) const;
    QRectF creatingRaw(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                       QList<QPointF> &samples, const Params &params, float width) const;
    QRectF creatingFitted(OxStrokesFixWidth &engine, std::vector<OxInkPoint> &points,
                          QPainterPath &path, QList<QPointF> &between, QPointF point,
                          const Params &params, float width) const;

    // The closed outlines an engine of this kind has drawn so far, body first, then its tails;
    // empty for kCentreLine (its shape is the caller's path) and for an engine of another kind.
    QVector<QPainterPath> outlines(const OxStrokesFixWidth &engine) const;

    // All six, in the order of the table above.
    static const std::vector<OxEngineKind> &all();
    // The kind of an id or a short name; nullptr for one that names none.
    static const OxEngineKind *byId(int id);
    static const OxEngineKind *byName(const char *name);
    // The kind of an engine object, by its class; nullptr for a class outside the table.
    static const OxEngineKind *of(const OxStrokesFixWidth &engine);
};

#endif
