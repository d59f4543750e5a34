#ifndef QUILLMARK_RENDER_SVGWRITER_H
#define QUILLMARK_RENDER_SVGWRITER_H

// The drawing as an SVG document: per panel a label and a group in drawing coordinates that holds
// one <path> (fill-rule nonzero) per outline and one stroked <polyline> per centre line, and with
// showDirty a group of <rect> for the rectangles the engine reported. Coordinates are written
// rounded to 0.001 drawing units.

#include "PanelLayout.h"

#include <QByteArray>

QByteArray svgDocument(const std::vector<EngineDrawing> &drawings, const PanelLayout &layout,
                       bool showDirty);

#endif
