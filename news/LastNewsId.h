#pragma once

#include <optional>
#include <string>

#include "news/NewsId.h"
#include "util/ProgramConfig.h"

namespace zolt {

inline constexpr char kLastNewsIdOpenTag[] = "<%%LastNewsId%%>";
inline constexpr char kLastNewsIdCloseTag[] = "<%%/LastNewsId%%>";

// The stored id in a plain settings text; nothing without the element or when
// what it holds is not a news id.
std::optional<NewsId> LastNewsIdFromText(const std::string& plain);

// The settings text, rebuilt with CR LF after every line, with the element
// set to `id`. The element found by
// LastNewsIdFromText is replaced where it stands and the rest of its line is
// kept; a text without the element gets it as a line of its own at the end.
std::string TextWithLastNewsId(const std::string& plain, const NewsId& id);

// The id stored in "dbsettings.dat" of config.baseDir; nothing when the
// file is missing or holds no id. When the program may not write its folder
// (ProgramFolderWritable), the id this user stored in the brand's state file
// counts too: the higher of the two is the answer.
std::optional<NewsId> ReadLastNewsId(const ProgramConfig& config);

// Stores `id` as the last news read, in "dbsettings.dat", or, when the
// program may not write its folder, in the state file named after the
// brand's BranderCode in config.stateDir (see StateFileName). The highest
// id read is kept: when ReadLastNewsId already gives `id` or a higher one,
// nothing is written. Nothing is written either when the settings file is
// missing or does not decrypt cleanly, since rewriting a garbled text would
// destroy the brand. The new file replaces the old one by a rename, so a
// crash at any moment leaves one of the two complete. True when `id` or a
// higher one is stored.
bool WriteLastNewsId(const ProgramConfig& config, const NewsId& id);

}  // namespace zolt
