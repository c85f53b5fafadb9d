// The walk over a section list: an install-section key ("CopyFiles", "AddReg", ...) whose
// values name further sections, whose lines are handed out one per call.
//
//   start (a section name): find the list key in that install section, take its first value
//       as the first list section and go to that section's first line;
//   continue (null): go to the next line; after the last line of a list section take the next
//       value of the list line and go to the first line of that section.
//
// The walk ends at a missing list line or value, at a missing or empty list section (an empty
// section ends the whole walk; later sections of the list are not visited), and after the
// last line of the last section. A continue call after a call that produced nothing ends at
// once. The line reached is engineState().currentLine.
#pragma once

#include <string>

#include "infengine/engine_state.h"

namespace infengine {

// One step of the walk of list key `listKey` with `cursor`. With `wantDestination`, each list
// section's destination directory is resolved from "DestinationDirs" into
// engineState().currentDestinationDirectory as the walk enters it. True when a line was
// reached; false at the end (and with no INF open).
bool walkSectionList(SectionListCursor& cursor, const char* section, const char* listKey,
                     bool wantDestination);

// The file entry of the current line, from its text (values joined by commas):
//   source       the INF directory and the source name: the piece after the first comma,
//                cut to a file name, or the whole text cut to a file name when that is empty;
//   destination  the current destination directory, a backslash and the destination name
//                (the text cut to a file name).
// Either output may be null.
void currentFileEntry(std::string* source, std::string* destination);

// The INF directory: the open INF's path through its last backslash.
std::string infDirectory();

}  // namespace infengine
