#include <velmora/dispatch.h>
#include <velmora/dolva.h>

int main() {
  velmora::Dolva d(velmora::FixedServices(velmora::MakeDate({2026, 12, 5})));
  std::vector<velmora::Argument> args(2);
  args[0].value = velmora::Variant(u"7");
  args[1].value = velmora::Variant(std::int16_t{3});
  const auto r = velmora::Invoke(d, u"StrZero", args);
  return r == velmora::Variant(u"007") ? 0 : 1;
}
