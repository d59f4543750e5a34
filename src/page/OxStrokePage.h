#ifndef OXSTROKEPAGE_H
#define OXSTROKEPAGE_H

#include "OxStrokeRecord.h"
#include "QuillmarkExport.h"

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <memory>
#include <vector>

// A page of finished strokes that a host can hit-test, erase (whole strokes or exactly the ink
// under the eraser), select with a lasso, move, and undo and redo.
//
// Use:
//   1. add(record) for every finished stroke: the page replays the record on a fresh engine of
//      its kind (the cost of one replay) and keeps its ink: the outlines as drawn, filled with
//      the nonzero rule, or for the centre-line engine its line stroked at the pen width with
//      round caps and joins. The stroke gets a key (never 0, never used again on this page).
//   2. Queries (they change nothing and never run an engine): hit() for a disc, hitSwept() for
//      a disc moved along a path (an eraser from its previous event to this one: nothing in
//      between is skipped), lasso() for the strokes with ink inside a closed polygon and the
//      share of their ink that lies inside. They test the ink as drawn, not the centre line.
//   3. Edits: erase() cuts away exactly the ink under a swept eraser; a stroke the cut leaves in
//      several connected parts becomes one stroke per part, each with a new key, at its
//      stroke's place in the drawing order (a stroke left in one part keeps its key).
//      eraseStrokes() removes the strokes a swept eraser touches; move() moves strokes. Each
//      edit that changes something is one step (one that changes nothing makes none); undo() takes back the last step, leaving every stroke as it was (the
//      same points to the bit, under the same keys), and redo() makes it again; a new step
//      forgets what could be redone. beginGroup() and endGroup() make the steps between them
//      one (an eraser drag of many moves is taken back at once).
//   4. Read the ink with polygons() or inkPath() and paint it, oldest first (keys(),
//      keysIn()), repainting the rectangle each edit reports: it covers every pixel that
//      changed.
//   5. To store the page, take its contents() (what OxPageFile writes); restore() puts stored
//      contents back, every stroke under its key and with the same ink to the bit, without the
//      undo history.
//
// Ink lies on a grid of 1/1024 of a drawing unit (every point of a stroke's ink moves by less
// than 1/2048 when it is added); coordinates must stay within 2,000,000 units of the origin.
// A stroke's record (record()) holds what it was drawn from and every edit made to it since,
// in order, so that add() of the record rebuilds it, cut for cut, to the bit.
//
// Bad input is refused with a Status naming what was wrong, and changes nothing: positions that
// are not finite, a radius that is not positive and finite, a lasso of fewer than three points,
// an unknown key, undo or redo with nothing to take back or to make again, a record that cannot
// be replayed or draws no ink.
//
// One thread at a time; the page owns everything it holds.
class QUILLMARK_EXPORT OxStrokePage
{
public:
    using Key = qint64;

    enum Status {
        kDone = 0,
        kUnusableRecord,   // the record: an unknown engine, a width that is not finite, steps
                           // that do not add up to its samples or that its engine lacks, an
                           // edit that names no piece
        kNoInk,            // the record draws nothing that covers any area
        kOutOfRange,       // a position or size beyond 2,000,000 units
        kBadPoints,        // points: none, or one that is not finite
        kTooFewPoints,     // points: a lasso of fewer than three
        kBadRadius,        // radius: not positive and finite
        kUnknownKey,       // key: no stroke of this page
        kNothingToUndo,
        kNothingToRedo,
        kBadOffset,        // offset: not finite
        kBadKey,           // contents: a key not positive, used twice, or not below the next
                           // key; a next key above kMaxNextKey
        kBadDrawing,       // contents: a drawing index past the drawings, or strokes that share
                           // a drawing without being different pieces of it (see Contents)
    };
    // The argument a status is about ("record", "points", "radius", "key", "offset") and a line
    // on what was wrong; "" for kDone.
    static const char *argumentOf(Status status);
    static const char *describe(Status status);

    // What an edit changed: the rectangle to repaint (empty: nothing changed) and the keys that
    // left the page and came onto it (a stroke whose ink changed but kept its key is in
    // neither; a cut stroke's key is in removed and its pieces' in added).
    struct Change
    {
        QRectF area;
        std::vector<Key> removed;
        std::vector<Key> added;
    };

    struct Selected
    {
        Key key = 0;
        double fraction = 0;  // of the stroke's ink area, inside the lasso (above 0)
    };

    // How queries find the strokes near a place: an R-tree of their bounding boxes, or a scan of
    // every box (only to measure what the tree saves).
    enum class Lookup { kIndex, kLinearScan };

    // What a stored page keeps (OxPageFile): every record the strokes were drawn from, once, and
    // per stroke, in drawing order, its key, its drawing and the edits made to it since (so that
    // record() of the stroke is its drawing with its edits).
    //
    // The pieces of a cut stroke share their stroke's drawing. Strokes that share a drawing
    // follow one another, and each is another piece of it: its edits are those of the stroke
    // before up to an erase where both took a piece of the same cut (the same path and radius),
    // this one a later piece; from there on they may differ. So every cut a page rebuilds
    // yields pieces that lie apart, and the ink of strokes sharing a drawing adds up to no more
    // than the drawing's and its erasers' edges.
    struct Contents
    {
        struct Stroke
        {
            Key key = 0;
            size_t drawing = 0;                  // index into drawings
            std::vector<OxRecordedEdit> edits;
        };
        std::vector<OxStrokeRecord> drawings;    // without edits
        std::vector<Stroke> strokes;             // in drawing order
        Key nextKey = 1;                         // the key the next new stroke or piece gets
    };
    // Keys up to this bound leave room for more keys than a page can ever make.
    static constexpr Key kMaxNextKey = Key(1) << 62;

    explicit OxStrokePage(Lookup lookup = Lookup::kIndex);
    ~OxStrokePage();
    OxStrokePage(const OxStrokePage &) = delete;
    OxStrokePage &operator=(const OxStrokePage &) = delete;

    // Adds a finished stroke (and its edits, when the record has any) on top of the others;
    // key receives its key. One step.
    Status add(const OxStrokeRecord &record, Key &key, Change *change = nullptr);

    // Every stroke's key, in drawing order (oldest first).
    std::vector<Key> keys() const;
    // The keys of the strokes whose ink may meet area (by their bounding boxes), in drawing
    // order: what to paint for a repaint of area.
    std::vector<Key> keysIn(const QRectF &area) const;
    bool contains(Key key) const;
    int count() const;

    // The ink of a stroke now: closed polygons to fill with the nonzero rule, sizes[i] points each
    // as x y floats in xy (appended). False (nothing appended) for an unknown key.
    bool polygons(Key key, std::vector<int> &sizes, std::vector<float> &xy) const;
    // The same as a path with the winding fill rule; empty for an unknown key.
    QPainterPath inkPath(Key key) const;
    // The bounding rectangle of its ink; empty for an unknown key.
    QRectF bounds(Key key) const;
    // Red in the high byte, alpha in the low one; 0 for an unknown key.
    quint32 rgba(Key key) const;
    // What the stroke was drawn from and every edit made to it since; false for an unknown key.
    bool record(Key key, OxStrokeRecord &out) const;

    // The strokes whose ink a disc touches (at any distance up to radius), in drawing order.
    Status hit(QPointF centre, double radius, std::vector<Key> &keys) const;
    // The strokes whose ink a disc of radius touches as it moves along path (one point: a disc),
    // in drawing order.
    Status hitSwept(const std::vector<QPointF> &path, double radius,
                    std::vector<Key> &keys) const;
    // The strokes with ink inside the closed polygon (nonzero rule; it may cross itself), with
    // the share of their ink inside, in drawing order.
    Status lasso(const std::vector<QPointF> &polygon, std::vector<Selected> &selected) const;

    // Cuts away the ink under an eraser of radius swept along path (one point: a disc): the ink
    // within radius of the path goes, and no ink farther than radius + 0.01 from it. Positions
    // and radius are taken as floats (what the record keeps).
    Status erase(const std::vector<QPointF> &path, double radius, Change *change = nullptr);
    // Removes every stroke the swept eraser touches (as hitSwept()).
    Status eraseStrokes(const std::vector<QPointF> &path, double radius,
                        Change *change = nullptr);
    // Moves the strokes by offset (taken as floats, rounded to the grid); refused (nothing moves)
    // when a key is unknown.
    Status move(const std::vector<Key> &keys, QPointF offset, Change *change = nullptr);

    Status undo(Change *change = nullptr);
    Status redo(Change *change = nullptr);
    bool canUndo() const;
    bool canRedo() const;
    // Steps made between the two are one step; nested pairs count as one.
    void beginGroup();
    void endGroup();
    // Forgets every step (what they held is freed); the strokes stay as they are.
    void clearHistory();

    // The strokes on the page as a stored page keeps them; the history is not part of them.
    Contents contents() const;
    // Replaces everything on the page, its history included, by contents: each drawing is
    // replayed once and the edits its strokes share are made once. The next key is
    // contents.nextKey, keys stay as they are, and the drawing order is contents' order.
    // Refused, with the page left as it was, when a key, drawing or record is unusable
    // (kBadKey, kBadDrawing, and what add() refuses); refused (may be null) then receives the
    // index of the stroke refused, or contents.strokes.size() for the next key.
    Status restore(const Contents &contents, size_t *refused = nullptr);

    // Bytes the page holds for its strokes (ink, index, records), the steps it could undo
    // included.
    size_t bytes() const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};

#endif
