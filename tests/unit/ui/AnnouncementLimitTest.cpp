#include "ui/AnnouncementLimit.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tfm {
namespace {

// A clock in milliseconds and the value read at each moment: what is announced, and when.
TEST(AnnouncementLimitTest, ChangesAreToldAtMostOncePerIntervalAndTheLatestWins) {
  const struct {
    uint64_t at;
    int64_t value;
    bool told;
  } steps[] = {
      {0, 0, false},      // the value the reader found
      {400, 1, true},     // the first change is told at once
      {900, 2, false},    // too soon: waits
      {1300, 2, false},   // still within the second after the last announcement
      {1400, 2, true},    // the interval is over: the latest value is told
      {1500, 2, false},   // nothing new
      {2600, 1, true},    // a change after a quiet second is told at once
      {2700, 2, false},   // too soon
      {3000, 1, false},   // and changed back to what was told: nothing to tell
      {5000, 1, false},
  };
  AnnouncementLimit limit(0, 1000);
  for (const auto& step : steps) EXPECT_EQ(step.told, limit.ShouldAnnounce(step.value, step.at)) << "at " << step.at;
}

}  // namespace
}  // namespace tfm
