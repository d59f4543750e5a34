#ifndef QUILLMARK_TESTDATA_H
#define QUILLMARK_TESTDATA_H

// Recorded strokes bundled in data/, for tests that replay real input.

#include "StrokeFile.h"

#include <gtest/gtest.h>
#include <string>

inline std::string dataPath(const std::string &name)
{
    return std::string(QUILLMARK_DATA_DIR) + "/" + name;
}

inline std::vector<RecordedStroke> loadStrokes(const std::string &name)
{
    StrokeFileResult file = readStrokeFile(dataPath(name));
    EXPECT_EQ(file.error, "");
    return file.strokes;
}

#endif
