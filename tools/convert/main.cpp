// quillmark-convert: text stroke files to page files and back. See ConvertCommand.h, or run it
// with --help.

#include "ConvertCommand.h"

#include <iostream>

int main(int argc, char **argv)
{
    return runConvert(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
