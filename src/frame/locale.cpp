#include "velmora/locale.h"

namespace velmora {

LocaleData SpanishMexico() {
  LocaleData d;
  d.name = "es_MX";
  d.spanish = true;
  d.decimal_mark = u'.';
  d.group_mark = u',';
  d.day_names = {u"domingo", u"lunes", u"martes", u"miércoles", u"jueves", u"viernes", u"sábado"};
  d.day_abbrevs = {u"dom", u"lun", u"mar", u"mié", u"jue", u"vie", u"sáb"};
  d.month_names = {u"enero", u"febrero", u"marzo",      u"abril",   u"mayo",      u"junio",
                   u"julio", u"agosto",  u"septiembre", u"octubre", u"noviembre", u"diciembre"};
  d.month_abbrevs = {u"ene", u"feb", u"mar",  u"abr", u"may", u"jun",
                     u"jul", u"ago", u"sept", u"oct", u"nov", u"dic"};
  d.am = u"a.\u00A0m.";
  d.pm = u"p.\u00A0m.";
  d.long_date_pattern = u"EEEE, d 'de' MMMM 'de' y";
  d.date_order = DateOrder::kDayMonthYear;
  d.date_separator = u'/';
  return d;
}

LocaleData EnglishUnitedStates() {
  LocaleData d;
  d.name = "en_US";
  d.spanish = false;
  d.decimal_mark = u'.';
  d.group_mark = u',';
  d.day_names = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                 u"Thursday", u"Friday", u"Saturday"};
  d.day_abbrevs = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  d.month_names = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                   u"July",    u"August",   u"September", u"October", u"November", u"December"};
  d.month_abbrevs = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                     u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  d.am = u"AM";
  d.pm = u"PM";
  d.long_date_pattern = u"EEEE, MMMM d, y";
  d.date_order = DateOrder::kMonthDayYear;
  d.date_separator = u'/';
  return d;
}

}  // namespace velmora
