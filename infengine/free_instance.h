// The next free instance of a class key: "...\MEDIA\0000", "...\MEDIA\0001", ...
//
// While the key exists below HKEY_LOCAL_MACHINE, the four decimal digits at its end go up by
// one, with carry (0009 becomes 0010). Past 9999 the count starts again at 0000, after the
// message "Loop back round enumeration" (an OK box with an empty caption). One full round
// without a free number ends the search.
#pragma once

#include <string>

namespace infengine {

// Advances *key (which ends in four decimal digits) to the first instance that does not
// exist. False when the key does not end in four digits, or every instance exists.
bool advanceToFreeInstance(std::string* key);

}  // namespace infengine
