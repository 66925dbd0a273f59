#pragma once
#include <cstdint>

// The mean value of a histogram of byteSize / 4 bucket counts, bucket 0 left out: the
// integer part of sum(i x counts[i]) / sum(counts[i]) over i >= 1, with an empty sum
// dividing by 1. Percent histograms pass 404 bytes, count histograms 2004.
uint32_t HistogramMean(const uint32_t* counts, uint32_t byteSize);
