#pragma once
#include <cstdint>

// Callbacks that let SortByIndex sort any indexed data: less(i, j) answers whether element
// i sorts before element j, swap(i, j) exchanges the two elements.
using SortLessFn = int (*)(int32_t i, int32_t j);
using SortSwapFn = void (*)(int32_t i, int32_t j);

// Sorts the elements lo..hi (inclusive) ascending by less; equal elements keep no
// particular order. An empty range (hi < lo) does nothing.
void SortByIndex(int32_t lo, int32_t hi, SortLessFn less, SortSwapFn swap);
