#include "app/TrayIconState.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tfm {
namespace {

using Requests = std::vector<std::string>;

// Records each request as "<kind> flags=<n> icon=<id> tip=<text>".
class RecordingShell : public ITrayShell {
 public:
  bool Add(const TrayRecord& r) override { return Record("add", r, acceptAdd); }
  bool Modify(const TrayRecord& r) override { return Record("modify", r, true); }
  bool Delete(const TrayRecord& r) override { return Record("delete", r, true); }
  Requests requests;
  bool acceptAdd = true;

 private:
  bool Record(const char* kind, const TrayRecord& r, bool result) {
    requests.push_back(std::string(kind) + " flags=" + std::to_string(r.flags) +
                       " icon=" + std::to_string(reinterpret_cast<uintptr_t>(r.icon)) + " tip=" + r.tip);
    return result;
  }
};

void* const kAppIcon = reinterpret_cast<void*>(128);
void* const kStopped = reinterpret_cast<void*>(153);
void* const kRunning = reinterpret_cast<void*>(147);

class TrayIconStateTest : public ::testing::Test {
 protected:
  bool Install(const char* tip = "Telvaro Fax Server Monitor") {
    return tray.Install(shell, true, nullptr, 0x464, tip, kAppIcon, 128);
  }
  void InstallShown() {
    ASSERT_TRUE(Install());
    shell.requests.clear();
  }
  RecordingShell shell;
  TrayIconState tray;
};

TEST_F(TrayIconStateTest, WithoutNotificationAreaEveryChangeIsRefused) {
  EXPECT_FALSE(tray.Install(shell, false, nullptr, 0x464, "tip", kAppIcon, 128));
  EXPECT_FALSE(tray.ChangeIcon(shell, kStopped));
  EXPECT_FALSE(tray.ChangeTip(shell, "x"));
  EXPECT_TRUE(shell.requests.empty());
}

TEST_F(TrayIconStateTest, RefusedAddLeavesIconHiddenAndStoresChanges) {
  shell.acceptAdd = false;
  EXPECT_FALSE(Install("tip"));
  EXPECT_TRUE(tray.hidden() && tray.removed() && tray.readdPending());
  shell.requests.clear();
  EXPECT_TRUE(tray.ChangeIcon(shell, kStopped));
  EXPECT_TRUE(tray.ChangeTip(shell, "stored"));
  EXPECT_TRUE(shell.requests.empty());
  EXPECT_STREQ("stored", tray.record().tip);
  EXPECT_EQ(kStopped, tray.record().icon);
}

// Each change sends only its own flag; the tip is cut to the 127 bytes the shell takes.
TEST_F(TrayIconStateTest, TipAndIconChangesLeaveEachOtherAloneAndTipIsCutAt127Bytes) {
  InstallShown();
  tray.ChangeIcon(shell, kRunning);
  tray.ChangeTip(shell, "Telvaro Fax Server Running");
  EXPECT_EQ((Requests{"modify flags=2 icon=147 tip=Telvaro Fax Server Monitor",
                      "modify flags=4 icon=147 tip=Telvaro Fax Server Running"}),
            shell.requests);
  const std::string exact(127, 'a');
  tray.ChangeTip(shell, exact.c_str());
  EXPECT_EQ(exact, tray.record().tip);
  tray.ChangeTip(shell, (std::string(127, 'b') + "cdef").c_str());
  EXPECT_EQ(std::string(127, 'b'), tray.record().tip);
}

// Install adds with message, icon and tip; a shell restart adds again with the current picture and tip.
TEST_F(TrayIconStateTest, InstallAndShellRestartAddTheCurrentPictureAndTip) {
  ASSERT_TRUE(Install());
  tray.ChangeIcon(shell, kStopped);
  tray.ChangeTip(shell, "incoming call from 815 to 4711");
  tray.OnShellRestart(shell);
  ASSERT_EQ(4u, shell.requests.size());
  EXPECT_EQ("add flags=7 icon=128 tip=Telvaro Fax Server Monitor", shell.requests[0]);
  EXPECT_EQ("add flags=7 icon=153 tip=incoming call from 815 to 4711", shell.requests[3]);
  EXPECT_FALSE(tray.hidden() || tray.readdPending());
}

// A failed re-add hides the icon and keeps the add pending; the work-area change adds it only once the
// listener has shown the icon state again.
TEST_F(TrayIconStateTest, FailedReaddWaitsForTheWorkAreaChangeWhileShown) {
  InstallShown();
  tray.OnSettingChange(shell, 47);
  EXPECT_TRUE(shell.requests.empty());  // nothing pending
  shell.acceptAdd = false;
  tray.OnShellRestart(shell);
  EXPECT_TRUE(tray.hidden() && tray.readdPending());
  shell.acceptAdd = true;
  shell.requests.clear();
  tray.ChangeTip(shell, "only stored");
  tray.OnSettingChange(shell, 47);  // hidden: the work-area change does not add either
  EXPECT_TRUE(shell.requests.empty());
  tray.MarkEnabledAndShown();
  tray.OnSettingChange(shell, 42);
  EXPECT_TRUE(shell.requests.empty());
  tray.OnSettingChange(shell, 47);
  EXPECT_EQ(Requests{"add flags=7 icon=128 tip=only stored"}, shell.requests);
  EXPECT_FALSE(tray.readdPending());
}

TEST_F(TrayIconStateTest, UninstallDeletesOnceAndStopsRestarts) {
  InstallShown();
  EXPECT_TRUE(tray.Uninstall(shell));
  EXPECT_TRUE(tray.Uninstall(shell));
  tray.OnShellRestart(shell);
  EXPECT_EQ(Requests{"delete flags=0 icon=128 tip=Telvaro Fax Server Monitor"}, shell.requests);
}

}  // namespace
}  // namespace tfm
