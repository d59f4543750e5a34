#include "OxPathConnector.h"

OxPathConnector::OxPathConnector()
{
    sidesAsPoints = true;
}

OxPathConnector::~OxPathConnector() = default;
