#ifndef QUILLMARK_BENCH_PAGEOFSTROKES_H
#define QUILLMARK_BENCH_PAGEOFSTROKES_H

// The benchmarks' page: 10,000 strokes from the recordings in data/ (the tablet painting and the
// recorded handwriting), drawn with the six engines in turn at pen width 6 and tiled over a
// page 100 cells of 400 units wide, each stroke's top left corner at its cell's. Places on it
// that touch no ink and places on its ink, for the queries.

#include "OxStrokePage.h"
#include "StrokeRecords.h"

#include <QPointF>
#include <memory>
#include <vector>

struct PageOfStrokes
{
    static constexpr int kStrokes = 10000;
    static constexpr int kColumns = 100;
    static constexpr double kCell = 400;
    static constexpr float kWidth = 6;

    std::unique_ptr<OxStrokePage> page;
    std::vector<OxStrokePage::Key> keys;
    std::vector<OxStrokeRecord> records;  // as added, one per key
    // Bytes of every stroke's ink as float polygons (the shapes a host would keep).
    size_t shapeBytes = 0;

    // A page of lookup's kind; the same strokes every time.
    static const PageOfStrokes &get(OxStrokePage::Lookup lookup);
    // Records of the recordings in the order they are tiled, each at the origin.
    static const std::vector<OxStrokeRecord> &recordings();
};

// Places where a disc of radius touches no ink, and places on some stroke's ink (a point of its
// outline), spread over the page; the same ones every run.
std::vector<QPointF> placesOffInk(const OxStrokePage &page, double radius, size_t count);
std::vector<QPointF> placesOnInk(const OxStrokePage &page, size_t count);

#endif
