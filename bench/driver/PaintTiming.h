#ifndef QUILLMARK_BENCH_PAINTTIMING_H
#define QUILLMARK_BENCH_PAINTTIMING_H

#include "StrokeFeed.h"

#include <optional>

// The median time in milliseconds of feed.paint(rect) onto an antialiased ARGB image covering
// bounds, over up to `repetitions` calls within budgetSeconds (at least one). Nothing when the
// library leaves the painting to the host.
std::optional<double> paintMillis(StrokeFeed &feed, QRectF rect, QRectF bounds, int repetitions,
                                  double budgetSeconds);

#endif
