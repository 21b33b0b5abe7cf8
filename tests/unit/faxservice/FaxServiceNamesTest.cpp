#include "faxservice/FaxServiceNames.h"

#include <gtest/gtest.h>

namespace tfm {
namespace {

TEST(BuildObjectNames, NamespaceByVersionCodeButEventsAlwaysGlobal) {
  for (int32_t code : {0, 5, 101, 108, 109, 201, 901}) {
    SCOPED_TRACE(code);
    const std::string scope = code > 108 ? "Global\\" : "";
    const ChannelObjectNames names = BuildObjectNames("TelvaroFaxServer", code);
    EXPECT_EQ(scope + "TelvaroFaxServerMAP_TelvaroFaxServer", names.map);
    EXPECT_EQ(scope + "TelvaroFaxServerMUTEX_TelvaroFaxServer", names.dataMutex);
    EXPECT_EQ(scope + "IPC_RACE_MUTEX{5E2B7A41-0C93-4D6E-8F12-7A3C9B0D4E58}", names.raceMutex);
    EXPECT_EQ("Global\\SERVEREVENT_TelvaroFaxServer", names.serverEvent);
    EXPECT_EQ("Global\\CLIENTEVENT_TelvaroFaxServer", names.clientEvent);
  }
}

}  // namespace
}  // namespace tfm
