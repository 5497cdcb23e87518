// The portfolio the benchmarks use: 200 rows of the quote service's own instruments, so that
// every row gets a whole quote line.
#pragma once

#include <string>

// Fills the portfolio in memory.
void FillBenchPortfolio();
// A device root as a later start finds it: the settings (every column shown) and the data file
// of the 200 rows, written by the viewer's own code.
bool WriteBenchDeviceRoot(const std::string& root);
