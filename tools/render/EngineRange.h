#ifndef QUILLMARK_RENDER_ENGINERANGE_H
#define QUILLMARK_RENDER_ENGINERANGE_H

// The engines promise finite results for coordinates, widths and pressures of magnitude up to
// kEngineRange; beyond it their single-precision arithmetic may overflow, so the tool refuses
// such input.

#include <string>

constexpr double kEngineRange = 1e6;

// The message for a value beyond the range; what names the value.
inline std::string beyondEngineRange(const std::string &what)
{
    return what + " lies beyond 1e6, the largest magnitude the engines promise finite results for";
}

#endif
