#pragma once
// A monitor wired to the fake provider, tray and call log, and hand-built indications for it.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "FakeCapi.h"
#include "RecordingTray.h"
#include "TraceCapture.h"
#include "capi/IsdnMonitor.h"

namespace tfm::test {

inline Bytes Struct(const std::string& content) {
  Bytes s = {static_cast<uint8_t>(content.size())};
  s.insert(s.end(), content.begin(), content.end());
  return s;
}

// CONNECT_IND with called number (type/plan 0x81) and calling number (type/plan 0x01, presentation 0x80).
inline Bytes ConnectInd(uint32_t plci, uint16_t number, const std::string& called, const std::string& calling) {
  return Wire(1, 0x02, 0x82, number,
              {Dword(plci), Word(16), Struct("\x81" + called), Struct(std::string("\x01\x80", 2) + calling), {0x00},
               {0x00}, {0x00}, {0x00}, {0x00}, {0x00}});
}

inline Bytes DisconnectInd(uint32_t plci, uint16_t number, uint16_t reason) {
  return Wire(1, 0x04, 0x82, number, {Dword(plci), Word(reason)});
}

// A DISCONNECT_IND of 12 bytes: header and PLCI, its Reason missing.
inline Bytes DamagedDisconnectInd(uint32_t plci, uint16_t number) {
  return Wire(1, 0x04, 0x82, number, {Dword(plci)});
}

// The n-th of many distinct PLCIs: PLCI bytes 1..255 on controllers 1, 2, ...
inline uint32_t Plci(size_t n) { return static_cast<uint32_t>((n / 255 + 1) | (n % 255 + 1) << 8); }

// Command and address fields of a message the monitor put.
inline uint16_t CommandOf(const Bytes& m) { return static_cast<uint16_t>(m[4] << 8 | m[5]); }
inline uint32_t AddressOf(const Bytes& m) {
  return static_cast<uint32_t>(m[8]) | static_cast<uint32_t>(m[9]) << 8 | static_cast<uint32_t>(m[10]) << 16 |
         static_cast<uint32_t>(m[11]) << 24;
}

constexpr uint16_t kListenReq = 0x0580;
constexpr uint16_t kConnectResp = 0x0283;
constexpr uint16_t kDisconnectReq = 0x0480;
constexpr uint16_t kDisconnectResp = 0x0483;
constexpr uint16_t kInfoResp = 0x0883;

class MonitorTest : public ::testing::Test {
 protected:
  // Runs the thread body: `passes` pump passes after the first (pre-LISTEN) one. Messages queued
  // before are fetched from the first pass on. `calls` keeps the call table as the last pass left it
  // (a stopped monitor follows no call).
  void Run(int passes = 1) {
    workersRunning = 1;
    int sleeps = 0;
    SleepFunction sleep = [&](uint32_t ms) {
      EXPECT_EQ(100u, ms);
      if (++sleeps < passes) return;
      workersRunning = 0;
      calls = monitor->calls();
    };
    monitor = std::make_unique<CIsdnMonitor>(capi.entryPoints(), tray, log, workersRunning, activity, sleep, phoneBook);
    EXPECT_EQ(0u, monitor->RunThread());
  }

  // The messages put with the given command/subcommand, in order.
  std::vector<Bytes> Put(uint16_t commandAndSub) const {
    std::vector<Bytes> out;
    for (const Bytes& m : capi.put) {
      if (CommandOf(m) == commandAndSub) out.push_back(m);
    }
    return out;
  }

  TraceCapture trace;
  FakeCapi capi;
  RecordingTray tray;
  RecordingCallLog log;
  std::atomic<int32_t> workersRunning{0};
  CallActivity activity;
  const IPhoneBook* phoneBook = nullptr;
  std::unique_ptr<CIsdnMonitor> monitor;
  CallTable calls;
};

}  // namespace tfm::test
