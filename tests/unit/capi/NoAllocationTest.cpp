// The message path allocates nothing: packing writes into the caller's buffer, unpacking reads in place.
#include <gtest/gtest.h>

#include "CapiWire.h"
#include "CountingNew.h"

namespace tfm::test {
namespace {

TEST(NoAllocationTest, PackAndUnpackAllocateNothing) {
  const Bytes connectInd = Wire(1, 0x02, 0x82, 1, {Dword(0x0101), Word(16), {0x02, 0x81, '1'}, {0x03, 0x01, 0x80, '2'},
                                                   {0}, {0}, {0}, {0}, {0}, {0x04, 0, 0, 0, 0}});
  uint8_t buffer[2048];
  CMsg cmsg;
  const long before = AllocationCount();
  ASSERT_EQ(0u, CMsgUnpack(cmsg, connectInd.data()));
  cmsg.Subcommand = kCapiResp;
  cmsg.Reject = 2;
  ASSERT_EQ(0u, CMsgPack(cmsg, buffer, sizeof buffer));
  EXPECT_EQ(before, AllocationCount());
}

}  // namespace
}  // namespace tfm::test
