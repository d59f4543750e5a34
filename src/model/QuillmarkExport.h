#ifndef QUILLMARK_EXPORT_H
#define QUILLMARK_EXPORT_H

/* The library is built with hidden visibility; this macro marks what a host may use.
   Plain preprocessor with C comments: the C interface includes it too. */
#if defined(_WIN32)
#  if defined(QUILLMARK_BUILDING)
#    define QUILLMARK_EXPORT __declspec(dllexport)
#  else
#    define QUILLMARK_EXPORT __declspec(dllimport)
#  endif
#else
#  define QUILLMARK_EXPORT __attribute__((visibility("default")))
#endif

#endif
