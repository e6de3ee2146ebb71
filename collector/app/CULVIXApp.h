#pragma once
#include <string>

#include "app/AdministratorCheck.h"
#include "framework/Application.h"

// The application object: checks the user, reads the command line, starts the one collection
// and shows it in the main dialog or runs it silently. The program performs at most one
// collection and then ends.
class CULVIXApp : public framework::Application {
public:
    explicit CULVIXApp(AdministratorCheck isAdministrator = IsUserAdministrator) noexcept
        : isAdministrator_(isAdministrator) {}
    ~CULVIXApp() override = default;

    bool InitInstance() override;

    bool showDialog = true;
    std::string incidentNumber;

private:
    AdministratorCheck isAdministrator_;
};
