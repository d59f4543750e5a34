#ifndef OXSTROKECALLS_P_H
#define OXSTROKECALLS_P_H

// The engine calls a C stroke made, kept so that a page can replay them (OxStrokeRecord): every
// sample as the engine saw it, and the calls as runs of equal calls. A stroke fed sample by
// sample holds three runs (start, n adds, end), so a sample costs the 16 bytes of its
// OxRecordedSample and nothing else.
//
// A call is kept in two halves: makeRoom() before the engine is called (it may run out of
// memory, and then nothing has happened yet), append() after it (it allocates nothing), so the
// calls kept are always exactly the calls the engine received.

#include "OxStrokeRecord.h"
#include "quillmark_c.h"

#include <algorithm>
#include <vector>

namespace quillmark::detail {

class OxStrokeCalls
{
public:
    using Call = OxRecordedStep::Call;

    // Makes room for one call of count samples.
    void makeRoom(size_t count)
    {
        grow(samples, count);
        grow(runs, 1);
    }

    // Appends a call whose samples are sample(0) ... sample(count - 1), after makeRoom(count).
    template <class Sample>
    void append(Call call, size_t count, Sample sample)
    {
        for (size_t i = 0; i < count; ++i)
            samples.push_back(sample(i));
        if (!runs.empty() && runs.back().call == call && runs.back().samples == count)
            ++runs.back().calls;
        else
            runs.push_back(Run{call, quint32(count), 1});
    }

    // The samples and steps of the calls appended, in order, into record.
    void copyTo(OxStrokeRecord &record) const
    {
        record.samples = samples;
        record.steps.clear();
        for (const Run &run : runs)
            record.steps.insert(record.steps.end(), run.calls,
                                OxRecordedStep{run.call, run.samples});
    }

private:
    // calls equal calls of samples samples each
    struct Run
    {
        Call call;
        quint32 samples;
        quint32 calls;
    };

    // Reserves room for more elements, doubling as push_back would.
    template <class T>
    static void grow(std::vector<T> &v, size_t more)
    {
        if (v.capacity() - v.size() < more)
            v.reserve(std::max(2 * v.capacity(), v.size() + more));
    }

    std::vector<OxRecordedSample> samples;
    std::vector<Run> runs;
};

// What the stroke of the C face was drawn from (engine, width, the calls its engine received),
// into record, whose colour and edits stay as they are; false, changing nothing, when the stroke
// has not finished (no end, end_batch or replay reached its engine).
bool finishedRecord(const quillmark_stroke &stroke, OxStrokeRecord &record);

} // namespace quillmark::detail

#endif
