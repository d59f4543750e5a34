#include "Quillmark.h"

Quillmark::Quillmark() = default;

Quillmark &Quillmark::operator=(const Quillmark &)
{
    return *this;
}

Quillmark &Quillmark::operator=(Quillmark &&)
{
    return *this;
}
