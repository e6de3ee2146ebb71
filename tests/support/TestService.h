#pragma once
#include <windows.h>

#include <string>

#include "common/win32/UniqueHandle.h"

namespace testing_support {

// The test service installed under a given name and started; stopped and deleted again when
// the object goes. Tests that use it hold the lock named after the service.
class InstalledService {
public:
    explicit InstalledService(std::string name);
    ~InstalledService();
    InstalledService(const InstalledService&) = delete;
    InstalledService& operator=(const InstalledService&) = delete;

    // Sends a control and waits until the service reports the state it leads to.
    bool Control(DWORD control, DWORD expectedState);

private:
    std::string name_;
    win32::UniqueServiceHandle manager_;
    win32::UniqueServiceHandle service_;
};

}  // namespace testing_support
