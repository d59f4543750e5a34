#ifndef OXTAILCOLLECTOR_P_H
#define OXTAILCOLLECTOR_P_H

#include "OxBackwardInfo.h"

#include <QVector>
#include <algorithm>

namespace quillmark::detail {

// Puts a tail's segments, found from the pen tip backwards, in front of what a list already
// holds, oldest first, in the list's own buffer: a list that is cleared and refilled at every
// sample then needs no allocation.
//   1. TailCollector tail(infos);
//   2. tail.addOlder(segment) for each segment, the newest first;
//   3. tail.finish(): infos is the new segments, oldest first, then what it held before.
class TailCollector
{
public:
    explicit TailCollector(QVector<OxBackwardInfo> &infos) : infos(infos), kept(infos.size()) {}

    void addOlder(const OxBackwardInfo &segment) { infos.append(segment); }

    void finish()
    {
        std::reverse(infos.begin() + kept, infos.end());
        std::rotate(infos.begin(), infos.begin() + kept, infos.end());
    }

private:
    QVector<OxBackwardInfo> &infos;
    const int kept;
};

} // namespace quillmark::detail

#endif
