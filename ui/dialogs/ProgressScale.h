// A progress bar holds an int: totals of a GiB or more count in MiB, as the recovering dialog does,
// and anything still too large is scaled down further.
#pragma once

#include <cstdint>

namespace keldrin::ui {

// The bar's upper bound for a total; 1 for an empty total.
int BarRange(int64_t total);
// The bar's value for done of total, inside 0..BarRange(total).
int BarValue(int64_t done, int64_t total);

}  // namespace keldrin::ui
