// The plainest fast wording of an amount with Letras's default options: the words of every group
// of three digits looked up in a table built once and appended to a string. It is the yardstick
// of BM_LetrasFloor; a test holds it to the same text as Letras.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "velmora/currency.h"

namespace velmora::bench {

// The capital words of 0 to 999, each ending in one blank; 0 has none.
inline const std::array<std::u16string, 1000>& FloorGroups() {
  static const std::array<std::u16string, 1000> groups = [] {
    const char16_t* units[] = {u"",       u"UN ",   u"DOS ",   u"TRES ", u"CUATRO ",
                               u"CINCO ", u"SEIS ", u"SIETE ", u"OCHO ", u"NUEVE "};
    const char16_t* tens[] = {u"",           u"DIEZ ",    u"VEINTE ",  u"TREINTA ", u"CUARENTA ",
                              u"CINCUENTA ", u"SESENTA ", u"SETENTA ", u"OCHENTA ", u"NOVENTA "};
    const char16_t* teens[] = {u"DIEZ ",      u"ONCE ",      u"DOCE ",           u"TRECE ",
                               u"CATORCE ",   u"QUINCE ",    u"DIECIS\u00C9IS ", u"DIECISIETE ",
                               u"DIECIOCHO ", u"DIECINUEVE "};
    const char16_t* hundreds[] = {u"",
                                  u"CIENTO ",
                                  u"DOSCIENTOS ",
                                  u"TRESCIENTOS ",
                                  u"CUATROCIENTOS ",
                                  u"QUINIENTOS ",
                                  u"SEISCIENTOS ",
                                  u"SETECIENTOS ",
                                  u"OCHOCIENTOS ",
                                  u"NOVECIENTOS "};
    std::array<std::u16string, 1000> out;
    for (int n = 1; n < 1000; ++n) {
      const int h = n / 100, t = n / 10 % 10, u = n % 10;
      std::u16string& w = out[static_cast<std::size_t>(n)];
      if (n == 1) w = u"UN ";
      else if (n == 100) w = u"CIEN ";
      else {
        w = hundreds[h];
        if (u == 0) w += tens[t];
        else if (t == 1) w += teens[u];
        else if (t == 2) w += std::u16string(u"VEINTI") + units[u];
        else if (t >= 3) w += std::u16string(tens[t]) + u" Y " + units[u];
        else w += units[u];
      }
    }
    return out;
  }();
  return groups;
}

// Letras(amount) with every option at its default, for 0 <= amount < 10^12.
inline std::u16string LetrasFloor(Currency amount) {
  const auto& groups = FloorGroups();
  const std::int64_t whole = amount.scaled() / Currency::kScale;
  const auto cents = static_cast<int>(amount.scaled() % Currency::kScale / 100);
  const auto g1 = static_cast<std::size_t>(whole / 1'000'000'000);
  const auto g2 = static_cast<std::size_t>(whole / 1'000'000 % 1000);
  const auto g3 = static_cast<std::size_t>(whole / 1000 % 1000);
  const auto g4 = static_cast<std::size_t>(whole % 1000);
  std::u16string out;
  out.reserve(128);
  if (g1 != 0) out.append(groups[g1]).append(u"MIL MILLONES ");
  if (g2 != 0) out.append(groups[g2]).append(g2 == 1 ? u"MILLON " : u"MILLONES ");
  if (g3 != 0) out.append(groups[g3]).append(u"MIL ");
  out.append(groups[g4]);
  out.append(whole == 1 ? u"PESO, " : whole == 1'000'000 ? u"DE PESOS, " : u"PESOS, ");
  out.push_back(static_cast<char16_t>(u'0' + cents / 10));
  out.push_back(static_cast<char16_t>(u'0' + cents % 10));
  out.append(u"/100 M.N.");
  return out;
}

}  // namespace velmora::bench
