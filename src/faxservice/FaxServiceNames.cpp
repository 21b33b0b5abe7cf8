#include "faxservice/FaxServiceNames.h"

#include "common/OsVersion.h"

namespace tfm {

ChannelObjectNames BuildObjectNames(const std::string& baseName, int32_t osVersionCode) {
  const std::string scope = osVersionCode > kLastCodeWithoutNamespaces ? "Global\\" : "";
  ChannelObjectNames names;
  names.map = scope + "TelvaroFaxServerMAP_" + baseName;
  names.dataMutex = scope + "TelvaroFaxServerMUTEX_" + baseName;
  names.raceMutex = scope + "IPC_RACE_MUTEX{5E2B7A41-0C93-4D6E-8F12-7A3C9B0D4E58}";
  names.serverEvent = "Global\\SERVEREVENT_" + baseName;
  names.clientEvent = "Global\\CLIENTEVENT_" + baseName;
  return names;
}

}  // namespace tfm
