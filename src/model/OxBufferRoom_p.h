#ifndef OXBUFFERROOM_P_H
#define OXBUFFERROOM_P_H

// Buffers that are made afresh at every sample and grow with the stroke (the assembled outline,
// the gateway's working export vector) get a power of two as their capacity, and the outline
// they replace is freed before they are made. Otherwise each call asks the C library for a
// slightly larger block than the last: large blocks are mapped fresh (or the heap is trimmed and
// grown again), and every new page costs a fault when first written. On virtual machines that
// added one to two milliseconds to every third sample of a long brush stroke. With sizes that
// repeat, a block takes the place of the one freed just before.

#include <climits>

namespace quillmark::detail {

// The smallest power of two that is at least n (n itself when n exceeds the largest power of two
// an int holds, 0 for n <= 0).
inline int bufferRoomFor(int n)
{
    if (n <= 0)
        return 0;
    if (n > INT_MAX / 2)
        return n;
    int room = 1;
    while (room < n)
        room *= 2;
    return room;
}

} // namespace quillmark::detail

#endif
