#ifndef OXENGINEKIND_H
#define OXENGINEKIND_H

#include "OxStrokesFixWidth.h"

#include <QBrush>
#include <QList>
#include <QVector>
#include <memory>
#include <vector>

class OxPathBuilder;

// The six stroke engines as one table: each kind's number, short name, class, a line on what it
// draws, how to make and copy one, what it draws and the ways it can be fed. Everything that
// offers a choice of engine (the C stroke face, the Python package, the gateway, OxStrokeShape,
// the tools, the benchmarks, the fuzzers) reads this table, so an engine and what it accepts are
// written down once.
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
//
// The calls below take an engine of the kind: made by make() or copy(), or of a class derived
// from the kind's (of() finds the nearest kind of any engine). Given an engine of another kind,
// or a way the kind lacks, they do nothing and return the empty result.
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
    const char *className;
    const char *title;
    unsigned feeds;
    Drawn drawn;

    bool canFeed(Feed way) const { return (feeds & way) != 0; }
    std::unique_ptr<OxStrokesFixWidth> make() const;
    // Whether engine is of the kind's own class, not of one derived from it.
    bool isOwnClass(const OxStrokesFixWidth &engine) const;
    // A copy of engine by its class's copy constructor, which goes on drawing the same stroke on
    // its own; null unless engine is of the kind's own class (a subclass would be cut short).
    std::unique_ptr<OxStrokesFixWidth> copy(const OxStrokesFixWidth &engine) const;
    // Assigns from to to by the class's assignment; false, changing nothing, unless both are of
    // the kind's own class.
    bool assign(OxStrokesFixWidth &to, const OxStrokesFixWidth &from) const;

    // The calls of the batch, raw and fitted ways.
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
    // empty for kCentreLine (its shape is the caller's path). Assembling the body costs time in
    // proportion to the stroke.
    QVector<QPainterPath> outlines(const OxStrokesFixWidth &engine) const;
    // The tails alone (kOutlineAndTails: the start dot, or the tail of the last call); they cost
    // what the tail holds.
    QVector<QPainterPath> tails(const OxStrokesFixWidth &engine) const;
    // The builder that sweeps the body outline, for a reader that follows the outline as it
    // grows instead of assembling it (OxStrokeShape); null for kCentreLine.
    OxPathBuilder *outlineBuilder(const OxStrokesFixWidth &engine) const;
    // The engine's own paint of the part of its shapes inside rect: the body (and tails) filled
    // with brush, the filled engine with the brush's colour. Returns false, painting nothing, for
    // kCentreLine (the host strokes the caller's path) and a null painter.
    bool paint(OxStrokesFixWidth &engine, QPainter *painter, QRectF rect,
               const QBrush &brush) const;

    // All six, in the order of the table above.
    static const std::vector<OxEngineKind> &all();
    // The kind of an id or a short name; nullptr for one that names none.
    static const OxEngineKind *byId(int id);
    static const OxEngineKind *byName(const char *name);
    // The kind of an engine object: its class's, or for a class derived from an engine class,
    // the nearest one's (so never nullptr).
    static const OxEngineKind *of(const OxStrokesFixWidth &engine);

private:
    // The kind's calls, made from its class (OxEngineKind.cpp).
    struct Calls;
    // The calls for engine when it is of this kind, else null.
    const Calls *callsFor(const OxStrokesFixWidth &engine) const;
};

#endif
