#pragma once

#include <array>
#include <span>
#include <string>

#include "branding/BrandSettings.h"
#include "branding/SettingsTag.h"

namespace zolt {

// One single-valued key of the settings text and the field that receives it.
struct SettingsKey {
    const char* name;
    // nullptr for "MakeMoneyButton", which only sets a caption.
    std::string BrandSettingsRecord::*field;
};

// The single-valued keys in the order the one forward reader takes them; a
// file must hold its elements in this order, followed by the three lists.
std::span<const SettingsKey> SettingsKeyTable();

inline constexpr const char* kMakeMoneyButtonKey = "MakeMoneyButton";
// The numbered lists, read after the keys above in this order.
inline constexpr std::array<const char*, 3> kSettingsListKeys = {"Welcome", "Banner", "Link"};
inline constexpr int kMaxListEntries = 16;
// Lives in the same file but is read and rewritten by the news bookkeeping.
inline constexpr const char* kLastNewsIdKey = "LastNewsId";

// "<%%Welcome3%%>" ... "<%%/Welcome3%%>" for ("Welcome", 3).
SettingsTag ListEntryTag(const std::string& list, int number);

}  // namespace zolt
