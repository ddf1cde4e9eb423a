// A host of the installed library: the calls of the README's C++ example, checked.
#include <velmora/dispatch.h>
#include <velmora/dolva.h>

int main() {
  velmora::Dolva d(velmora::FixedServices(velmora::MakeDate({2026, 12, 5})));

  velmora::Currency amount = velmora::Currency::FromDouble(1234.5);
  velmora::Variant m = velmora::Variant::Missing();
  const std::u16string words = d.Letras(amount, m, m, m, m, m, m, m, m);
  if (words != u"UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N.") return 1;

  std::vector<velmora::Argument> args(2);
  args[0].value = velmora::Variant(u"7");
  args[1].name = u"iLen";
  args[1].value = velmora::Variant(std::int16_t{3});
  const velmora::Variant r = velmora::Invoke(d, u"StrZero", args);
  return r == velmora::Variant(u"007") ? 0 : 2;
}
