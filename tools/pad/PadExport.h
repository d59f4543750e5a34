#ifndef QUILLMARK_PAD_PADEXPORT_H
#define QUILLMARK_PAD_PADEXPORT_H

// A page's ink as pictures: a white page of the canvas's size, each stroke's ink filled in its
// own colour, as SVG (a nonzero <path> per stroke) or as a PNG picture.

#include "OxStrokePage.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <string>

QByteArray padSvg(const OxStrokePage &page, QSize size);
// A null image when the pixels cannot be allocated.
QImage padImage(const OxStrokePage &page, QSize size);

// Writes SVG when path ends in ".svg" (any case), PNG otherwise, without leaving a half-written
// file behind. Returns the error, empty on success.
std::string exportPad(const OxStrokePage &page, QSize size, const QString &path);

#endif
