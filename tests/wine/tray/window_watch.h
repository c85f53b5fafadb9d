// Runs a program and reports every window it creates or shows, from its start to its end.
#pragma once

namespace traycheck {

// watch SECONDS PROGRAM [ARGS...] (argv from PROGRAM on); exit code of the driver.
int watchProgram(int seconds, int argc, char** argv);

}  // namespace traycheck
