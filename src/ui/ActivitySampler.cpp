#include "ui/ActivitySampler.h"

namespace tfm {

double ActivitySample(int32_t r) {
  return r * (10.0 / kActivityDrawMax) - 5.0;
}

ActivitySampler::ActivitySampler(Draw draw) : m_draw(draw) {}

}  // namespace tfm
