// The engine's questions to the INF reader (platform::machine().inf), in the shapes the
// engine uses them.
//
// Texts are read whole, whatever their length (the reader reports the size first), and only
// cut where they reach a caller's buffer; so a long field is never mistaken for a missing
// one. Every function answers false when the reader fails, and leaves its outputs untouched
// then.
#pragma once

#include <cstdint>
#include <string>

#include "platform/inf_reader.h"

namespace infengine {

// SetupFindFirstLine: the first line of `section` with `key` (null: the section's first line).
bool findLine(platform::HInf inf, const char* section, const char* key,
              platform::InfContext* line);

// SetupFindNextLine, in place.
bool nextLine(platform::InfContext* line);

// SetupGetStringField: field `index` (0 = the key, 1.. = the values).
bool readField(const platform::InfContext& line, std::uint32_t index, std::string* text);

// SetupGetIntField. False also when the field is not a number.
bool readIntField(const platform::InfContext& line, std::uint32_t index, std::int32_t* value);

// SetupGetLineText of a line: its values joined by commas.
bool readLineText(const platform::InfContext& line, std::string* text);

// SetupGetLineText of the first line of `section` with `key`.
bool readLineText(platform::HInf inf, const char* section, const char* key, std::string* text);

}  // namespace infengine
