#include "locales.h"

#include <unicode/uloc.h>

#include <cstdlib>
#include <cstring>

namespace velmora::cli {

namespace {

bool Available(const char* base) {
  const int32_t count = uloc_countAvailable();
  for (int32_t i = 0; i < count; ++i) {
    if (std::strcmp(uloc_getAvailable(i), base) == 0) return true;
  }
  return false;
}

std::optional<std::string> Canonical(const std::string& name) {
  char canonical[ULOC_FULLNAME_CAPACITY];
  char base[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  uloc_canonicalize(name.c_str(), canonical, sizeof canonical, &status);
  if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING) return std::nullopt;
  uloc_getBaseName(canonical, base, sizeof base, &status);
  if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING) return std::nullopt;
  if (base[0] == '\0' || !Available(base)) return std::nullopt;
  return std::string(canonical);
}

}  // namespace

std::optional<std::string> KnownLocale(const std::string& name) {
  if (name.empty() || name.size() >= ULOC_FULLNAME_CAPACITY) return std::nullopt;
  if (auto known = Canonical(name)) return known;
  // A POSIX name with a modifier ("es_ES.UTF-8@euro", "ca_ES@valencia") names its base locale.
  const std::size_t cut = name.find_first_of(".@");
  if (cut != std::string::npos && cut > 0) return Canonical(name.substr(0, cut));
  return std::nullopt;
}

bool IsSpanish(const std::string& name) {
  char language[ULOC_LANG_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLanguage(name.c_str(), language, sizeof language, &status);
  return U_SUCCESS(status) && std::strcmp(language, "es") == 0;
}

std::string LocaleVariable() {
  for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* v = std::getenv(var);
    if (v != nullptr && *v != '\0') return var;
  }
  return "";
}

}  // namespace velmora::cli
