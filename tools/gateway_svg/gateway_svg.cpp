// Draws recorded strokes through the flat gateway, as a host without Qt does, with both pens, and
// writes the shapes it hands out as an SVG file: each exported path becomes a polygon through its
// x, y pairs (element types are not exported, so curve control points are vertices too).
//
//   gateway_svg [strokes.txt [out.svg [width]]]

#include "OxQuillmarkGateway.h"
#include "StrokeFile.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {
struct Shape
{
    std::vector<std::vector<float>> paths;   // x, y pairs per path
};

Shape copyShape(const float *coords, int pathCount, const int *pathSizes)
{
    Shape shape;
    int offset = 0;
    for (int i = 0; i < pathCount; ++i) {
        shape.paths.emplace_back(coords + 2 * offset, coords + 2 * (offset + pathSizes[i]));
        offset += pathSizes[i];
    }
    return shape;
}

// Feeds one stroke sample by sample and keeps the shape of the last call.
Shape drawStroke(OxQuillmarkGateway &gateway, const RecordedStroke &stroke)
{
    float left, top, width, height;
    int pointCount = 0, pathCount = 0;
    int *pathSizes = nullptr;
    // Recorded times start at 0, which the gateway reads as "now": shift them by 1 ms.
    const float *coords = gateway.startSketch(float(stroke[0].x), float(stroke[0].y),
                                              stroke[0].timeMs + 1, left, top, width, height,
                                              pointCount, pathCount, pathSizes);
    for (size_t i = 1; i < stroke.size(); ++i) {
        const RecordedSample &s = stroke[i];
        if (i + 1 < stroke.size())
            coords = gateway.sketching(float(s.x), float(s.y), left, top, width, height,
                                       pointCount, pathCount, pathSizes);
        else
            coords = gateway.endSketch2(float(s.x), float(s.y), s.timeMs + 1, left, top, width,
                                        height, pointCount, pathCount, pathSizes);
    }
    return coords ? copyShape(coords, pathCount, pathSizes) : Shape();
}

void writePolygons(std::ostream &svg, const Shape &shape, bool filled, float penWidth, float dx)
{
    for (const std::vector<float> &pairs : shape.paths) {
        if (filled)
            svg << "  <polygon fill=\"black\" fill-rule=\"nonzero\" points=\"";
        else
            svg << "  <polyline fill=\"none\" stroke=\"black\" stroke-linejoin=\"round\" "
                   "stroke-linecap=\"round\" stroke-width=\"" << penWidth << "\" points=\"";
        for (size_t k = 0; k + 1 < pairs.size(); k += 2)
            svg << pairs[k] + dx << ',' << pairs[k + 1] << ' ';
        svg << "\"/>\n";
    }
}
} // namespace

int main(int argc, char **argv)
{
    const std::string input = argc > 1 ? argv[1] : QUILLMARK_DATA_DIR "/pf-recorded.txt";
    const std::string output = argc > 2 ? argv[2] : "quillmark-gateway.svg";
    const float penWidth = argc > 3 ? std::stof(argv[3]) : 6.0f;

    const StrokeFileResult file = readStrokeFile(input);
    if (!file.error.empty()) {
        std::cerr << file.error << "\n";
        return 2;
    }

    std::ofstream svg(output);
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 2400 800\">\n";
    // Pen 1 (its centre line points, drawn as a line) on the left, pen 2 (outlines) on the right.
    for (int penType : {1, 2}) {
        const float dx = penType == 1 ? 0 : 1200;
        for (const RecordedStroke &stroke : file.strokes) {
            OxQuillmarkGateway gateway;    // a fresh engine for every stroke
            if (!gateway.setEnvironmentPara(1, 1, penWidth, penType))
                return 1;
            writePolygons(svg, drawStroke(gateway, stroke), penType == 2, penWidth, dx);
        }
    }
    svg << "</svg>\n";
    std::cout << "drew " << file.strokes.size() << " strokes with both pens into " << output
              << "\n";
    return svg ? 0 : 1;
}
