// The public surface of Dolva and APIs, in slot order.
#include <algorithm>

#include "bind.h"
#include "velmora/dispatch.h"
#include "velmora/error.h"

namespace velmora {

namespace {

using T = ParamType;

constexpr DefaultValue B(bool b) { return {DefaultValue::Kind::kBoolean, b, {}}; }
constexpr DefaultValue S(std::u16string_view s) { return {DefaultValue::Kind::kText, false, s}; }

constexpr Param In(std::u16string_view n, T t) { return {n, t, false, false, {}, {}}; }
constexpr Param Ref(std::u16string_view n, T t) { return {n, t, true, false, {}, {}}; }
constexpr Param OptRef(std::u16string_view n, T t, DefaultValue d = {}) {
  return {n, t, true, true, d, {}};
}

// Fields are read and written through these; an object field is replaced by reference.
template <auto F>
Variant GetField(void* self, const Operation& /*op*/, Variant* const* /*args*/,
                 std::size_t /*count*/, bool* /*changed*/) {
  return Variant(static_cast<Dolva*>(self)->*F);
}
template <auto F>
Variant PutField(void* self_ptr, const Operation& /*op*/, Variant* const* args, std::size_t count,
                 bool* /*changed*/) {
  if (count == 0 || args[0] == nullptr || args[0]->IsMissing()) throw Error(err::kArgNotOptional);
  auto* self = static_cast<Dolva*>(self_ptr);
  auto& field = self->*F;
  const Variant& value = *args[0];
  using D = std::remove_cvref_t<decltype(field)>;
  if constexpr (std::is_same_v<D, ObjectRef>) {
    // Replacing a reference takes an object or nothing (an empty reference).
    if (value.IsEmpty()) field = nullptr;
    else if (value.is(VarType::kObject)) field = value.object();
    else throw Error(err::kObjectRequired);
  } else {
    field = bind_detail::Convert<D>(value, self->locale());
  }
  return {};
}

template <auto F>
constexpr Binding FieldGet() {
  return Binding{&GetField<F>, nullptr, nullptr, 0,
                 bind_detail::TypeOf<decltype(std::declval<Dolva&>().*F)>()};
}

template <auto F>
constexpr T FieldType() {
  return bind_detail::TypeOf<decltype(std::declval<Dolva&>().*F)>();
}

template <auto F>
struct FieldPut {
  static constexpr std::array<T, 1> kTypes{FieldType<F>()};
  static constexpr std::array<bool, 1> kByRef{false};
  static constexpr Binding Get() {
    return Binding{&PutField<F>, kTypes.data(), kByRef.data(), 1, T::kNone};
  }
};

constexpr Param kTextValue[] = {In(u"value", T::kText)};
constexpr Param kBoolValue[] = {In(u"value", T::kBoolean)};
constexpr Param kObjectValue[] = {In(u"value", T::kObject)};

constexpr Param kSystem[] = {OptRef(u"bModal", T::kVariant, B(true)),
                             OptRef(u"Nuevo", T::kBoolean, B(true))};
constexpr Param kCentra[] = {In(u"Texto", T::kText), In(u"Longitud", T::kInteger)};
constexpr Param kEfx[] = {Ref(u"Min", T::kInteger), Ref(u"Max", T::kInteger),
                          In(u"Modo", T::kBoolean), In(u"xForma", T::kObject)};
constexpr Param kBotones[] = {Ref(u"Opcion", T::kBoolean), In(u"Forma", T::kObject)};
constexpr Param kObjetos[] = {Ref(u"Ctrl", T::kText), Ref(u"Var", T::kBoolean),
                              In(u"xForma", T::kObject)};
constexpr Param kObjetosValor[] = {Ref(u"Ctrl", T::kText), Ref(u"Var", T::kVariant),
                                   In(u"xForma", T::kObject)};
constexpr Param kLimpia[] = {In(u"Campo", T::kText), In(u"xForma", T::kObject)};
constexpr Param kStrZero[] = {In(u"sDat", T::kText), In(u"iLen", T::kInteger),
                              OptRef(u"sFill", T::kVariant)};
constexpr Param kCampo[] = {In(u"Campo", T::kText)};
constexpr Param kNumero[] = {In(u"Numero", T::kCurrency)};
constexpr Param kXNum3[] = {In(u"xNum3", T::kText)};
constexpr Param kXNum2[] = {In(u"xNum2", T::kText)};
constexpr Param kXNum[] = {In(u"xNum", T::kText)};
constexpr Param kXNum5[] = {In(u"xNum5", T::kText)};
constexpr Param kNum[] = {Ref(u"Num", T::kInteger)};
constexpr Param kBisiesto[] = {{u"Año", T::kVariant, true, true, {}, u"Ano"}};
constexpr Param kDiasMes[] = {Ref(u"Mes", T::kInteger), Ref(u"Ano", T::kInteger)};
constexpr Param kLapso[] = {Ref(u"FecIni", T::kVariant), Ref(u"FecFin", T::kVariant)};
constexpr Param kHoras[] = {Ref(u"Horas", T::kVariant)};
constexpr Param kSegundos[] = {Ref(u"Segundos", T::kLong)};
constexpr Param kVhours[] = {Ref(u"vhours", T::kText)};
constexpr Param kHora12[] = {Ref(u"Hora1", T::kVariant), Ref(u"Hora2", T::kVariant)};
constexpr Param kDiasFechas[] = {Ref(u"FecIni", T::kDate), Ref(u"FecFin", T::kDate)};
constexpr Param kCalcFDias[] = {Ref(u"D", T::kCurrency), Ref(u"M", T::kCurrency),
                                Ref(u"y", T::kCurrency)};
constexpr Param kEdad[] = {
    Ref(u"FecIni", T::kDate), Ref(u"FecFin", T::kDate), OptRef(u"ModoTexto", T::kText, S(u"L")),
    OptRef(u"QuitaZeros", T::kBoolean, B(true)), OptRef(u"MuestraDias", T::kBoolean, B(false))};
constexpr Param kFechaTrans[] = {Ref(u"Nacio", T::kVariant), OptRef(u"FecActual", T::kVariant)};
constexpr Param kFechador[] = {
    OptRef(u"sFecha", T::kVariant), OptRef(u"sLenguaje", T::kVariant, S(u"E")),
    OptRef(u"sCiudad", T::kVariant), OptRef(u"bTextoLargo", T::kVariant, B(true)),
    OptRef(u"bDispHora", T::kVariant, B(false))};
constexpr Param kNames[] = {In(u"dFecha", T::kDate), Ref(u"bLenguaje", T::kBoolean),
                            Ref(u"bLarCor", T::kBoolean)};
constexpr Param kSaludos[] = {Ref(u"bFecha", T::kBoolean), Ref(u"bHora", T::kBoolean)};
constexpr Param kFechaTxtBox[] = {Ref(u"Modo", T::kBoolean), OptRef(u"Fecha", T::kText)};
constexpr Param kSHrs[] = {Ref(u"sHrs", T::kText)};
constexpr Param kLetras[] = {Ref(u"Cantidad", T::kCurrency),
                             OptRef(u"bEsDinero", T::kVariant, B(true)),
                             OptRef(u"sSimbolo", T::kVariant, S(u"$")),
                             OptRef(u"sQueMoneda", T::kVariant, S(u"Peso")),
                             OptRef(u"sEsMonedaNal", T::kVariant, S(u"M.N.")),
                             OptRef(u"bEnMayusculas", T::kVariant, B(true)),
                             OptRef(u"bParentesis", T::kVariant, B(false)),
                             OptRef(u"bMuestraImporte", T::kVariant, B(false)),
                             OptRef(u"bImporteAdentro", T::kVariant, B(false))};
constexpr Param kRomano[] = {Ref(u"Valor_1_a_3999", T::kInteger)};
constexpr Param kFotografia[] = {Ref(u"Archivo", T::kText), In(u"xForma", T::kObject)};
constexpr Param kNOFoto[] = {In(u"xForma", T::kObject)};
constexpr Param kFechaValida[] = {Ref(u"Fec", T::kText), Ref(u"Cont", T::kText),
                                  Ref(u"Forma", T::kObject)};
constexpr Param kDerecho[] = {In(u"nPosicion", T::kByte), In(u"sDerechos", T::kText),
                              OptRef(u"Mensaje", T::kBoolean, B(false)),
                              OptRef(u"Modulo", T::kText)};
constexpr Param kPhotoWay[] = {Ref(u"Nombre", T::kText), Ref(u"Ruta", T::kText)};

constexpr int kNone[] = {0};
constexpr std::span<const int> None() { return {kNone, 0}; }
constexpr int kE5[] = {5};
constexpr int kE6[] = {6};
constexpr int kE13[] = {13};
constexpr int kE5_6[] = {5, 6};
constexpr int kE6_13[] = {6, 13};
constexpr int kE6_9[] = {6, 9};
constexpr int kE5_6_13_94[] = {5, 6, 13, 94};
constexpr int kE6_13_94[] = {6, 13, 94};
// The control walks: 424 and 438 from what is no form or a control without the property, 13
// (and 6 for a value the property's range cannot hold) from a host property of another kind.
constexpr int kE13_424_438[] = {13, 424, 438};
constexpr int kE6_13_424_438[] = {6, 13, 424, 438};
// Fotografia, as the walks, and 5 for a photo folder the disk fails to list.
constexpr int kE5_13_424_438_481[] = {5, 13, 424, 438, 481};
// A routine that must show a box fails with 5 when the host handed in no message box.
constexpr int kE5_6_13[] = {5, 6, 13};
constexpr int kE5_6_13_424_438[] = {5, 6, 13, 424, 438};
constexpr int kE5_13_94[] = {5, 13, 94};

constexpr Operation Field(std::u16string_view name, Kind kind, T type,
                          std::span<const Param> params, Binding b) {
  return {
      Interface::kDolva, kind, name, kind == Kind::kPropGet ? type : T::kNone, params, None(), b};
}

constexpr Operation M(std::u16string_view name, T result, std::span<const Param> params,
                      std::span<const int> errors, Binding b) {
  return {Interface::kDolva, Kind::kMethod, name, result, params, errors, b};
}

constexpr Operation Api(std::u16string_view name, T result, Binding b) {
  return {Interface::kAPIs, Kind::kMethod, name, result, {}, None(), b};
}

// Each field is a reading and a writing slot, in the order of the fields.
#define VELMORA_FIELD(name, type, put_kind, value_params)               \
  Field(u## #name, Kind::kPropGet, type, {}, FieldGet<&Dolva::name>()), \
      Field(u## #name, put_kind, type, value_params, FieldPut<&Dolva::name>::Get())

const Operation kSurface[] = {
    VELMORA_FIELD(Control, T::kObject, Kind::kPropPutRef, kObjectValue),
    VELMORA_FIELD(Ap, T::kObject, Kind::kPropPutRef, kObjectValue),
    VELMORA_FIELD(Si_Password, T::kBoolean, Kind::kPropPut, kBoolValue),
    VELMORA_FIELD(Es_Supervisor, T::kBoolean, Kind::kPropPut, kBoolValue),
    VELMORA_FIELD(gsUserCode, T::kText, Kind::kPropPut, kTextValue),
    VELMORA_FIELD(gsUserRights, T::kText, Kind::kPropPut, kTextValue),
    VELMORA_FIELD(Version, T::kText, Kind::kPropPut, kTextValue),
    VELMORA_FIELD(Systema, T::kText, Kind::kPropPut, kTextValue),
    VELMORA_FIELD(Name, T::kText, Kind::kPropPut, kTextValue),
    {Interface::kDolva, Kind::kPropGet, u"DebugID", T::kLong, {}, None(), Bind<&Dolva::DebugID>()},
    M(u"ReverseName", T::kNone, {}, None(), Bind<&Dolva::ReverseName>()),
    M(u"System", T::kNone, kSystem, kE5_13_94, Bind<&Dolva::System>()),
    M(u"WinVer", T::kText, {}, None(), Bind<&Dolva::WinVer>()),
    M(u"ProcVer", T::kText, {}, None(), Bind<&Dolva::ProcVer>()),
    M(u"SysDirectory", T::kText, {}, None(), Bind<&Dolva::SysDirectory>()),
    M(u"WinDirectory", T::kText, {}, None(), Bind<&Dolva::WinDirectory>()),
    M(u"Centra_Textos", T::kText, kCentra, None(), Bind<&Dolva::Centra_Textos>()),
    M(u"Efx", T::kNone, kEfx, kE6_13_424_438, Bind<&Dolva::Efx>()),
    M(u"Botones", T::kNone, kBotones, kE13_424_438, Bind<&Dolva::Botones>()),
    M(u"Objetos", T::kNone, kObjetos, kE13_424_438, Bind<&Dolva::Objetos>()),
    M(u"ObjetosValor", T::kNone, kObjetosValor, kE6_13_424_438, Bind<&Dolva::ObjetosValor>()),
    M(u"Limpia_Textos", T::kNone, kLimpia, kE13_424_438, Bind<&Dolva::Limpia_Textos>()),
    M(u"StrZero", T::kText, kStrZero, kE5_6_13_94, Bind<&Dolva::StrZero>()),
    M(u"Encripta", T::kText, kCampo, kE5, Bind<&Dolva::Encripta>()),
    M(u"DesEncripta", T::kText, kCampo, kE5, Bind<&Dolva::DesEncripta>()),
    M(u"DecBin", T::kText, kNumero, None(), Bind<&Dolva::DecBin>()),
    M(u"DecOct", T::kText, kNumero, kE6, Bind<&Dolva::DecOct>()),
    M(u"DecHex", T::kText, kXNum3, kE6_13, Bind<&Dolva::DecHex>()),
    M(u"BinDec", T::kText, kXNum2, kE6, Bind<&Dolva::BinDec>()),
    M(u"BinOct", T::kText, kXNum, kE6_13, Bind<&Dolva::BinOct>()),
    M(u"BinHex", T::kText, kXNum, kE6_13, Bind<&Dolva::BinHex>()),
    M(u"OctBin", T::kText, kXNum, kE6_13, Bind<&Dolva::OctBin>()),
    M(u"HexDec", T::kText, kXNum5, kE6_13, Bind<&Dolva::HexDec>()),
    M(u"HexBin", T::kText, kXNum, kE13, Bind<&Dolva::HexBin>()),
    M(u"EsNumeroPar", T::kBoolean, kNum, None(), Bind<&Dolva::EsNumeroPar>()),
    M(u"Bisiesto", T::kBoolean, kBisiesto, kE6_13, Bind<&Dolva::Bisiesto>()),
    M(u"DiasMes", T::kInteger, kDiasMes, None(), Bind<&Dolva::DiasMes>()),
    M(u"Lapso", T::kText, kLapso, kE5_6_13_94, Bind<&Dolva::Lapso>()),
    M(u"Hrs2Seg", T::kLong, kHoras, kE6_13_94, Bind<&Dolva::Hrs2Seg>()),
    M(u"Seg2Hrs", T::kText, kSegundos, None(), Bind<&Dolva::Seg2Hrs>()),
    M(u"Fillhours", T::kText, kVhours, kE5_6, Bind<&Dolva::Fillhours>()),
    M(u"SumaHoras", T::kText, kHora12, kE6_13_94, Bind<&Dolva::SumaHoras>()),
    M(u"RestaHoras", T::kText, kHora12, kE6_13_94, Bind<&Dolva::RestaHoras>()),
    M(u"MasDeUnDia", T::kBoolean, kSegundos, None(), Bind<&Dolva::MasDeUnDia>()),
    M(u"DiasFechas", T::kCurrency, kDiasFechas, kE6, Bind<&Dolva::DiasFechas>()),
    M(u"CalcFDias", T::kCurrency, kCalcFDias, kE6_9, Bind<&Dolva::CalcFDias>()),
    M(u"Edad", T::kText, kEdad, kE5_6, Bind<&Dolva::Edad>()),
    M(u"FechaTrans", T::kText, kFechaTrans, kE6_13_94, Bind<&Dolva::FechaTrans>()),
    M(u"Fechador", T::kText, kFechador, kE6_13_94, Bind<&Dolva::Fechador>()),
    M(u"sDias", T::kText, kNames, kE6, Bind<&Dolva::sDias>()),
    M(u"Meses", T::kText, kNames, kE6, Bind<&Dolva::Meses>()),
    M(u"Saludos", T::kText, kSaludos, None(), Bind<&Dolva::Saludos>()),
    M(u"FechaTxtBox", T::kText, kFechaTxtBox, None(), Bind<&Dolva::FechaTxtBox>()),
    M(u"HrsNumericas", T::kCurrency, kSHrs, kE6, Bind<&Dolva::HrsNumericas>()),
    M(u"Letras", T::kText, kLetras, kE6_13_94, Bind<&Dolva::Letras>()),
    M(u"NumRomano", T::kText, kRomano, None(), Bind<&Dolva::NumRomano>()),
    M(u"Fotografia", T::kNone, kFotografia, kE5_13_424_438_481, Bind<&Dolva::Fotografia>()),
    M(u"NOFoto", T::kNone, kNOFoto, kE13_424_438, Bind<&Dolva::NOFoto>()),
    M(u"FechaValida", T::kBoolean, kFechaValida, kE5_6_13_424_438, Bind<&Dolva::FechaValida>()),
    M(u"Derecho", T::kBoolean, kDerecho, kE5_6_13, Bind<&Dolva::Derecho>()),
    M(u"PhotoWay", T::kText, kPhotoWay, kE5, Bind<&Dolva::PhotoWay>()),
    Api(u"RebootSystem", T::kBoolean, Bind<&APIs::RebootSystem>()),
    Api(u"WinDir", T::kText, Bind<&APIs::WinDir>()),
    Api(u"Sys32Dir", T::kText, Bind<&APIs::Sys32Dir>()),
    Api(u"SysDir", T::kText, Bind<&APIs::SysDir>()),
    Api(u"TempDir", T::kText, Bind<&APIs::TempDir>()),
};

#undef VELMORA_FIELD

}  // namespace

std::span<const Operation> Surface() { return kSurface; }

}  // namespace velmora
