#ifndef QUILLMARK_SHAPES_OUTPUTFILE_H
#define QUILLMARK_SHAPES_OUTPUTFILE_H

#include <QByteArray>
#include <QImage>
#include <string>

// Writes bytes to a temporary file beside path and renames it to path once everything is written,
// so a failed run never leaves a half-written file. Returns the error, empty on success.
std::string writeFileAtomically(const std::string &path, const QByteArray &bytes);

// The image encoded as PNG; empty when encoding fails.
QByteArray pngBytes(const QImage &image);

#endif
