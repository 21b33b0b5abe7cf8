#include "ui/ActivitySampler.h"

#include <gtest/gtest.h>

namespace tfm {
namespace {

TEST(ActivitySampler, DrawsMapOntoMinusFiveToFive) {
  EXPECT_DOUBLE_EQ(-5.0, ActivitySample(0));
  EXPECT_DOUBLE_EQ(5.0, ActivitySample(kActivityDrawMax));
  EXPECT_NEAR(0.0, ActivitySample(16384), 1e-3);
  // 41 is the first value of the generator we ship with; it lies under the page's 0 ... 10.
  EXPECT_NEAR(-4.98749, ActivitySample(41), 1e-5);
}

int g_draws[] = {41, 18467, 6334};
int g_next = 0;
int ScriptedDraw() { return g_draws[g_next++ % 3]; }

TEST(ActivitySampler, TakesOneDrawPerSampleInOrder) {
  const ActivitySampler sampler(ScriptedDraw);
  g_next = 0;
  EXPECT_DOUBLE_EQ(ActivitySample(41), sampler.Next());
  EXPECT_DOUBLE_EQ(ActivitySample(18467), sampler.Next());
  EXPECT_DOUBLE_EQ(ActivitySample(6334), sampler.Next());
  EXPECT_EQ(3, g_next);
}

}  // namespace
}  // namespace tfm
