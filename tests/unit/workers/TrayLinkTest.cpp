// The tray link every worker reaches the tray through: nothing before Attach or after Detach, and
// Detach waits for a call in flight. The workers' own stop on threads is the Win32 Workers test's.
#include "common/TrayLink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <semaphore>
#include <thread>

#include "res/resource.h"

namespace tfm {
namespace {

// A tray whose first tooltip call stays in flight until the test lets it go; it notes whether the
// link's Detach had already returned by then.
class HeldTray final : public ITrayPort {
 public:
  bool ChangeIcon(unsigned) override { return ++calls > 0; }
  bool ChangeTip(const char*) override {
    if (calls++ > 2) return true;
    entered.release();
    leave.acquire();
    detachedWhileInFlight = detached.load();
    return true;
  }
  void MarkEnabledAndShown() override { ++calls; }
  bool ShowBalloon(const char*, const char*) override { return ++calls > 0; }

  std::binary_semaphore entered{0}, leave{0};
  std::atomic<bool> detached{false};
  bool detachedWhileInFlight = true;
  int calls = 0;
};

TEST(TrayLink, ReachesTheTrayOnlyWhileAttachedAndDetachWaitsForTheCallInFlight) {
  TrayLink link;
  HeldTray tray;
  EXPECT_FALSE(link.ChangeIcon(IDI_SERVICE_RUNNING)) << "nothing attached yet";
  link.Attach(&tray);
  EXPECT_TRUE(link.ChangeIcon(IDI_SERVICE_RUNNING));
  link.MarkEnabledAndShown();
  {
    std::jthread worker([&] { link.ChangeTip(" in flight "); });
    tray.entered.acquire();
    std::binary_semaphore detaching{0};
    std::jthread closer([&] {
      detaching.release();
      link.Detach();
      tray.detached = true;
    });
    detaching.acquire();
    tray.leave.release();
  }
  EXPECT_FALSE(tray.detachedWhileInFlight) << "Detach returned while the tray was still in use";
  EXPECT_FALSE(link.ChangeIcon(IDI_SERVICE_STOPPED));
  EXPECT_FALSE(link.ChangeTip("after"));
  EXPECT_FALSE(link.ShowBalloon("after", "after"));
  link.MarkEnabledAndShown();
  EXPECT_EQ(3, tray.calls) << "icon, shown and the tip in flight; nothing after Detach";
}

}  // namespace
}  // namespace tfm
