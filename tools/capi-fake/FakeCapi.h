#pragma once
// A recording COMMON-ISDN-API provider behind the entry-point table, for driving the monitor message by
// message. Entry points are plain function pointers, so the one active fake is reached through a static.
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CapiWire.h"
#include "calllog/CallLogPort.h"
#include "capi/CapiEntryPoints.h"

namespace tfm::test {

class FakeCapi {
 public:
  FakeCapi();
  ~FakeCapi();

  const CapiEntryPoints& entryPoints() const { return m_table; }

  // Provider behaviour.
  CapiDword installed = 0;
  CapiDword registerResult = 0;
  CapiDword applId = 1;
  uint16_t controllers = 1;
  CapiDword version[4] = {2, 0, 3, 7};
  CapiDword profileResult = 0;          // of every profile query
  std::set<CapiDword> failingProfiles;  // controllers whose query fails; controller c has c B channels
  CapiDword putResult = 0;
  int failPutNumber = -1;  // the put with this index (0-based) returns putResult
  std::deque<Bytes> queue;
  std::map<int, CapiDword> failedFetches;  // fetch index (0-based) -> the Info it returns, with no message

  // What the monitor did.
  std::vector<std::vector<CapiDword>> registers;  // the arguments of each CAPI_REGISTER
  std::vector<CapiDword> released;
  std::vector<Bytes> put;
  int fetches = 0;
  std::vector<CapiDword> profileQueries;  // the controllers asked for, in order

 private:
  static FakeCapi* s_active;
  static CapiDword CAPI_CALL Installed();
  static CapiDword CAPI_CALL Register(CapiDword size, CapiDword connections, CapiDword blocks, CapiDword length,
                                     CapiDword* id);
  static CapiDword CAPI_CALL Release(CapiDword id);
  static CapiDword CAPI_CALL PutMessage(CapiDword id, void* message);
  static CapiDword CAPI_CALL GetMessage(CapiDword id, void** message);
  static CapiDword CAPI_CALL GetProfile(void* buffer, CapiDword controller);
  static CapiDword CAPI_CALL GetVersion(CapiDword* capiMajor, CapiDword* capiMinor, CapiDword* manufacturerMajor,
                                        CapiDword* manufacturerMinor);

  CapiEntryPoints m_table;
  Bytes m_delivered;  // valid until the next fetch, as a provider keeps it
};

class RecordingCallLog final : public ICallLog {
 public:
  void WriteCallLog(const char* type, const std::string& called, const std::string& calling) override {
    lines.push_back(std::string(type) + "|" + called + "|" + calling);
  }
  void FlushPending() override { ++flushes; }
  std::vector<std::string> lines;
  int flushes = 0;
};

}  // namespace tfm::test
