#include "devices/IsdnInfoNodes.h"

namespace tfm {
namespace {

struct OptionRow {
  uint32_t bit;
  const char* text;
};

// The option tables in display order, which is not always bit order.
constexpr OptionRow kGlobalOptions[] = {
    {0, "Internal Controller"}, {1, "External Controller"},   {3, "DTMF supported"},
    {2, "Handset"},             {4, "Suplementary services"}, {5, "Channel Allocation"},
};

constexpr OptionRow kB1Protocols[] = {
    {0, "64 KBit/s with HDLC framing"},
    {1, "64 kBit/s bit-transparent operation with byte framing from network"},
    {2, "V.110 asynchronous op. with start/stop byte framing"},
    {3, "V.110 synchronous op. with byte framing"},
    {4, "T.30 Modem for Group 3 fax"},
    {5, "64 kBit/s inverted with HDLC framing"},
    {6, "56 kBit/s bit-transparent operation with byte framing from network"},
    {7, "Modem with all negotiations"},
    {8, "Modem asynchronous operation with start/stop byte framing"},
    {9, "Modem synchronous operation with HDLC framing"},
};

constexpr OptionRow kB2Protocols[] = {
    {0, "ISO 7776 (X.75 SLP)"},
    {1, "Transparent"},
    {2, "SDLC"},
    {3, "LAPD according Q.921 for D-channel X.25 (SAPI 16)"},
    {4, "T.30 modem for Group 3 fax"},
    {5, "PPP"},
    {6, "Transparent (ignoring framing errors of B1 protocol)"},
    {7, "Modem error correction and compression (V.42bis or MNP5)"},
    {8, "ISO 7776 (X.75 SLP) modified supporting V.42 bis compression"},
    {9, "V. 120 asyncronous"},
    {10, "V. 120 asyncronous with V.42 bis"},
    {11, "V.120 bit-transparent mode"},
    {12, "LAPD accordance with Q.921 including free SAPI selectioin"},
};

// Bit 1 names two protocols, shown last.
constexpr OptionRow kB3Protocols[] = {
    {0, "Transparent"},
    {2, "ISO 8208 (X.25 DTE-DTE)"},
    {3, "X.25 DCE"},
    {4, "T.30 modem for fax Group 3 fax"},
    {5, "T.30 for Group 3 with extensions"},
    {7, "Modem"},
    {1, "T.90 NL"},
    {1, "T.90NL with compatibility to T.70NL in accordance to T.90 Appendix II"},
};

constexpr uint32_t kCapiNotInstalled = 0x1009;

// Offsets of the profile record's fields, little-endian as the standard defines them.
constexpr size_t kControllerCountOffset = 0;
constexpr size_t kBChannelsOffset = 2;
constexpr size_t kGlobalOptionsOffset = 4;
constexpr size_t kB1Offset = 8;
constexpr size_t kB2Offset = 12;
constexpr size_t kB3Offset = 16;

uint16_t Word(const CapiProfile& p, size_t at) { return static_cast<uint16_t>(p[at] | (p[at + 1] << 8)); }
uint32_t Dword(const CapiProfile& p, size_t at) {
  return p[at] | (p[at + 1] << 8) | (p[at + 2] << 16) | (static_cast<uint32_t>(p[at + 3]) << 24);
}

template <size_t N>
void AddOptions(TreeNode& parent, const OptionRow (&table)[N], uint32_t mask) {
  for (const OptionRow& row : table) {
    if (mask & (1u << row.bit)) parent.Add(row.text);
  }
}

TreeNode ControllerNode(uint32_t controller, const CapiProfile& profile) {
  TreeNode node{FormatText("Controller %d", static_cast<int>(controller)), {}};
  TreeNode& global = node.Add("Global Options");
  global.Add(FormatText("Amount of B Channels: %d", Word(profile, kBChannelsOffset)));
  AddOptions(global, kGlobalOptions, Dword(profile, kGlobalOptionsOffset));
  AddOptions(node.Add("B1 Protocol Options"), kB1Protocols, Dword(profile, kB1Offset));
  AddOptions(node.Add("B2 Protocol Options"), kB2Protocols, Dword(profile, kB2Offset));
  AddOptions(node.Add("B3 Protocol Options"), kB3Protocols, Dword(profile, kB3Offset));
  return node;
}

}  // namespace

IsdnInfo GatherIsdnInfo(bool capiAvailable, const CapiEntryPoints& capi, const ProfileQuery& getProfile) {
  IsdnInfo info;
  info.capiAvailable = capiAvailable;
  if (!capiAvailable) return info;
  // An incomplete table cannot happen once capiAvailable is set; it reads as a driver that has gone.
  info.installedResult = capi.CAPI_INSTALLED ? capi.CAPI_INSTALLED() : kCapiNotInstalled;
  if (info.installedResult != 0) return info;

  CapiDword numbers[4] = {};
  if (capi.CAPI_GET_VERSION) capi.CAPI_GET_VERSION(&numbers[0], &numbers[1], &numbers[2], &numbers[3]);
  info.version = {numbers[0], numbers[1], numbers[2], numbers[3]};

  CapiProfile profile{};
  if (capi.CAPI_GET_PROFILE && capi.CAPI_GET_PROFILE(profile.data(), 0) == 0) {
    info.controllerCount = Word(profile, kControllerCountOffset);
  }

  for (uint32_t c = 1; c <= info.controllerCount; ++c) {
    profile.fill(0);
    ControllerProfile entry{c, std::nullopt};
    if (getProfile(c, profile.data()) == 0) entry.profile = profile;
    info.controllers.push_back(entry);
  }
  return info;
}

IsdnInfoTree BuildIsdnInfoNodes(const IsdnInfo& info) {
  IsdnInfoTree tree;
  if (!info.capiAvailable) return tree;
  if (info.installedResult != 0) {
    tree.driverGone = true;
    return tree;
  }
  TreeNode capiInfo{"CAPI Info", {}};
  capiInfo.Add(FormatText("ISDN Controllers : %d", static_cast<int>(info.controllerCount)));
  const CapiVersion& v = info.version;
  capiInfo.Add(FormatText("Version : %d.%d (%d.%d)", static_cast<int>(v.interfaceMajor),
                          static_cast<int>(v.interfaceMinor), static_cast<int>(v.manufacturerMajor),
                          static_cast<int>(v.manufacturerMinor)));
  tree.nodes.push_back(std::move(capiInfo));
  for (const ControllerProfile& controller : info.controllers) {
    if (controller.profile) tree.nodes.push_back(ControllerNode(controller.controller, *controller.profile));
  }
  return tree;
}

}  // namespace tfm
