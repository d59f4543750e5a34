#ifndef QUILLMARK_RENDER_RENDERCOMMAND_H
#define QUILLMARK_RENDER_RENDERCOMMAND_H

#include <ostream>
#include <string>
#include <vector>

// quillmark-render as a function: args without the program name; the stats table, the help and
// the version go to out, errors (one line each) to err. Returns the exit status: 0 on success,
// 2 for a bad command line or input (a file without strokes, or with numbers beyond what the
// engines draw), 1 when an output file cannot be written. Pictures are drawn completely before
// the first file is written. Needs a QGuiApplication for the labels of the PNG.
int runRender(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

#endif
