#pragma once

// Is the calling thread's token a member of the built-in Administrators group? Under user
// account control that means: is the program running elevated.
bool IsUserAdministrator();

using AdministratorCheck = bool (*)();
