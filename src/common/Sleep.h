#pragma once
#include <cstdint>
#include <functional>

namespace tfm {

// How a worker loop waits between its passes: the real sleep in the product, a recording or
// clock-advancing one in tests.
using SleepFunction = std::function<void(uint32_t milliseconds)>;

}  // namespace tfm
