#pragma once
#include <cstdint>

#include "faxservice/ServicePoller.h"

namespace tfm {

// The state of the service "TelvaroFaxService" from the service control manager, or -1 when it cannot
// be found out. The service is opened with full access, so a user who may only query it sees -1.
int32_t QueryFaxServiceState();

class FaxServiceProbe final : public IServiceProbe {
 public:
  int32_t QueryFaxServiceState() override { return tfm::QueryFaxServiceState(); }
};

}  // namespace tfm
