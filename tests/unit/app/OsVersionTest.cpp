#include "common/OsVersion.h"

#include <gtest/gtest.h>

#include "app/SingleInstance.h"

namespace tfm {
namespace {

uint32_t g_servicePack = 0;
uint32_t ReadServicePack() { return g_servicePack; }

struct Row {
  uint32_t platformId, major, minor, build, servicePack;
  int32_t code;
};

class OsVersionTable : public ::testing::TestWithParam<Row> {};

TEST_P(OsVersionTable, ClassifiesVersion) {
  const Row row = GetParam();
  g_servicePack = row.servicePack;
  EXPECT_EQ(row.code, GetOsVersionCode({true, row.platformId, row.major, row.minor, row.build}, ReadServicePack));
}

INSTANTIATE_TEST_SUITE_P(
    AllRows, OsVersionTable,
    ::testing::Values(
        // Windows 95 family: builds at the limits of each row.
        Row{1, 4, 0, 1080, 0, 1}, Row{1, 4, 0, 1081, 0, 2}, Row{1, 4, 10, 2221, 0, 3}, Row{1, 4, 10, 2222, 0, 4},
        Row{1, 4, 90, 3000, 0, 5}, Row{1, 4, 3, 0, 0, 6},
        // NT 3 and NT 4 by service pack; only the low 16 bits count.
        Row{2, 3, 51, 1057, 0, 101}, Row{2, 4, 0, 1381, 0x000, 102}, Row{2, 4, 0, 1381, 0x300, 105},
        Row{2, 4, 0, 1381, 0x700, 109}, Row{2, 4, 0, 1381, 0x650, 109}, Row{2, 4, 0, 1381, 0x10300, 105},
        // NT 5.0: early builds, then by service pack (0 and unknown give 202).
        Row{2, 5, 0, 2194, 0x300, 201}, Row{2, 5, 0, 2195, 0, 202}, Row{2, 5, 0, 2195, 0x100, 203},
        Row{2, 5, 0, 2195, 0x200, 204}, Row{2, 5, 0, 2195, 0x300, 205}, Row{2, 5, 0, 2195, 0x400, 202},
        // NT 5.1 and 5.2, later versions, and what is not recognised.
        Row{2, 5, 1, 2599, 0x100, 301}, Row{2, 5, 1, 2600, 0, 302}, Row{2, 5, 1, 2600, 0x100, 303},
        Row{2, 5, 1, 2600, 0x200, 302}, Row{2, 5, 2, 3790, 0, 401}, Row{2, 6, 1, 7601, 0, 901},
        Row{2, 10, 0, 19045, 0, 901}, Row{2, 5, 3, 0, 0, 0}, Row{2, 2, 0, 0, 0, 0}, Row{3, 5, 0, 0, 0, 0},
        Row{0, 4, 0, 0, 0, 0}));

TEST(OsVersionCode, FailedQueryIsUnknown) {
  EXPECT_EQ(0, GetOsVersionCode({false, 2, 6, 1, 7601}, ReadServicePack));
}

// The mutex is secured from the NT family on and local to the session from version code 109 on.
TEST(GuardMutex, NameAndSecurityFollowTheVersionCode) {
  for (const int32_t code : {0, 5, 6, 108, 109, 901}) {
    const GuardMutexChoice choice = ChooseGuardMutex(code);
    EXPECT_EQ(std::string(code > 108 ? "Local\\" : "") + "TelvaroFaxGuard", choice.name) << code;
    EXPECT_EQ(code > 5, choice.withSecurity) << code;
  }
}

}  // namespace
}  // namespace tfm
