#ifndef OXENGINEBUILDERS_P_H
#define OXENGINEBUILDERS_P_H

#include "OxPathGenerator.h"

#include <QPainterPath>
#include <memory>

namespace quillmark::detail {

// How an engine owns its outline builders: through plain pointers, each made with new by the
// engine's constructor with the nib that every engine of its class shares, and deleted by its
// destructor. A copy of an engine starts as a new engine and is then assigned, and assignment
// copies the outlines into the target's own builders: two engines never share a builder.
//
// A nib's tables cost a few hundred microseconds to build, so each engine class builds them once,
// in a builder it keeps for the purpose (nibHolder, in a function's static), and its builders
// take them over from there (newBuilderWithNib): implicitly shared, so that costs a few reference
// counts and is safe from any thread.

// A builder that holds nib, installed for the width size, and no outline.
inline OxPathGenerator nibHolder(const QPainterPath &nib, float size)
{
    OxPathGenerator holder;
    holder.setSamplePath(nib, size);
    return holder;
}

// A new builder (owned by the caller) with the nib of holder and an empty outline.
template <class Builder>
Builder *newBuilderWithNib(const OxPathBuilder &holder)
{
    std::unique_ptr<Builder> builder(new Builder);
    builder->copyShapeFrom(holder);
    return builder.release();
}

} // namespace quillmark::detail

#endif
