// Fuzz target: arbitrary bytes as a sequence of wire messages, handed over the way a provider hands them
// (the header's length is the only bound the interface gives, so each message gets a buffer of exactly
// that many bytes). Every message is unpacked on its own, re-packed when it decoded, and the whole
// sequence is then played through the monitor's thread body.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

#include "FakeCapi.h"
#include "NullPorts.h"
#include "capi/CapiMessageCodec.h"
#include "capi/IsdnMonitor.h"

namespace {

void CheckRoundTrip(const uint8_t* message) {
  tfm::CMsg cmsg;
  if (tfm::CMsgUnpack(cmsg, message) != 0) return;
  uint8_t packed[2048];
  const uint32_t info = tfm::CMsgPack(cmsg, packed, sizeof packed);
  if (info == tfm::kCapiIllegalParameterCoding) return;  // decoded fine, too long for the send buffer
  if (info != 0) __builtin_trap();
  tfm::CMsg again;
  if (tfm::CMsgUnpack(again, packed) != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tfm::test::FakeCapi capi;
  capi.controllers = 2;
  for (size_t at = 0; at + 2 <= size;) {
    const size_t stated = static_cast<size_t>(data[at] | (data[at + 1] << 8));
    tfm::test::Bytes message(stated < 2 ? 2 : stated, 0);
    std::memcpy(message.data(), data + at, std::min(message.size(), size - at));
    CheckRoundTrip(message.data());
    at += message.size();
    capi.queue.push_back(std::move(message));
  }

  tfm::test::NullTray tray;
  tfm::test::NullCallLog log;
  std::atomic<int32_t> workersRunning{1};
  tfm::CallActivity activity;
  tfm::CIsdnMonitor monitor(capi.entryPoints(), tray, log, workersRunning, activity, [&](uint32_t) {
    if (capi.queue.empty()) workersRunning = 0;
  });
  monitor.RunThread();
  // What the monitor sends must be a complete message of at least header and address.
  for (const tfm::test::Bytes& message : capi.put) {
    if (message.size() < 12) __builtin_trap();
  }
  return 0;
}
