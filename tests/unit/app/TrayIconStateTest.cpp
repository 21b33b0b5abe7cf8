#include "app/TrayIconState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tfm {
namespace {

struct Request {
  std::string kind;
  uint32_t flags;
  void* icon;
  std::string tip;
};

class RecordingShell : public ITrayShell {
 public:
  bool Add(const TrayRecord& r) override { return Record("add", r, addsToRefuse-- <= 0); }
  bool Modify(const TrayRecord& r) override { return Record("modify", r, acceptModify); }
  bool Delete(const TrayRecord& r) override { return Record("delete", r, true); }
  std::vector<std::string> Kinds() const {
    std::vector<std::string> kinds;
    for (const Request& request : requests) kinds.push_back(request.kind);
    return kinds;
  }
  std::vector<Request> requests;
  int addsToRefuse = 0;
  bool acceptModify = true;

 private:
  bool Record(const char* kind, const TrayRecord& r, bool result) {
    requests.push_back({kind, r.flags, r.icon, r.tip});
    return result;
  }
};

void* const kAppIcon = reinterpret_cast<void*>(128);
void* const kStopped = reinterpret_cast<void*>(153);
void* const kRunning = reinterpret_cast<void*>(147);

class TrayIconStateTest : public ::testing::Test {
 protected:
  void InstallShown() {
    ASSERT_TRUE(tray.Install(shell, true, nullptr, 0x464, "Telvaro Fax Server Monitor", kAppIcon, 128));
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
  shell.addsToRefuse = 1;
  EXPECT_FALSE(tray.Install(shell, true, nullptr, 0x464, "tip", kAppIcon, 128));
  EXPECT_TRUE(tray.hidden());
  EXPECT_TRUE(tray.removed());
  EXPECT_TRUE(tray.readdPending());
  shell.requests.clear();
  EXPECT_TRUE(tray.ChangeIcon(shell, kStopped));
  EXPECT_TRUE(tray.ChangeTip(shell, "stored"));
  EXPECT_TRUE(shell.requests.empty());
  EXPECT_STREQ("stored", tray.record().tip);
  EXPECT_EQ(kStopped, tray.record().icon);
  // The taskbar appears: the icon is added with what was stored, and is removed at the end.
  tray.OnShellRestart(shell);
  ASSERT_EQ(std::vector<std::string>{"add"}, shell.Kinds());
  EXPECT_EQ("stored", shell.requests[0].tip);
  EXPECT_EQ(kStopped, shell.requests[0].icon);
  EXPECT_FALSE(tray.hidden() || tray.removed() || tray.readdPending());
  tray.Uninstall(shell);
  EXPECT_EQ("delete", shell.requests.back().kind);
}

TEST_F(TrayIconStateTest, TipAndIconChangesLeaveEachOtherAloneAndTipIsCutAt127Bytes) {
  InstallShown();
  tray.ChangeIcon(shell, kRunning);
  tray.ChangeTip(shell, "Telvaro Fax Server Running");
  ASSERT_EQ(2u, shell.requests.size());
  EXPECT_EQ(kNifIcon, shell.requests[0].flags);
  EXPECT_EQ(kNifTip, shell.requests[1].flags);
  EXPECT_EQ(kRunning, tray.record().icon);
  EXPECT_STREQ("Telvaro Fax Server Running", tray.record().tip);
  const std::string exact(127, 'a');
  tray.ChangeTip(shell, exact.c_str());
  EXPECT_EQ(exact, tray.record().tip);
  tray.ChangeTip(shell, (std::string(127, 'b') + "cdef").c_str());
  EXPECT_EQ(std::string(127, 'b'), tray.record().tip);
}

// Install adds with message, icon and tip; a shell restart adds again with the current picture and tip.
TEST_F(TrayIconStateTest, InstallAndShellRestartAddTheCurrentPictureAndTip) {
  ASSERT_TRUE(tray.Install(shell, true, nullptr, 0x464, "Telvaro Fax Server Monitor", kAppIcon, 128));
  tray.ChangeIcon(shell, kStopped);
  tray.ChangeTip(shell, "incoming call from 815 to 4711");
  tray.OnShellRestart(shell);
  ASSERT_EQ(4u, shell.requests.size());
  for (size_t i : {0u, 3u}) {
    EXPECT_EQ("add", shell.requests[i].kind);
    EXPECT_EQ(7u, shell.requests[i].flags);
  }
  EXPECT_EQ("Telvaro Fax Server Monitor", shell.requests[0].tip);
  EXPECT_EQ(kStopped, shell.requests[3].icon);
  EXPECT_EQ("incoming call from 815 to 4711", shell.requests[3].tip);
  EXPECT_FALSE(tray.hidden());
  EXPECT_FALSE(tray.readdPending());
}

// "TaskbarCreated" while the shell still has the icon (any program may send it): the refused add is
// followed by a modify, and when that is refused too, by a delete and a new add.
TEST_F(TrayIconStateTest, RefusedReaddUpdatesOrReplacesTheIcon) {
  InstallShown();
  shell.addsToRefuse = 1;
  tray.OnShellRestart(shell);
  EXPECT_EQ((std::vector<std::string>{"add", "modify"}), shell.Kinds());
  EXPECT_EQ(7u, shell.requests[1].flags);
  EXPECT_FALSE(tray.hidden());
  shell.requests.clear();
  shell.addsToRefuse = 1;
  shell.acceptModify = false;
  tray.OnShellRestart(shell);
  EXPECT_EQ((std::vector<std::string>{"add", "modify", "delete", "add"}), shell.Kinds());
  EXPECT_FALSE(tray.hidden() || tray.readdPending());
}

TEST_F(TrayIconStateTest, FailedReaddHidesAndIsTriedAgainAtTheNextRestart) {
  InstallShown();
  shell.addsToRefuse = 2;
  shell.acceptModify = false;
  tray.OnShellRestart(shell);
  EXPECT_TRUE(tray.hidden());
  EXPECT_TRUE(tray.readdPending());
  shell.requests.clear();
  tray.ChangeTip(shell, "only stored");
  tray.OnSettingChange(shell, 47);  // hidden: the work-area change does not add either
  EXPECT_TRUE(shell.requests.empty());
  tray.OnShellRestart(shell);
  ASSERT_EQ(std::vector<std::string>{"add"}, shell.Kinds());
  EXPECT_EQ("only stored", shell.requests[0].tip);
  EXPECT_FALSE(tray.hidden());
}

TEST_F(TrayIconStateTest, WorkAreaChangeAddsOnlyWhilePendingAndShown) {
  InstallShown();
  tray.OnSettingChange(shell, 47);
  EXPECT_TRUE(shell.requests.empty());  // nothing pending
  shell.addsToRefuse = 2;
  shell.acceptModify = false;
  tray.OnShellRestart(shell);
  tray.MarkEnabledAndShown();  // the listener shows the icon state again
  shell.requests.clear();
  tray.OnSettingChange(shell, 42);
  EXPECT_TRUE(shell.requests.empty());
  tray.OnSettingChange(shell, 47);
  ASSERT_EQ(1u, shell.requests.size());
  EXPECT_EQ("add", shell.requests[0].kind);
  EXPECT_FALSE(tray.readdPending());
}

TEST_F(TrayIconStateTest, UninstallDeletesOnceAndStopsRestarts) {
  InstallShown();
  EXPECT_TRUE(tray.Uninstall(shell));
  EXPECT_TRUE(tray.Uninstall(shell));
  ASSERT_EQ(1u, shell.requests.size());
  EXPECT_EQ("delete", shell.requests[0].kind);
  EXPECT_EQ(0u, shell.requests[0].flags);
  tray.OnShellRestart(shell);
  EXPECT_EQ(1u, shell.requests.size());
}

}  // namespace
}  // namespace tfm
