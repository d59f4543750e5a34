#ifndef OXPATHCONNECTOR_H
#define OXPATHCONNECTOR_H

#include "OxPathBuilder.h"

// A second, independent outline builder beside an engine's generator: the engines rebuild the
// tapering tail of a stroke in it from scratch on every sample (resetOutline, addSegment per tail
// segment, getOutlinePath). See OxPathBuilder for the protocol.
class QUILLMARK_EXPORT OxPathConnector : public OxPathBuilder
{
public:
    OxPathConnector();
    ~OxPathConnector() override;
};

#endif
