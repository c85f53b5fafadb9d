// The help file's container: a 16-byte header, the internal files each behind a 9-byte file
// header, and the directory (a B+ tree of names and offsets) that the header points to.
#pragma once

#include <map>
#include <string>

#include "tools/helpc/byte_writer.h"

namespace helpc {

// Names ("|SYSTEM", "|TOPIC", ...) mapped to their contents; the directory lists them in
// byte order of their names, as the viewer's search expects.
Bytes buildFileSystem(const std::map<std::string, Bytes>& files);

}  // namespace helpc
