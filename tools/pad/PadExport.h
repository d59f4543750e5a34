#ifndef QUILLMARK_PAD_PADEXPORT_H
#define QUILLMARK_PAD_PADEXPORT_H

// The pad's finished strokes as files: a white page of the canvas's size, strokes in their own
// colours and widths, as SVG (outlines as nonzero <path>, centre lines as round <polyline>) or
// as a PNG picture.

#include "StrokeStore.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <string>

QByteArray padSvg(const StrokeStore &store, QSize size);
// A null image when the pixels cannot be allocated.
QImage padImage(const StrokeStore &store, QSize size);

// Writes SVG when path ends in ".svg" (any case), PNG otherwise, without leaving a half-written
// file behind. Returns the error, empty on success.
std::string savePad(const StrokeStore &store, QSize size, const QString &path);

#endif
