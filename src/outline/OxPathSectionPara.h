#ifndef OXPATHSECTIONPARA_H
#define OXPATHSECTIONPARA_H

#include "QuillmarkExport.h"

// One direction sector of a nib: for travel at an angle in [startAngle, endAngle) (radians,
// counter-clockwise on screen), the nib points that touch the left and right edges of the swept
// stroke.
class QUILLMARK_EXPORT OxPathSectionPara
{
public:
    OxPathSectionPara();
    OxPathSectionPara(float startAngle, float endAngle, int leftIndex, int rightIndex);
    OxPathSectionPara(const OxPathSectionPara &other) = default;
    OxPathSectionPara &operator=(const OxPathSectionPara &other) = default;
    virtual ~OxPathSectionPara();

    float startAngle;
    float endAngle;
    int leftIndex;    // index into the nib's points of the point farthest left of travel
    int rightIndex;   // index of the point farthest right of travel
};

#endif
