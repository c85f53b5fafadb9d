#include "props/logic/support_regions.h"

#include "lang/resource_ids.h"

namespace props {
namespace {

struct RegionRow {
    std::uint32_t label;
    std::uint32_t values[kRegionCount];  // 0: the region has no such row
};

// clang-format off
const RegionRow kRows[] = {
    {IDS_SUPPORT_LABEL_PHONE,  {IDS_SUPPORT_PHONE_AMERICAS, IDS_SUPPORT_PHONE_GERMANY, IDS_SUPPORT_PHONE_WORLD}},
    {IDS_SUPPORT_LABEL_FAX,    {IDS_SUPPORT_FAX_AMERICAS,   IDS_SUPPORT_FAX_GERMANY,   IDS_SUPPORT_FAX_WORLD}},
    {IDS_SUPPORT_LABEL_ONLINE, {0, 0, 0}},
    {IDS_SUPPORT_LABEL_BBS,    {0, IDS_SUPPORT_BBS_GERMANY, 0}},
    {IDS_SUPPORT_LABEL_EMAIL,  {IDS_SUPPORT_EMAIL_AMERICAS, IDS_SUPPORT_EMAIL_GERMANY, IDS_SUPPORT_EMAIL_WORLD}},
    {IDS_SUPPORT_LABEL_WEB,    {IDS_SUPPORT_WEB_AMERICAS,   IDS_SUPPORT_WEB_GERMANY,   IDS_SUPPORT_WEB_WORLD}},
};
const std::uint32_t kRegionNames[kRegionCount] = {
    IDS_SUPPORT_REGION_AMERICAS, IDS_SUPPORT_REGION_GERMANY, IDS_SUPPORT_REGION_WORLD};
// clang-format on

constexpr std::uint32_t kLangEnglish = 9;
constexpr std::uint32_t kLangGerman = 7;
constexpr std::uint32_t kLangSpanish = 10;
constexpr std::uint32_t kLangPortuguese = 22;

}  // namespace

int regionForLocale(platform::Lcid locale) {
    std::uint32_t primary = locale & 0x3FF;
    std::uint32_t sub = (locale >> 10) & 0x3F;
    if (primary == kLangGerman) return 1;
    if (primary == kLangEnglish && (sub == 1 || sub == 4)) return 0;
    if (primary == kLangSpanish && (sub == 2 || (sub >= 4 && sub <= 20))) return 0;
    if (primary == kLangPortuguese && sub == 1) return 0;
    return 2;
}

std::vector<SupportRow> supportRows(int region) {
    std::vector<SupportRow> rows;
    if (region < 0 || region >= kRegionCount) return rows;
    for (const RegionRow& row : kRows)
        if (row.values[region] != 0) rows.push_back({row.label, row.values[region]});
    return rows;
}

std::uint32_t regionNameString(int region) {
    if (region < 0 || region >= kRegionCount) return 0;
    return kRegionNames[region];
}

}  // namespace props
