// The support information dialog's contact table: three regions, each with its combo text
// and up to six rows of (label string, value string), all numbers of language-module strings.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/system.h"

namespace props {

constexpr int kRegionCount = 3;

struct SupportRow {
    std::uint32_t label = 0;
    std::uint32_t value = 0;
};

// The region the thread locale preselects: German (any sublanguage) 1; English US or
// Australian, Spanish (sublanguage 2 and 4 to 20) and Brazilian Portuguese 0; the rest 2.
int regionForLocale(platform::Lcid locale);

// The rows shown for a region, in table order, rows without a value left out. Empty for an
// index outside 0 to 2.
std::vector<SupportRow> supportRows(int region);

// The combo box texts in region order (0, 1, 2).
std::uint32_t regionNameString(int region);

}  // namespace props
