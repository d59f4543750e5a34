#include "OxPathGenerator.h"

OxPathGenerator::OxPathGenerator() = default;

OxPathGenerator::~OxPathGenerator() = default;

OxPathGenerator *OxPathGenerator::clone() const
{
    OxPathGenerator *copy = new OxPathGenerator;
    copy->copyShapeFrom(*this);
    return copy;
}
