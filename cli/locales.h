// Which locale the calls run in: --locale, else the environment's, each checked against ICU.
#pragma once

#include <optional>
#include <string>

namespace velmora::cli {

// The ICU name of a locale that ICU has data for, after canonicalisation ("en-us" and
// "en_US.UTF-8" give "en_US"); nullopt for one it does not know ("xx_YY", "C").
std::optional<std::string> KnownLocale(const std::string& name);

// Whether the locale's language is Spanish: its runtime errors are described in Spanish.
bool IsSpanish(const std::string& name);

// The environment variable the environment's locale comes from (LC_ALL, LC_TIME, then LANG, the
// first one set); "" when none is.
std::string LocaleVariable();

}  // namespace velmora::cli
