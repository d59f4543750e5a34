#ifndef OXINPUTGUARDS_P_H
#define OXINPUTGUARDS_P_H

// Checks shared by every engine's phase calls: a sample, width or parameter that is not a finite
// number cannot be used and is dropped before it touches any state.

#include <QMap>
#include <QPointF>
#include <QString>
#include <QVariant>
#include <cmath>
#include <limits>

namespace quillmark::detail {

inline bool isFinitePoint(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

inline bool isUsableSample(QPointF p, float width)
{
    return isFinitePoint(p) && std::isfinite(width);
}

// A floating-point time rounded to whole milliseconds as Qt 5's QVariant::toInt rounds it, in the
// value's own precision: halves go up (-2.5 gives -2, and a float 8388609 gives 8388610). Qt 6
// rounds halves away from zero, so the engines round by themselves and read the same times on
// either Qt. v lies within the int range.
template <class Real>
int roundedTime(Real v)
{
    if (v >= Real(0))
        return int(qint64(v + Real(0.5)));
    const qint64 below = qint64(v - 1);
    return int(qint64(v - Real(below) + Real(0.5)) + below);
}

// Reads "time" as the engines do, with QVariant::toInt (absent: 0). A floating-point time that is
// not finite or lies beyond the int range is unusable: returns false and leaves time alone.
inline bool readTimeParam(const QMap<QString, QVariant> &params, int &time)
{
    const QVariant v = params.value(QStringLiteral("time"));
    const int type = v.userType();
    if (type == QMetaType::Double || type == QMetaType::Float) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || std::fabs(d) > double(std::numeric_limits<int>::max()))
            return false;
        time = type == QMetaType::Float ? roundedTime(v.toFloat()) : roundedTime(d);
        return true;
    }
    time = v.toInt();
    return true;
}

// Reads "pressure" with QVariant::toFloat (absent: 0). A pressure that is not a finite float is
// unusable: returns false and leaves pressure alone.
inline bool readPressureParam(const QMap<QString, QVariant> &params, float &pressure)
{
    const float p = params.value(QStringLiteral("pressure")).toFloat();
    if (!std::isfinite(p))
        return false;
    pressure = p;
    return true;
}

} // namespace quillmark::detail

#endif
