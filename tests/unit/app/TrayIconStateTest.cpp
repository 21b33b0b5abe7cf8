#include "app/TrayIconState.h"

#include <gtest/gtest.h>

#include "app/CallNotice.h"
#include "app/TrayCallback.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tfm {
namespace {

using Requests = std::vector<std::string>;

// Records each request as "<kind> flags=<n> icon=<id> tip=<text>", and " info=<title>|<text>" when it
// carries a balloon.
class RecordingShell final : public ITrayShell {
 public:
  bool Add(const TrayRecord& r) override { return Record("add", r, addsToRefuse-- <= 0); }
  bool Modify(const TrayRecord& r) override { return Record("modify", r, acceptModify); }
  bool Delete(const TrayRecord& r) override { return Record("delete", r, true); }
  bool SetVersion(const TrayRecord&) override {
    requests.push_back("version");
    return acceptVersion;
  }
  Requests requests;
  int addsToRefuse = 0;
  bool acceptModify = true;
  bool acceptVersion = true;

 private:
  bool Record(const char* kind, const TrayRecord& r, bool result) {
    requests.push_back(std::string(kind) + " flags=" + std::to_string(r.flags) +
                       " icon=" + std::to_string(reinterpret_cast<uintptr_t>(r.icon)) + " tip=" + r.tip +
                       ((r.flags & kNifInfo) ? std::string(" info=") + r.infoTitle + "|" + r.info : ""));
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
  shell.addsToRefuse = 1;
  EXPECT_FALSE(Install("tip"));
  EXPECT_TRUE(tray.hidden() && tray.removed() && tray.readdPending());
  shell.requests.clear();
  EXPECT_TRUE(tray.ChangeIcon(shell, kStopped));
  EXPECT_TRUE(tray.ChangeTip(shell, "stored"));
  EXPECT_TRUE(shell.requests.empty());
  EXPECT_EQ("stored", tray.record().tip);
  EXPECT_EQ(kStopped, tray.record().icon);
  // The taskbar appears: the icon is added with what was stored, and is removed at the end.
  tray.OnShellRestart(shell);
  EXPECT_EQ((Requests{"add flags=7 icon=153 tip=stored", "version"}), shell.requests);
  EXPECT_FALSE(tray.hidden() || tray.removed() || tray.readdPending());
}

// Each change sends only its own flag; the tip is cut to the 127 UTF-16 units the shell takes.
TEST_F(TrayIconStateTest, TipAndIconChangesLeaveEachOtherAloneAndTipIsCutAt127Units) {
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

// A field is cut at a character boundary, counted in the UTF-16 units the shell's record holds: a
// letter of two or three UTF-8 bytes is one unit, a character beyond the BMP a surrogate pair of two.
TEST_F(TrayIconStateTest, FieldsAreCutAtCharacterBoundariesInUtf16Units) {
  const std::string cyrillic = "\xD0\x96";        // one unit, two bytes
  const std::string cjk = "\xE9\x80\x9A";        // one unit, three bytes
  const std::string beyondBmp = "\xF0\x9F\x93\x9E";  // a surrogate pair
  std::string cjkLine;
  for (int i = 0; i < 130; ++i) cjkLine += cjk;
  const struct {
    std::string text;
    std::string tip;
  } cases[] = {
      {std::string(126, 'a') + beyondBmp, std::string(126, 'a')},  // the pair's second half would not fit
      {std::string(125, 'a') + beyondBmp + "b", std::string(125, 'a') + beyondBmp},
      {std::string(126, 'a') + cyrillic + cjk, std::string(126, 'a') + cyrillic},
      {cjkLine, cjkLine.substr(0, 127 * cjk.size())},
      {std::string(126, 'a') + "\xE9\x80" + "z", std::string(126, 'a') + "\xE9"},  // a broken sequence: a unit a byte
  };
  InstallShown();
  for (const auto& c : cases) {
    tray.ChangeTip(shell, c.text.c_str());
    EXPECT_EQ(c.tip, tray.record().tip) << c.text.size();
  }
  std::string title;
  for (int i = 0; i < 40; ++i) title += beyondBmp;
  tray.ShowBalloon(shell, title.c_str(), (std::string(254, 'x') + beyondBmp).c_str());
  EXPECT_EQ(title.substr(0, 31 * beyondBmp.size()), tray.record().infoTitle);
  EXPECT_EQ(std::string(254, 'x'), tray.record().info);
}

// A balloon goes out alone, cut to the 63 and 255 bytes the shell takes; a hidden icon takes none, and
// putting the icon back does not show an old one again.
TEST_F(TrayIconStateTest, BalloonIsSentAloneAndNeverReplayed) {
  InstallShown();
  EXPECT_TRUE(tray.ShowBalloon(shell, "Telvaro Fax Server Monitor", IncomingCallNotice("", "4711").c_str()));
  EXPECT_EQ(Requests{"modify flags=16 icon=128 tip=Telvaro Fax Server Monitor info=Telvaro Fax Server Monitor|"
                     "Incoming call from withheld to 4711"},
            shell.requests);
  tray.ShowBalloon(shell, std::string(70, 't').c_str(), std::string(300, 'x').c_str());
  EXPECT_EQ(std::string(63, 't'), tray.record().infoTitle);
  EXPECT_EQ(std::string(255, 'x'), tray.record().info);
  shell.addsToRefuse = 2;
  shell.acceptModify = false;
  tray.OnShellRestart(shell);
  shell.requests.clear();
  EXPECT_FALSE(tray.ShowBalloon(shell, "title", "while hidden"));
  EXPECT_TRUE(shell.requests.empty());
  tray.OnShellRestart(shell);
  EXPECT_EQ((Requests{"add flags=7 icon=128 tip=Telvaro Fax Server Monitor", "version"}), shell.requests);
}

TEST(CallNoticeTest, NumbersStandAsTheyAreAndMissingOnesAreSaidInWords) {
  EXPECT_EQ("Incoming call from 815 to 4711", IncomingCallNotice("815", "4711"));
  EXPECT_EQ("Incoming call from withheld to this line", IncomingCallNotice("", ""));
  EXPECT_EQ("Incoming call from %s%n to %x", IncomingCallNotice("%s%n", "%x"));
  EXPECT_EQ("Incoming call from Müller GmbH (0301555123) to 4711",
            IncomingCallNotice("0301555123", "4711", "Müller GmbH"));
  EXPECT_EQ("Incoming call from withheld to 4711", IncomingCallNotice("", "4711", "a name for no number"));
}

// "TaskbarCreated" while the shell still has the icon (any program may send it): the refused add is
// followed by a modify, and when that is refused too, by a delete and a new add.
TEST_F(TrayIconStateTest, RefusedReaddUpdatesOrReplacesTheIcon) {
  InstallShown();
  shell.addsToRefuse = 1;
  tray.OnShellRestart(shell);
  EXPECT_EQ((Requests{"add flags=7 icon=128 tip=Telvaro Fax Server Monitor",
                      "modify flags=7 icon=128 tip=Telvaro Fax Server Monitor"}),
            shell.requests);
  shell.requests.clear();
  shell.addsToRefuse = 1;
  shell.acceptModify = false;
  tray.OnShellRestart(shell);
  ASSERT_EQ(5u, shell.requests.size());
  EXPECT_EQ("delete", shell.requests[2].substr(0, 6));
  EXPECT_EQ("add", shell.requests[3].substr(0, 3));
  EXPECT_EQ("version", shell.requests[4]) << "the new icon starts at the oldest version";
  EXPECT_FALSE(tray.hidden() || tray.readdPending());
}

TEST_F(TrayIconStateTest, FailedReaddHidesAndIsTriedAgainAtTheNextRestart) {
  InstallShown();
  shell.addsToRefuse = 2;
  shell.acceptModify = false;
  tray.OnShellRestart(shell);
  EXPECT_TRUE(tray.hidden() && tray.readdPending());
  shell.requests.clear();
  tray.ChangeTip(shell, "only stored");
  tray.OnSettingChange(shell, 47);  // hidden: the work-area change does not add either
  EXPECT_TRUE(shell.requests.empty());
  tray.OnShellRestart(shell);
  EXPECT_EQ((Requests{"add flags=7 icon=128 tip=only stored", "version"}), shell.requests);
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
  EXPECT_EQ((Requests{"add flags=7 icon=128 tip=Telvaro Fax Server Monitor", "version"}), shell.requests);
  EXPECT_FALSE(tray.readdPending());
}

// The keyboard's callbacks need version 4 for the icon as added: a restarted shell's fresh icon asks
// again, and one that refuses it is read in the oldest form.
TEST_F(TrayIconStateTest, EveryAddAsksForTheKeyboardVersion) {
  ASSERT_TRUE(Install());
  EXPECT_EQ((Requests{"add flags=7 icon=128 tip=Telvaro Fax Server Monitor", "version"}), shell.requests);
  EXPECT_TRUE(tray.keyboardVersion());
  shell.acceptVersion = false;
  ASSERT_TRUE(tray.OnShellRestart(shell));
  EXPECT_FALSE(tray.keyboardVersion());
}

// The callback as the shell sends it at each version, and what each event does: the mouse keeps its
// gestures, Enter, Space and the context-menu key act as the double-click and the right click do, and
// the NIN_SELECT that follows a click does nothing.
TEST(TrayCallbackTest, EventsAreReadPerVersionAndTheMouseKeepsItsGestures) {
  const TrayEvent anchored = DecodeTrayCallback(true, 0xFFF60280u, (128u << 16) | kTrayContextMenu);
  EXPECT_EQ(128u, anchored.iconId);
  EXPECT_EQ(kTrayContextMenu, anchored.event);
  EXPECT_TRUE(anchored.anchored);
  EXPECT_EQ(640, anchored.x);
  EXPECT_EQ(-10, anchored.y) << "a monitor above the primary one";
  const TrayEvent oldest = DecodeTrayCallback(false, 128, kTrayRightButtonUp);
  EXPECT_EQ(128u, oldest.iconId);
  EXPECT_EQ(kTrayRightButtonUp, oldest.event);
  EXPECT_FALSE(oldest.anchored);

  using A = TrayAction;
  constexpr uint32_t kLeftDown = 0x0201, kRightDown = 0x0204;
  const struct {
    bool version4;
    std::vector<uint32_t> events;
    std::vector<TrayAction> actions;
  } cases[] = {
      {true, {kRightDown, kTrayRightButtonUp, kTrayContextMenu}, {A::None, A::None, A::ShowMenu}},
      {true, {kLeftDown, kTrayLeftButtonUp, kTraySelect}, {A::None, A::None, A::None}},
      {true,
       {kLeftDown, kTrayLeftButtonUp, kTraySelect, kTrayLeftDoubleClick, kTrayLeftButtonUp, kTrayMouseMove,
        kTraySelect},
       {A::None, A::None, A::None, A::RunDefault, A::None, A::None, A::None}},
      {true, {kTraySelect, kTrayKeySelect, kTrayContextMenu}, {A::RunDefault, A::RunDefault, A::ShowMenu}},
      {true, {kTrayBalloonClick}, {A::ShowNotifiedCall}},
      {false,
       {kTrayRightButtonUp, kTrayContextMenu, kTrayLeftDoubleClick, kTrayLeftButtonUp},
       {A::ShowMenu, A::None, A::RunDefault, A::None}},
  };
  for (const auto& c : cases) {
    TrayGestures gestures;
    std::vector<TrayAction> actions;
    for (const uint32_t event : c.events) actions.push_back(gestures.OnEvent(c.version4, event));
    EXPECT_EQ(c.actions, actions) << "version 4: " << c.version4 << ", first event " << c.events.front();
  }
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
