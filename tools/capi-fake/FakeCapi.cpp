#include "FakeCapi.h"

#include <cstring>

namespace tfm::test {

namespace {
constexpr CapiDword kIllegalController = 0x2002;
}  // namespace

FakeCapi* FakeCapi::s_active = nullptr;

FakeCapi::FakeCapi() {
  s_active = this;
  m_table.CAPI_INSTALLED = &Installed;
  m_table.CAPI_REGISTER = &Register;
  m_table.CAPI_RELEASE = &Release;
  m_table.CAPI_PUT_MESSAGE = &PutMessage;
  m_table.CAPI_GET_MESSAGE = &GetMessage;
  m_table.CAPI_GET_PROFILE = &GetProfile;
  m_table.CAPI_GET_VERSION = &GetVersion;
}

FakeCapi::~FakeCapi() { s_active = nullptr; }

CapiDword FakeCapi::Installed() { return s_active->installed; }

CapiDword FakeCapi::Register(CapiDword size, CapiDword connections, CapiDword blocks, CapiDword length,
                             CapiDword* id) {
  s_active->registers.push_back({size, connections, blocks, length});
  *id = s_active->applId;
  return s_active->registerResult;
}

CapiDword FakeCapi::Release(CapiDword id) {
  s_active->released.push_back(id);
  return 0;
}

CapiDword FakeCapi::PutMessage(CapiDword, void* message) {
  const auto* bytes = static_cast<const uint8_t*>(message);
  s_active->put.emplace_back(bytes, bytes + (bytes[0] | (bytes[1] << 8)));
  return static_cast<int>(s_active->put.size()) - 1 == s_active->failPutNumber ? s_active->putResult : 0;
}

CapiDword FakeCapi::GetMessage(CapiDword, void** message) {
  FakeCapi& self = *s_active;
  const auto failed = self.failedFetches.find(self.fetches++);
  if (failed != self.failedFetches.end()) return failed->second;
  if (self.queue.empty()) return kCapiQueueEmpty;
  self.m_delivered = std::move(self.queue.front());
  self.queue.pop_front();
  *message = self.m_delivered.data();
  return 0;
}

CapiDword FakeCapi::GetProfile(void* buffer, CapiDword controller) {
  FakeCapi& self = *s_active;
  self.profileQueries.push_back(controller);
  auto* bytes = static_cast<uint8_t*>(buffer);
  std::memset(bytes, 0, 64);
  if (self.profileResult != 0) return self.profileResult;
  if (self.failingProfiles.count(controller)) return kIllegalController;
  if (controller == 0) std::memcpy(bytes, &self.controllers, 2);
  bytes[2] = static_cast<uint8_t>(controller);
  return 0;
}

CapiDword FakeCapi::GetVersion(CapiDword* capiMajor, CapiDword* capiMinor, CapiDword* manufacturerMajor,
                               CapiDword* manufacturerMinor) {
  const CapiDword* v = s_active->version;
  *capiMajor = v[0], *capiMinor = v[1], *manufacturerMajor = v[2], *manufacturerMinor = v[3];
  return 0;
}

}  // namespace tfm::test
