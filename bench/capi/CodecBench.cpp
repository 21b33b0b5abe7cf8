// Packing and unpacking the messages the monitor handles most, with our codec and, where the platform
// has it, libcapi20's capi_message2cmsg/capi_cmsg2message side by side in the same run. Each case
// checks that what the codec packs carries the wire's parameters and counts what an iteration
// allocates ("allocs").
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "BenchWire.h"
#include "CountingNew.h"
#include "capi/CapiMessageCodec.h"

#if TFM_HAVE_LIBCAPI20
#include <capiutils.h>
#endif

namespace tfm::bench {
namespace {

constexpr size_t kBufferLength = 2048;

struct OurCodec {
  static constexpr const char* kName = "ours";
  using Message = CMsg;
  static unsigned Unpack(Message& m, const uint8_t* wire) { return CMsgUnpack(m, wire); }
  static unsigned Pack(Message& m, uint8_t* buffer) { return CMsgPack(m, buffer, kBufferLength); }
};

#if TFM_HAVE_LIBCAPI20
// The platform's codec, called as a program using the library would call it. Its unpack takes the
// wire message as mutable; it is handed the same message as ours.
struct LibCapi20Codec {
  static constexpr const char* kName = "libcapi20";
  using Message = _cmsg;
  static unsigned Unpack(Message& m, const uint8_t* wire) {
    return capi_message2cmsg(&m, const_cast<unsigned char*>(wire));
  }
  static unsigned Pack(Message& m, uint8_t* buffer) { return capi_cmsg2message(&m, buffer); }
};
#endif

// Our codec's reading of a message, packed again: the parameters our codec knows, in its form.
Bytes Normalised(const uint8_t* message) {
  CMsg cmsg;
  Bytes packed(kBufferLength);
  if (CMsgUnpack(cmsg, message) != 0 || CMsgPack(cmsg, packed.data(), packed.size()) != 0) return {};
  packed.resize(cmsg.walkOffset);
  return packed;
}

// Whether packed carries the wire's parameters. The codecs differ in what they add of the later
// editions of the standard, which our codec steps over when it reads.
bool SameParameters(const uint8_t* packed, const Bytes& wire) {
  const Bytes expected = Normalised(wire.data());
  return !expected.empty() && Normalised(packed) == expected;
}

void Report(benchmark::State& state, long allocationsBefore, const uint8_t* packed, const Bytes& wire) {
  state.counters["allocs"] = benchmark::Counter(static_cast<double>(test::AllocationCount() - allocationsBefore),
                                                benchmark::Counter::kAvgIterations);
  if (packed && !SameParameters(packed, wire)) state.SkipWithError("pack lost parameters of the wire");
  state.SetItemsProcessed(state.iterations());
}

template <class Codec>
void Unpack(benchmark::State& state, const Bytes& wire) {
  typename Codec::Message message{};
  const long before = test::AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(Codec::Unpack(message, wire.data()));
    benchmark::ClobberMemory();
  }
  Report(state, before, nullptr, wire);
}

template <class Codec>
void Pack(benchmark::State& state, const Bytes& wire) {
  typename Codec::Message message{};
  Codec::Unpack(message, wire.data());
  uint8_t buffer[kBufferLength];
  const long before = test::AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(Codec::Pack(message, buffer));
    benchmark::ClobberMemory();
  }
  Report(state, before, buffer, wire);
}

// What a relay does: decode a message and encode it again.
template <class Codec>
void UnpackPack(benchmark::State& state, const Bytes& wire) {
  typename Codec::Message message{};
  uint8_t buffer[kBufferLength];
  const long before = test::AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(Codec::Unpack(message, wire.data()));
    benchmark::DoNotOptimize(Codec::Pack(message, buffer));
    benchmark::ClobberMemory();
  }
  Report(state, before, buffer, wire);
}

// Calls f with each codec in turn, so that their figures stand next to each other.
template <class F>
void ForEachCodec(F f) {
  f(OurCodec{});
#if TFM_HAVE_LIBCAPI20
  f(LibCapi20Codec{});
#endif
}

const bool g_registered = [] {
  const struct {
    const char* name;
    const Bytes& wire;
  } messages[] = {{"LISTEN_REQ", kListenReq},     {"CONNECT_IND", kConnectInd}, {"DISCONNECT_IND", kDisconnectInd},
                  {"CONNECT_RESP", kConnectResp}, {"DATA_B3_IND", kDataB3Ind}};
  for (const auto& m : messages) {
    const std::string prefix = std::string(m.name) + "/";
    ForEachCodec([&](auto codec) {
      using Codec = decltype(codec);
      benchmark::RegisterBenchmark((prefix + "unpack/" + Codec::kName).c_str(), &Unpack<Codec>, m.wire);
    });
    ForEachCodec([&](auto codec) {
      using Codec = decltype(codec);
      benchmark::RegisterBenchmark((prefix + "pack/" + Codec::kName).c_str(), &Pack<Codec>, m.wire);
    });
    ForEachCodec([&](auto codec) {
      using Codec = decltype(codec);
      benchmark::RegisterBenchmark((prefix + "unpack+pack/" + Codec::kName).c_str(), &UnpackPack<Codec>, m.wire);
    });
  }
  return true;
}();

}  // namespace
}  // namespace tfm::bench
