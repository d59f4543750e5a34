#ifndef QUILLMARK_STROKERUN_H
#define QUILLMARK_STROKERUN_H

// One recorded stroke fed to one engine in one mode, call by call, and what a host sees of it:
// the returned rectangles, the caller's points and path, the outlines, and the picture a host
// paints. Runs can be copied in the middle of a stroke (the engine by its copy constructor).

#include "OxStrokesFixWidthFill.h"
#include "OxStrokesVaryWidthBackwardTime.h"
#include "OxStrokesVaryWidthTime.h"
#include "ResultDigest.h"
#include "StrokeFile.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

// The ways a stroke is fed: sample by sample, or in batches of four.
enum class Feed { kLive, kBackwardOnly, kRaw, kFitted };

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
    bool operator==(const Observed &o) const
    {
        return points == o.points && path == o.path && outline == o.outline && tails == o.tails;
    }
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

class StrokeRun
{
public:
    virtual ~StrokeRun() = default;
    virtual std::unique_ptr<StrokeRun> copy() const = 0;
    // Calls are numbered from 0 (startCreate) to callCount() - 1 (the end call).
    virtual size_t callCount() const = 0;
    virtual QRectF call(size_t k) = 0;
    // Feeds unusable input of the kind the next call would make; returns what the engine did.
    virtual QRectF feedUnusable(size_t next, Unusable kind) = 0;
    virtual Observed observe() const = 0;
    // Paints what a host shows: the outlines filled, or the plain engine's path stroked.
    virtual void paint(QPainter &painter) const = 0;
    // The smoothed centre line once the stroke has ended, and the outline it must lie in.
    virtual const std::vector<OxInkPoint> &points() const = 0;
    virtual QPainterPath body() const = 0;
};

template <class Engine>
class EngineRun : public StrokeRun
{
public:
    EngineRun(const RecordedStroke &stroke, Feed feed, float width)
        : stroke_(stroke), feed_(feed), width_(width)
    {
    }

    std::unique_ptr<StrokeRun> copy() const override
    {
        return std::make_unique<EngineRun>(*this);
    }

    size_t callCount() const override
    {
        const size_t n = stroke_.size();
        if (feed_ == Feed::kLive)
            return std::max<size_t>(n, 2);
        return 2 + (n > 2 ? (n - 2 + kBatch - 1) / kBatch : 0);
    }

    QRectF call(size_t k) override
    {
        const size_t last = callCount() - 1;
        if (k == 0)
            return engine_.startCreate(points_, path_, at(0), paramsAt(0), width_);
        if (k == last)
            return end(at(stroke_.size() - 1), paramsAt(stroke_.size() - 1), width_);
        if (feed_ == Feed::kLive)
            return engine_.creating(points_, path_, at(k), paramsAt(k), width_);
        const size_t first = 1 + (k - 1) * kBatch;
        const size_t newest = std::min(first + kBatch, stroke_.size() - 1) - 1;
        QList<QPointF> samples;
        for (size_t i = first; i <= newest; ++i)
            samples.append(at(i));
        return batch(samples, paramsAt(newest), width_);
    }

    QRectF feedUnusable(size_t next, Unusable kind) override
    {
        const OxInkPoint &lastPoint = points_.back();
        const QPointF last(lastPoint.x, lastPoint.y);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const QPointF p = kind == Unusable::kTooClose   ? last + QPointF(0.05, 0)
                          : kind == Unusable::kNotFinite ? QPointF(nan, last.y())
                                                          : at(std::min(next, stroke_.size() - 1));
        const float w = kind == Unusable::kWidthNotFinite ? std::nanf("") : width_;
        const Params params = paramsAt(std::min(next, stroke_.size() - 1));
        if (next == callCount() - 1 || feed_ == Feed::kLive) {
            // The end call takes a too close sample, so it is given only the other kinds.
            if (next == callCount() - 1)
                return kind == Unusable::kTooClose ? QRectF() : end(p, params, w);
            return engine_.creating(points_, path_, p, params, w);
        }
        // A batch whose one sample is too close (backward-only batches keep samples 1.0 apart).
        QList<QPointF> samples{kind == Unusable::kTooClose && feed_ == Feed::kBackwardOnly
                                   ? last + QPointF(0.5, 0)
                                   : p};
        return batch(samples, params, w);
    }

    Observed observe() const override
    {
        Observed o;
        ResultDigest points, path, outline, tails;
        points.add(points_);
        path.add(path_);
        outline.add(body());
        for (const QPainterPath &tail : tailPaths())
            tails.add(tail);
        return {points.value(), path.value(), outline.value(), tails.value()};
    }

    void paint(QPainter &painter) const override
    {
        if constexpr (std::is_same_v<Engine, OxStrokesFixWidth>) {
            painter.strokePath(path_, QPen(Qt::black, double(width_), Qt::SolidLine,
                                           Qt::RoundCap, Qt::RoundJoin));
        } else {
            painter.fillPath(body(), Qt::black);
            for (const QPainterPath &tail : tailPaths())
                painter.fillPath(tail, Qt::black);
        }
    }

    const std::vector<OxInkPoint> &points() const override { return points_; }

    QPainterPath body() const override
    {
        if constexpr (std::is_same_v<Engine, OxStrokesFixWidth>)
            return QPainterPath();
        else
            return engine_.getPathWhole();
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

    QVector<QPainterPath> tailPaths() const
    {
        if constexpr (std::is_base_of_v<OxStrokesVaryWidthBackwardExtend, Engine>)
            return engine_.getBackwardPaths();
        else
            return {};
    }

    QRectF end(QPointF p, const Params &params, float width)
    {
        if constexpr (std::is_base_of_v<OxStrokesVaryWidthBackwardTime, Engine>
                      || std::is_same_v<Engine, OxStrokesFixWidthFill>) {
            if (feed_ == Feed::kBackwardOnly)
                return engine_.endCreateOnlyBackward(points_, path_, p, params, width);
        }
        return engine_.endCreate(points_, path_, p, params, width);
    }

    QRectF batch(QList<QPointF> &samples, const Params &params, float width)
    {
        if constexpr (std::is_same_v<Engine, OxStrokesFixWidthFill>) {
            return engine_.creatingOnlyBackward(points_, samples, params, width);
        } else if constexpr (std::is_same_v<Engine, OxStrokesVaryWidthBackwardTime>) {
            if (feed_ == Feed::kBackwardOnly)
                return engine_.creatingOnlyBackward(points_, samples, params, width);
            if (feed_ == Feed::kRaw)
                return engine_.creatingYuanShi(points_, samples, params, width);
            // Fitted: the newest sample is the new point, the ones before it the extra samples.
            QList<QPointF> extra = samples;
            const QPointF point = extra.takeLast();
            return engine_.creating(points_, path_, extra, point, params, width);
        } else {
            return QRectF();
        }
    }

    RecordedStroke stroke_;
    Feed feed_;
    float width_;
    Engine engine_;
    std::vector<OxInkPoint> points_;
    QPainterPath path_;
};

// Every engine in every mode: a name and a way to start a run of a stroke.
struct RunKind
{
    std::string name;
    std::function<std::unique_ptr<StrokeRun>(const RecordedStroke &, float width)> start;
};

inline std::vector<RunKind> everyEngineAndMode()
{
    auto kind = [](std::string name, auto engine, Feed feed) {
        using Engine = decltype(engine);
        return RunKind{name, [feed](const RecordedStroke &s, float width) {
                           return std::unique_ptr<StrokeRun>(new EngineRun<Engine>(s, feed, width));
                       }};
    };
    return {
        kind("fix", OxStrokesFixWidth(), Feed::kLive),
        kind("fill", OxStrokesFixWidthFill(), Feed::kLive),
        kind("pressure", OxStrokesVaryWidthPressure(), Feed::kLive),
        kind("speed", OxStrokesVaryWidthTime(), Feed::kLive),
        kind("extend", OxStrokesVaryWidthBackwardExtend(), Feed::kLive),
        kind("brush", OxStrokesVaryWidthBackwardTime(), Feed::kLive),
        kind("fill backward-only", OxStrokesFixWidthFill(), Feed::kBackwardOnly),
        kind("brush backward-only", OxStrokesVaryWidthBackwardTime(), Feed::kBackwardOnly),
        kind("brush raw", OxStrokesVaryWidthBackwardTime(), Feed::kRaw),
        kind("brush fitted", OxStrokesVaryWidthBackwardTime(), Feed::kFitted),
    };
}

#endif
