#ifndef OXPREDICTEDINK_H
#define OXPREDICTEDINK_H

#include "OxInkPoint.h"
#include "QuillmarkExport.h"

#include <QBrush>
#include <QMap>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>
#include <typeinfo>
#include <vector>

class OxEngineKind;
class OxPathBuilder;
class OxStrokesFixWidth;
class QPainter;

// Ink ahead of the pen: samples the pen has not reached yet (a platform's predicted touches, or
// OxPenPredictor's guess) drawn after a stroke's real samples and taken back at its next call.
// Works for each of the six engines of OxEngineKind the same way.
//
// The contract: results from real samples are never revised; predicted ink is void at the next
// real call. The engine, its points and its path are never handed a predicted sample, so the
// committed ink after every call is, to the bit, what the stroke fed without predictions gives.
//
// Use, one OxPredictedInk beside each stroke's engine:
//   1. After startCreate or any creating (also the brush's raw and fitted calls),
//      draw(engine, points, path, samples, width) with the predicted samples, oldest first, in the
//      engine's units ("time" in ms as the stroke's calls count it, "pressure" as they read it).
//      The previous prediction is taken back first. Returns what to repaint: the area of the ink
//      taken back and of the new predicted ink.
//   2. Paint the engine as always, then the predicted ink on top: paint(), or read outlines() and
//      centreLine() (OxStrokeShape reads engine(), the copy the prediction was drawn on).
//   3. Before the stroke's next call: takeBack(), and repaint what it returns with that call's
//      rectangle. endCreate ends a stroke with nothing predicted left.
//
// How: the predicted samples go to a copy of the engine made of its recent state only: its
// smoothing and tail state, the last points of the outline's sides, the caller's last points, not
// the stroke's whole history. The copy is refreshed at every draw and kept for the next, so a
// prediction costs the same late in a long stroke as early, and the memory it holds does not grow
// with the stroke. For its calls the copy borrows the engine's smoothed line (and the speed
// engine's arc lengths: it measures its speed from a point about halfway back along the stroke,
// found by index); the calls only append to the line and rewrite the points from the last drawn
// one on, so the line is handed back with the appended points cut off and those points restored
// as they were, before draw returns (also when a call throws). What the copy draws after its
// refresh is the predicted ink: its outline begins across the last committed segment, overlapping
// the committed ink, and its tail (extend, brush) replaces nothing of the engine's own.
//
// Refused, changing nothing (draw returns false): an engine that is not one of OxEngineKind's six
// (a subclass included), a stroke that has not started (points or its smoothed line empty), a
// width that is not finite, and a sample with a coordinate, time or pressure that is not finite,
// a time beyond the int range, or a time earlier than the sample before it (the first one:
// than the stroke's newest point, as points holds it). Finishing the stroke is the host's part:
// it does not draw predictions after endCreate.
class QUILLMARK_EXPORT OxPredictedInk
{
public:
    OxPredictedInk();
    ~OxPredictedInk();
    OxPredictedInk(const OxPredictedInk &) = delete;
    OxPredictedInk &operator=(const OxPredictedInk &) = delete;

    // Takes back the previous prediction and draws samples (none: only takes back). False when
    // refused; changed then stays empty and nothing changes.
    bool draw(OxStrokesFixWidth &engine, const std::vector<OxInkPoint> &points,
              const QPainterPath &path, const std::vector<OxInkPoint> &samples, float width,
              QRectF &changed);
    // Forgets the predicted ink; returns its area (empty when there was none).
    QRectF takeBack();

    // The predicted samples drawn now (those the engine took, in order); empty when none.
    const std::vector<OxInkPoint> &samples() const { return drawn; }
    bool isEmpty() const { return drawn.empty(); }
    // The predicted ink to fill (nonzero rule): the copy's outline, then its tails. Empty when
    // nothing is predicted and for the centre-line engine.
    QVector<QPainterPath> outlines() const;
    // The centre-line engine's predicted piece, to stroke at the width from where the stroke's
    // path ends; empty when nothing is predicted or for the other engines.
    QPainterPath centreLine() const;
    // Paints the predicted ink that meets rect with brush (the centre line stroked with a round
    // pen of the width), antialiased. A null painter draws nothing.
    void paint(QPainter *painter, QRectF rect, const QBrush &brush) const;
    // The copy the ink was drawn on, for readers of an engine's shape (OxStrokeShape); null
    // when nothing is predicted.
    OxStrokesFixWidth *engine() const;
    // The path the copy was given (its centre line or samples after the stroke's path's end).
    const QPainterPath &path() const { return copyPath; }

private:
    const OxEngineKind *kind = nullptr;
    std::unique_ptr<OxStrokesFixWidth> copy;
    // The copy's outline builder (null for the centre-line engine): it lives as long as the copy.
    OxPathBuilder *copyBuilder = nullptr;
    std::vector<OxInkPoint> copyPoints;
    QPainterPath copyPath;
    float copyWidth = 0;
    std::vector<OxInkPoint> drawn;
    // The parameters of the predicted calls, and where their two values lie in the map.
    QMap<QString, QVariant> params;
    QVariant *timeValue = nullptr;
    QVariant *pressureValue = nullptr;
    QRectF drawnRect;

    // Placeholders swapped into the engine while it is copied, and the copy's own buffers set
    // aside meanwhile: the stubs of its sides, its last corners, its pressure weights.
    std::vector<OxInkPoint> emptyPoints;
    std::vector<float> emptyFloats;
    QPainterPath sideStubs[2];
    QPolygonF keptCorners;
    QVector<int> keptWeights;
    // While the copy draws, it holds the engine's smoothed line (and the speed engine's arc
    // lengths): their sizes then, and the points from the last drawn one on as they were.
    size_t lentPoints = 0;
    size_t lentFrom = 0;
    size_t lentArcLengths = 0;
    std::vector<OxInkPoint> savedPoints;

    const char *refusal(const OxStrokesFixWidth &engine, const std::vector<OxInkPoint> &points,
                        const std::vector<OxInkPoint> &samples, float width) const;
    // The copy takes the engine's recent state; returns the area of the outline it starts with
    // (where it overlaps the committed ink).
    QRectF refresh(OxStrokesFixWidth &engine, const std::vector<OxInkPoint> &points,
                   const QPainterPath &path, float width);
    // The kind of engine's class, remembered for the class last asked about.
    const OxEngineKind *kindOf(const OxStrokesFixWidth &engine) const;
    mutable const std::type_info *knownType = nullptr;
    mutable const OxEngineKind *knownKind = nullptr;
    // The box of the copy's outline pieces and tails, read without joining them into outlines.
    // The copy's rectangles hold only what its calls changed: where they all drop their segment
    // (a nib that covers the step, as with pressures far above 1), the predicted outline is the
    // stub of the committed sides and the committed end cap, which they do not hold.
    QRectF outlineBox() const;
    // params holds the sample's "time" and "pressure".
    void setParams(const OxInkPoint &sample);
    // The copy takes the engine's smoothed line before its calls; giveBack returns it as it was.
    void lend(OxStrokesFixWidth &engine);
    void giveBack(OxStrokesFixWidth &engine);
};

#endif
