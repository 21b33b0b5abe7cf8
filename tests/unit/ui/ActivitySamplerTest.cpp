#include "ui/ActivitySampler.h"

#include <gtest/gtest.h>

namespace tfm {
namespace {

int g_draws[] = {0, 32767, 41};
int g_next = 0;
int ScriptedDraw() { return g_draws[g_next++]; }

TEST(ActivitySampler, EachDrawGivesOneSampleFromMinusFiveToFive) {
  const ActivitySampler sampler(ScriptedDraw);
  EXPECT_DOUBLE_EQ(-5.0, sampler.Next());
  EXPECT_DOUBLE_EQ(5.0, sampler.Next());
  EXPECT_NEAR(-4.98749, sampler.Next(), 1e-5);  // the first draw of the generator we ship with
  EXPECT_EQ(3, g_next);
}

}  // namespace
}  // namespace tfm
