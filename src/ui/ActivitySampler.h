#pragma once
// The activity page's samples: one pseudo-random value per second from the C library's generator,
// which is never seeded, so every run shows the same sequence and a reopened page continues it.
//
// The page's chart has three plots but the page feeds plot 0 only. The chart leaves plots that get
// no value untouched, so plots 1 and 2 keep their default colours and draw nothing.
#include <cstdint>

namespace tfm {

// The generator's range on the platform we ship for: 0 ... 32767.
inline constexpr int32_t kActivityDrawMax = 32767;

// The value of one draw r: r * (10 / 32767) - 5, from -5.0 to +5.0.
double ActivitySample(int32_t r);

class ActivitySampler {
 public:
  using Draw = int (*)();
  explicit ActivitySampler(Draw draw);
  double Next() const { return ActivitySample(m_draw()); }

 private:
  Draw m_draw;
};

}  // namespace tfm
