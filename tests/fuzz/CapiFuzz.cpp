// Fuzz target: arbitrary bytes as a sequence of wire messages, handed over the way a provider hands them
// (the header's length is the only bound the interface gives, so each message gets a buffer of exactly
// that many bytes). Every message is unpacked on its own, re-packed when it decoded, and the whole
// sequence is then played through the monitor's thread body.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "capi/CapiMessageCodec.h"
#include "NullPorts.h"
#include "capi/IsdnMonitor.h"

namespace {

using tfm::CapiDword;

struct Provider {
  std::deque<std::unique_ptr<uint8_t[]>> queue;
  std::unique_ptr<uint8_t[]> delivered;
};
Provider* g_provider = nullptr;

CapiDword CAPI_CALL Installed() { return 0; }
CapiDword CAPI_CALL Register(CapiDword, CapiDword, CapiDword, CapiDword, CapiDword* id) {
  *id = 1;
  return 0;
}
CapiDword CAPI_CALL Release(CapiDword) { return 0; }
CapiDword CAPI_CALL Put(CapiDword, void* message) {
  const auto* bytes = static_cast<const uint8_t*>(message);
  // What the monitor sends must be a complete message of at least header and address.
  if ((bytes[0] | (bytes[1] << 8)) < 12) __builtin_trap();
  return 0;
}
CapiDword CAPI_CALL Get(CapiDword, void** message) {
  if (g_provider->queue.empty()) return tfm::kCapiQueueEmpty;
  g_provider->delivered = std::move(g_provider->queue.front());
  g_provider->queue.pop_front();
  *message = g_provider->delivered.get();
  return 0;
}
CapiDword CAPI_CALL Profile(void* buffer, CapiDword controller) {
  std::memset(buffer, 0, 64);
  if (controller == 0) static_cast<uint8_t*>(buffer)[0] = 2;
  return 0;
}

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
  Provider provider;
  g_provider = &provider;
  for (size_t at = 0; at + 2 <= size;) {
    const size_t stated = static_cast<size_t>(data[at] | (data[at + 1] << 8));
    const size_t length = stated < 2 ? 2 : stated;
    auto message = std::make_unique<uint8_t[]>(length);
    std::memset(message.get(), 0, length);
    std::memcpy(message.get(), data + at, std::min(length, size - at));
    CheckRoundTrip(message.get());
    provider.queue.push_back(std::move(message));
    at += length;
  }

  tfm::CapiEntryPoints entryPoints;
  entryPoints.CAPI_INSTALLED = &Installed;
  entryPoints.CAPI_REGISTER = &Register;
  entryPoints.CAPI_RELEASE = &Release;
  entryPoints.CAPI_PUT_MESSAGE = &Put;
  entryPoints.CAPI_GET_MESSAGE = &Get;
  entryPoints.CAPI_GET_PROFILE = &Profile;
  tfm::test::NullTray tray;
  tfm::test::NullCallLog log;
  std::atomic<int32_t> workersRunning{1};
  tfm::CIsdnMonitor monitor(entryPoints, tray, log, workersRunning, [&](uint32_t) {
    if (provider.queue.empty()) workersRunning = 0;
  });
  monitor.RunThread();
  g_provider = nullptr;
  return 0;
}
