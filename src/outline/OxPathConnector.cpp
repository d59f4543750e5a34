#include "OxPathConnector.h"

OxPathConnector::OxPathConnector() = default;

OxPathConnector::~OxPathConnector() = default;
