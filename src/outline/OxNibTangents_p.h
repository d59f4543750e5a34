#ifndef OXNIBTANGENTS_P_H
#define OXNIBTANGENTS_P_H

#include <QPointF>
#include <QVector>
#include <vector>

namespace quillmark::detail {

// Finds, for lines through a nib's centre, the nib point farthest from the line on each side:
// the points a segment travelling along that line touches with its two sides. The answer is the
// one of the plain search (pointToLineDistance for every point, the lowest index among equally
// distant ones), but most points are ruled out by a cheap bound of their distance first, so that
// a nib of 180 points costs a few exact distances per line instead of 180.
class NibTangents
{
public:
    // points must outlive this object.
    NibTangents(const QVector<QPointF> &points, QPointF center);

    // The tangent points for travel from the centre toward (qx, qy): left is the farthest point
    // with a positive side value (the side of lineCoefficients), right the farthest of the others;
    // an index stays 0 where no point is on its side.
    void find(float qx, float qy, int &left, int &right);

private:
    struct Farthest
    {
        float distance = -1;
        int index = 0;
    };

    // The far end of the line, its length squared and doubled.
    struct Probe
    {
        float x, y, squaredLength, twiceLength;
    };

    // A number never below pointToLineDistance of the point for a probe longer than 1.
    double distanceBound(int index, const Probe &probe) const;

    const QVector<QPointF> &points;
    float cx, cy;
    std::vector<float> toCenter;   // each point's distance from the centre
    std::vector<float> squaredToCenter;
    int lastLeft = 0, lastRight = 0;
};

} // namespace quillmark::detail

#endif
