// The registry that registering the sample drivers must leave, written out by hand from the
// INF files and the machine descriptions the Wine test installs.
#pragma once

#include "registration_check.h"

// The Windows 98 machine (win98-maestro2e, the Maestro-2E found at 00:0A.0) after the
// uninstall, with C:\SAMPLE\SAMPLE.INF dated 5 June 1998 (UTC).
ExpectedRegistration windows98Registration();

// The NT machine (nt4-maestro2e) with its CNPROWT.INF: the es1978 service.
ExpectedRegistration windowsNtRegistration();
