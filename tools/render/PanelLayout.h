#ifndef QUILLMARK_RENDER_PANELLAYOUT_H
#define QUILLMARK_RENDER_PANELLAYOUT_H

// Places one panel per engine side by side on a page. Every panel shows the same area of the
// drawing, so the engines compare at a glance, under a band that holds the panel's label. Page
// units are output units (SVG user units, PNG pixels): drawing units times the scale.

#include "EngineDrawing.h"

#include <QSize>
#include <QTransform>
#include <string>

struct PanelLayout
{
    QRectF area;              // the drawing area each panel shows, in drawing units
    double scale = 1;
    int panels = 0;

    static constexpr double kLabelBand = 24;  // page units above each panel
    static constexpr double kMargin = 16;     // page units around the drawing's bounds

    QSizeF pageSize() const;
    // The page rounded up to whole pixels.
    QSize pixelSize() const;
    // Top left corner of a panel's label band.
    QPointF panelOrigin(int panel) const;
    // Maps drawing coordinates into the panel on the page.
    QTransform drawingToPage(int panel) const;
};

// The bounds of every drawing (and of every reported rectangle with includeDirty), grown by the
// margin. An empty drawing gives an area of just the margin around the origin.
PanelLayout layoutPanels(const std::vector<EngineDrawing> &drawings, double scale,
                         bool includeDirty);

// "name: title" of the drawing's engine.
std::string panelLabel(const EngineDrawing &drawing);

#endif
