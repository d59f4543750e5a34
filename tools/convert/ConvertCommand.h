#ifndef QUILLMARK_CONVERT_CONVERTCOMMAND_H
#define QUILLMARK_CONVERT_CONVERTCOMMAND_H

#include <ostream>
#include <string>
#include <vector>

// quillmark-convert as a function: args without the program name. A text stroke file becomes a
// page file and a page file becomes a text stroke file, telling them apart by the page file's
// magic number; the numbers come back exactly either way. Help and version go to out, errors
// (one line each) to err. Returns the exit status: 0 on success, 2 for a bad command line or
// input, 1 when the output cannot be written (an existing output is then left as it was).
int runConvert(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

std::string convertUsage();

#endif
