// Building the benchmarks' page of 10,000 strokes, and places on it.

#include "PageOfStrokes.h"

#include <random>
#include <stdexcept>

namespace {
RecordedStroke atOrigin(RecordedStroke stroke)
{
    double left = stroke[0].x, top = stroke[0].y;
    for (const RecordedSample &s : stroke) {
        left = std::min(left, s.x);
        top = std::min(top, s.y);
    }
    for (RecordedSample &s : stroke) {
        s.x -= left;
        s.y -= top;
    }
    return stroke;
}

std::unique_ptr<PageOfStrokes> build(OxStrokePage::Lookup lookup)
{
    auto built = std::make_unique<PageOfStrokes>();
    built->page = std::make_unique<OxStrokePage>(lookup);
    const std::vector<OxStrokeRecord> &recordings = PageOfStrokes::recordings();
    for (int i = 0; i < PageOfStrokes::kStrokes; ++i) {
        OxStrokeRecord record = recordings[size_t(i) % recordings.size()];
        record.engine = 1 + i % 6;
        const float dx = float(PageOfStrokes::kCell * (i % PageOfStrokes::kColumns));
        const float dy = float(PageOfStrokes::kCell * (i / PageOfStrokes::kColumns));
        for (OxRecordedSample &s : record.samples) {
            s.x += dx;
            s.y += dy;
        }
        OxStrokePage::Key key = 0;
        if (built->page->add(record, key) != OxStrokePage::kDone)
            throw std::runtime_error("a stroke of the page was refused");
        std::vector<int> sizes;
        std::vector<float> xy;
        built->page->polygons(key, sizes, xy);
        built->shapeBytes += xy.size() * sizeof(float) + sizes.size() * sizeof(int);
        built->keys.push_back(key);
        built->records.push_back(std::move(record));
    }
    built->page->clearHistory();
    return built;
}
} // namespace

const std::vector<OxStrokeRecord> &PageOfStrokes::recordings()
{
    static const std::vector<OxStrokeRecord> all = [] {
        std::vector<OxStrokeRecord> out;
        for (const char *name : {"mypaint-painting30sec.txt", "pf-recorded.txt"}) {
            const StrokeFileResult file =
                readStrokeFile(std::string(QUILLMARK_DATA_DIR) + "/" + name);
            if (!file.error.empty())
                throw std::runtime_error(file.error);
            for (const RecordedStroke &stroke : file.strokes) {
                if (stroke.size() >= 2)
                    out.push_back(recordOf(atOrigin(stroke), 1, kWidth));
            }
        }
        return out;
    }();
    return all;
}

const PageOfStrokes &PageOfStrokes::get(OxStrokePage::Lookup lookup)
{
    static std::unique_ptr<PageOfStrokes> pages[2];
    std::unique_ptr<PageOfStrokes> &page = pages[lookup == OxStrokePage::Lookup::kIndex ? 0 : 1];
    if (!page)
        page = build(lookup);
    return *page;
}

std::vector<QPointF> placesOffInk(const OxStrokePage &page, double radius, size_t count)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(0, PageOfStrokes::kCell * PageOfStrokes::kColumns);
    std::uniform_real_distribution<double> y(
        0, PageOfStrokes::kCell * PageOfStrokes::kStrokes / PageOfStrokes::kColumns);
    std::vector<QPointF> out;
    std::vector<OxStrokePage::Key> hit;
    while (out.size() < count) {
        const QPointF p(x(random), y(random));
        page.hit(p, radius, hit);
        if (hit.empty())
            out.push_back(p);
    }
    return out;
}

std::vector<QPointF> placesOnInk(const OxStrokePage &page, size_t count)
{
    std::mt19937 random(12);
    const std::vector<OxStrokePage::Key> keys = page.keys();
    std::vector<QPointF> out;
    while (out.size() < count) {
        std::vector<int> sizes;
        std::vector<float> xy;
        page.polygons(keys[random() % keys.size()], sizes, xy);
        const size_t i = random() % (xy.size() / 2);
        out.emplace_back(xy[2 * i], xy[2 * i + 1]);
    }
    return out;
}
