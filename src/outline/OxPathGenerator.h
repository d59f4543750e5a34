#ifndef OXPATHGENERATOR_H
#define OXPATHGENERATOR_H

#include "OxPathBuilder.h"

// The outline builder that keeps a stroke's body: it grows segment by segment for the whole
// stroke. See OxPathBuilder for the protocol.
class QUILLMARK_EXPORT OxPathGenerator : public OxPathBuilder
{
public:
    OxPathGenerator();
    ~OxPathGenerator() override;

    // A new generator (owned by the caller) with the same nib and sector table and an empty
    // outline.
    OxPathGenerator *clone() const;
};

#endif
