// Keeps the settings store's notices off the screen while it has no language module.
//
// The store takes the texts of its notices from the module it was handed. Before that (in a
// maintenance run, and in the tray's start-up before the module is handed over) a notice
// would be a box without text, so the tray shows none: while a QuietNotices object lives,
// message boxes are not shown and answer 0, as a box that could not be shown does.
// Everything else goes to the user interface that was installed.
#pragma once

#include <memory>

#include "platform/machine.h"

namespace tray {

class QuietNotices {
  public:
    QuietNotices();
    ~QuietNotices();
    QuietNotices(const QuietNotices&) = delete;
    QuietNotices& operator=(const QuietNotices&) = delete;

  private:
    class MutedUi;
    std::unique_ptr<MutedUi> muted_;
    platform::Machine previous_;
};

}  // namespace tray
