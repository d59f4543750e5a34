#ifndef QUILLMARK_BENCH_SUBJECTS_H
#define QUILLMARK_BENCH_SUBJECTS_H

#include "StrokeFeed.h"

#include <vector>

// The width every subject draws with: 6 unless the command line chose another before the first
// subject was made.
float penWidth();
void setPenWidth(float width);

// The six engines through their phase calls with the recorded "time" and "pressure", then the
// gateway (engine call plus export) with pen type 1 and, paced, pen type 2.
const std::vector<Subject> &subjects();
// The subject of that name, or null.
const Subject *findSubject(const std::string &name);

#endif
