// Draws the recorded strokes of a file with the fixed-width engine, sample by sample as a Qt host
// would, and writes the smoothed centre lines as an SVG file.
//
//   fixwidth_svg [strokes.txt [out.svg [width]]]

#include "OxStrokesFixWidth.h"
#include "StrokeFile.h"

#include <cstdio>
#include <fstream>
#include <iostream>

int main(int argc, char **argv)
{
    const std::string input = argc > 1 ? argv[1] : QUILLMARK_DATA_DIR "/pf-recorded.txt";
    const std::string output = argc > 2 ? argv[2] : "quillmark-fixwidth.svg";
    const float width = argc > 3 ? std::stof(argv[3]) : 3.0f;

    const StrokeFileResult file = readStrokeFile(input);
    if (!file.error.empty()) {
        std::cerr << file.error << "\n";
        return 2;
    }

    std::ofstream svg(output);
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 800\">\n";
    size_t samples = 0;
    for (const RecordedStroke &stroke : file.strokes) {
        OxStrokesFixWidth engine;                  // one engine per stroke
        std::vector<OxInkPoint> points;
        QPainterPath path;
        const QMap<QString, QVariant> params;
        for (size_t i = 0; i < stroke.size(); ++i) {
            const QPointF p(stroke[i].x, stroke[i].y);
            if (i == 0)
                engine.startCreate(points, path, p, params, width);
            else if (i + 1 < stroke.size())
                engine.creating(points, path, p, params, width);
            else
                engine.endCreate(points, path, p, params, width);
        }
        if (stroke.size() == 1)
            engine.endCreate(points, path, QPointF(stroke[0].x, stroke[0].y), params, width);
        samples += stroke.size();

        svg << "  <polyline fill=\"none\" stroke=\"black\" stroke-linecap=\"round\" "
               "stroke-linejoin=\"round\" stroke-width=\"" << width << "\" points=\"";
        for (const OxInkPoint &p : points)
            svg << p.x << ',' << p.y << ' ';
        svg << "\"/>\n";
    }
    svg << "</svg>\n";
    std::cout << "drew " << file.strokes.size() << " strokes (" << samples << " samples) into "
              << output << "\n";
    return svg ? 0 : 1;
}
