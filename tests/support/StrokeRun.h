#ifndef QUILLMARK_STROKERUN_H
#define QUILLMARK_STROKERUN_H

// One recorded stroke fed to one engine in one mode, call by call, and what a host sees of it:
// the returned rectangles, the caller's points and path, the outlines, and the picture a host
// paints. Runs can be copied in the middle of a stroke (the engine by its copy constructor).

#include "OxEngineKind.h"
#include "ResultDigest.h"
#include "StrokeFile.h"

#include <QPainter>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

// Unusable input that every engine must drop without a trace.
enum class Unusable { kTooClose, kNotFinite, kWidthNotFinite };

inline const char *nameOf(Unusable u)
{
    switch (u) {
    case Unusable::kTooClose:
        return "a sample too close to the last one";
    case Unusable::kNotFinite:
        return "a sample that is not finite";
    case Unusable::kWidthNotFinite:
        return "a width that is not finite";
    }
    return "";
}

// Digests of what a host can observe after a call.
struct Observed
{
    uint64_t points = 0, path = 0, outline = 0, tails = 0;
    // The names of the outputs that differ from o.
    std::string differences(const Observed &o) const
    {
        std::string out;
        auto note = [&](bool same, const char *name) {
            if (!same)
                out += std::string(out.empty() ? "" : ", ") + name;
        };
        note(points == o.points, "points");
        note(path == o.path, "path");
        note(outline == o.outline, "outline");
        note(tails == o.tails, "tail paths");
        return out;
    }
};

// A run of an engine of the table, fed sample by sample (kSamples) or in batches of four in one
// of the other ways of its kind.
class StrokeRun
{
public:
    StrokeRun(const OxEngineKind &kind, const RecordedStroke &stroke, OxEngineKind::Feed feed,
              float width)
        : kind_(kind), stroke_(stroke), feed_(feed), width_(width), engine_(kind.make())
    {
    }
    StrokeRun(const StrokeRun &other)
        : kind_(other.kind_), stroke_(other.stroke_), feed_(other.feed_), width_(other.width_),
          engine_(other.kind_.copy(*other.engine_)), points_(other.points_), path_(other.path_)
    {
    }

    std::unique_ptr<StrokeRun> copy() const { return std::make_unique<StrokeRun>(*this); }

    // Calls are numbered from 0 (startCreate) to callCount() - 1 (the end call).
    size_t callCount() const
    {
        const size_t n = stroke_.size();
        if (feed_ == OxEngineKind::kSamples)
            return std::max<size_t>(n, 2);
        return 2 + (n > 2 ? (n - 2 + kBatch - 1) / kBatch : 0);
    }

    QRectF call(size_t k)
    {
        const size_t last = callCount() - 1;
        if (k == 0)
            return engine_->startCreate(points_, path_, at(0), paramsAt(0), width_);
        if (k == last)
            return end(at(stroke_.size() - 1), paramsAt(stroke_.size() - 1), width_);
        if (feed_ == OxEngineKind::kSamples)
            return engine_->creating(points_, path_, at(k), paramsAt(k), width_);
        const size_t first = 1 + (k - 1) * kBatch;
        const size_t newest = std::min(first + kBatch, stroke_.size() - 1) - 1;
        QList<QPointF> samples;
        for (size_t i = first; i <= newest; ++i)
            samples.append(at(i));
        return batch(samples, paramsAt(newest), width_);
    }

    // Feeds unusable input of the kind the next call would make (none too close for the first
    // or the end call); returns what the engine did.
    QRectF feedUnusable(size_t next, Unusable kind)
    {
        const QPointF last = points_.empty() ? at(0) : QPointF(points_.back().x, points_.back().y);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const QPointF p = kind == Unusable::kTooClose   ? last + QPointF(0.05, 0)
                          : kind == Unusable::kNotFinite ? QPointF(nan, last.y())
                                                          : at(std::min(next, stroke_.size() - 1));
        const float w = kind == Unusable::kWidthNotFinite ? std::nanf("") : width_;
        const Params params = paramsAt(std::min(next, stroke_.size() - 1));
        if (next == 0)
            return kind == Unusable::kTooClose ? QRectF()
                                               : engine_->startCreate(points_, path_, p, params, w);
        if (next == callCount() - 1 || feed_ == OxEngineKind::kSamples) {
            if (next == callCount() - 1)
                return kind == Unusable::kTooClose ? QRectF() : end(p, params, w);
            return engine_->creating(points_, path_, p, params, w);
        }
        // A batch whose one sample is too close (backward-only batches keep samples 1.0 apart).
        QList<QPointF> samples{kind == Unusable::kTooClose && feed_ == OxEngineKind::kBatch
                                   ? last + QPointF(0.5, 0)
                                   : p};
        return batch(samples, params, w);
    }

    // Digests of what a host can observe now.
    Observed observe() const
    {
        ResultDigest points, path, outline, tails;
        points.add(points_);
        path.add(path_);
        outline.add(body());
        for (const QPainterPath &tail : kind_.tails(*engine_))
            tails.add(tail);
        return {points.value(), path.value(), outline.value(), tails.value()};
    }

    // Paints what a host shows: the outlines filled, or the plain engine's path stroked.
    void paint(QPainter &painter) const
    {
        if (kind_.drawn == OxEngineKind::Drawn::kCentreLine) {
            painter.strokePath(path_, QPen(Qt::black, double(width_), Qt::SolidLine,
                                           Qt::RoundCap, Qt::RoundJoin));
            return;
        }
        for (const QPainterPath &outline : outlines())
            painter.fillPath(outline, Qt::black);
    }

    // The caller's points (once the stroke has ended, the smoothed centre line) and path.
    const std::vector<OxInkPoint> &points() const { return points_; }
    const QPainterPath &path() const { return path_; }
    // The engine itself, for calls beside the run's own (predictions drawn on it).
    OxStrokesFixWidth &engine() const { return *engine_; }
    const OxEngineKind &kind() const { return kind_; }
    // The body outline, then the tails (none for the centre-line engine).
    QVector<QPainterPath> outlines() const { return kind_.outlines(*engine_); }

    // The body outline, which the finished centre line must lie in.
    QPainterPath body() const
    {
        const QVector<QPainterPath> all = outlines();
        return all.isEmpty() ? QPainterPath() : all.front();
    }

private:
    using Params = QMap<QString, QVariant>;
    static constexpr size_t kBatch = 4;

    QPointF at(size_t i) const { return QPointF(stroke_[i].x, stroke_[i].y); }
    Params paramsAt(size_t i) const
    {
        return {{QStringLiteral("time"), int(stroke_[i].timeMs)},
                {QStringLiteral("pressure"), stroke_[i].pressure}};
    }

    QRectF end(QPointF p, const Params &params, float width)
    {
        if (feed_ == OxEngineKind::kBatch)
            return kind_.endBatch(*engine_, points_, path_, p, params, width);
        return engine_->endCreate(points_, path_, p, params, width);
    }

    QRectF batch(QList<QPointF> &samples, const Params &params, float width)
    {
        switch (feed_) {
        case OxEngineKind::kBatch:
            return kind_.creatingBatch(*engine_, points_, samples, params, width);
        case OxEngineKind::kRaw:
            return kind_.creatingRaw(*engine_, points_, samples, params, width);
        case OxEngineKind::kFitted: {
            // The newest sample is the new point, the ones before it the extra samples.
            QList<QPointF> extra = samples;
            const QPointF point = extra.takeLast();
            return kind_.creatingFitted(*engine_, points_, path_, extra, point, params, width);
        }
        default:
            return QRectF();
        }
    }

    const OxEngineKind &kind_;
    RecordedStroke stroke_;
    OxEngineKind::Feed feed_;
    float width_;
    std::unique_ptr<OxStrokesFixWidth> engine_;
    std::vector<OxInkPoint> points_;
    QPainterPath path_;
};

// Every engine in every mode: a name, and the engine and way of feeding a run of a stroke takes.
struct RunKind
{
    std::string name;
    const OxEngineKind *kind;
    OxEngineKind::Feed feed;

    std::unique_ptr<StrokeRun> start(const RecordedStroke &stroke, float width) const
    {
        return std::make_unique<StrokeRun>(*kind, stroke, feed, width);
    }
};

// Every engine sample by sample ("brush"), then every other way of feeding of each
// ("brush backward-only", "brush raw", "brush fitted").
inline std::vector<RunKind> everyEngineAndMode()
{
    std::vector<RunKind> kinds;
    auto add = [&](const OxEngineKind &kind, OxEngineKind::Feed feed, const char *mode) {
        kinds.push_back({kind.name + std::string(mode), &kind, feed});
    };
    for (const OxEngineKind &kind : OxEngineKind::all())
        add(kind, OxEngineKind::kSamples, "");
    for (const OxEngineKind &kind : OxEngineKind::all()) {
        for (auto [way, mode] : {std::pair(OxEngineKind::kBatch, " backward-only"),
                                 std::pair(OxEngineKind::kRaw, " raw"),
                                 std::pair(OxEngineKind::kFitted, " fitted")}) {
            if (kind.canFeed(way))
                add(kind, way, mode);
        }
    }
    return kinds;
}

#endif
