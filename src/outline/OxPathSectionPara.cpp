#include "OxPathSectionPara.h"

OxPathSectionPara::OxPathSectionPara() : startAngle(0), endAngle(0), leftIndex(0), rightIndex(0)
{
}

OxPathSectionPara::OxPathSectionPara(float startAngle, float endAngle, int leftIndex,
                                     int rightIndex)
    : startAngle(startAngle), endAngle(endAngle), leftIndex(leftIndex), rightIndex(rightIndex)
{
}

OxPathSectionPara::~OxPathSectionPara() = default;
