#ifndef QUILLMARK_CLASS_H
#define QUILLMARK_CLASS_H

#include "QuillmarkExport.h"

// A class without data or behaviour, kept for hosts that link against its symbols.
class QUILLMARK_EXPORT Quillmark
{
public:
    Quillmark();
    Quillmark(const Quillmark &other) = default;
    Quillmark(Quillmark &&other) = default;
    Quillmark &operator=(const Quillmark &other);
    Quillmark &operator=(Quillmark &&other);
};

#endif
