// Extraction of one named member from a Microsoft cabinet file ("MSCF": stored, MSZIP,
// Quantum or LZX), through libmspack over the platform's files.
#pragma once

#include <string>

namespace infengine {

// Extracts the member whose name equals `member` byte for byte (case-sensitive) from the
// cabinet at `cabinetPath` into `folder` + member (the folder ends with a backslash). The
// written file gets the member's DOS date and time, taken as local time, as its creation and
// last-write time, and the member's attributes masked with 0x27 (read-only, hidden, system,
// archive).
//
// True only when the member was found and written whole. False when the cabinet cannot be
// opened, is no cabinet, lacks the member, or is damaged (truncated, sizes that lie, bad
// data): then no partly written file is left behind.
bool extractCabinetMember(const std::string& cabinetPath, const std::string& member,
                          const std::string& folder);

}  // namespace infengine
