#ifndef QUILLMARK_RENDER_PNGWRITER_H
#define QUILLMARK_RENDER_PNGWRITER_H

// The drawing as a picture, antialiased on white: outlines filled with the nonzero winding rule,
// centre lines stroked with a round pen of the stroke width, each panel under its label, and with
// showDirty the reported rectangles as hairlines. Drawing the labels needs a QGuiApplication.

#include "PanelLayout.h"

#include <QImage>

// A null image when the page's pixels cannot be allocated.
QImage renderPicture(const std::vector<EngineDrawing> &drawings, const PanelLayout &layout,
                     bool showDirty);

#endif
