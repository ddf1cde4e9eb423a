// The two public classes: Dolva (fields and routines) and APIs (system directories, restart).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "velmora/currency.h"
#include "velmora/date.h"
#include "velmora/services.h"
#include "velmora/variant.h"

namespace velmora {

// An instance of the public class Dolva. Its methods are the routines of every family; each is
// defined in its family's source and documented in the family's header. A routine that uses
// another calls it through the instance, as a host would, so an inner error fails the outer call.
class Dolva {
 public:
  // Numbers the instance from the per-thread instance counter (1 for the first on a thread).
  explicit Dolva(std::shared_ptr<const Services> services);

  // Public fields: storage the host shares through the instance.
  ObjectRef Control;  // cursor of the control walks
  ObjectRef Ap;
  bool Si_Password = false;
  bool Es_Supervisor = false;
  std::u16string gsUserCode;
  std::u16string gsUserRights;
  std::u16string Version;
  std::u16string Systema;
  std::u16string Name;

  std::int32_t DebugID() const { return debug_id_; }
  const Services& services() const { return *services_; }
  const LocaleData& locale() const { return services_->locale; }

  // Text and numbers.
  void ReverseName();
  std::u16string Centra_Textos(const std::u16string& Texto, std::int16_t Longitud);
  std::u16string StrZero(const std::u16string& sDat, std::int16_t iLen, Variant& sFill);
  std::u16string Encripta(const std::u16string& Campo);
  std::u16string DesEncripta(const std::u16string& Campo);
  std::u16string DecBin(Currency Numero);
  std::u16string DecOct(Currency Numero);
  std::u16string DecHex(const std::u16string& xNum3);
  std::u16string BinDec(const std::u16string& xNum2);
  std::u16string BinOct(const std::u16string& xNum);
  std::u16string BinHex(const std::u16string& xNum);
  std::u16string OctBin(const std::u16string& xNum);
  std::u16string HexDec(const std::u16string& xNum5);
  std::u16string HexBin(const std::u16string& xNum);
  bool EsNumeroPar(std::int16_t& Num);
  std::u16string Letras(Currency& Cantidad, Variant& bEsDinero, Variant& sSimbolo,
                        Variant& sQueMoneda, Variant& sEsMonedaNal, Variant& bEnMayusculas,
                        Variant& bParentesis, Variant& bMuestraImporte, Variant& bImporteAdentro);
  std::u16string NumRomano(std::int16_t& Valor_1_a_3999);

  // Dates and times.
  bool Bisiesto(Variant& Anio);
  std::int16_t DiasMes(std::int16_t& Mes, std::int16_t& Ano);
  std::u16string Lapso(Variant& FecIni, Variant& FecFin);
  std::int32_t Hrs2Seg(Variant& Horas);
  std::u16string Seg2Hrs(std::int32_t& Segundos);
  std::u16string Fillhours(std::u16string& vhours);
  std::u16string SumaHoras(Variant& Hora1, Variant& Hora2);
  std::u16string RestaHoras(Variant& Hora1, Variant& Hora2);
  bool MasDeUnDia(std::int32_t& Segundos);
  Currency DiasFechas(Date& FecIni, Date& FecFin);
  Currency CalcFDias(Currency& D, Currency& M, Currency& y);
  std::u16string Edad(Date& FecIni, Date& FecFin, std::u16string& ModoTexto, bool& QuitaZeros,
                      bool& MuestraDias);
  std::u16string FechaTrans(Variant& Nacio, Variant& FecActual);
  std::u16string Fechador(Variant& sFecha, Variant& sLenguaje, Variant& sCiudad,
                          Variant& bTextoLargo, Variant& bDispHora);
  std::u16string sDias(Date dFecha, bool& bLenguaje, bool& bLarCor);
  std::u16string Meses(Date dFecha, bool& bLenguaje, bool& bLarCor);
  std::u16string Saludos(bool& bFecha, bool& bHora);
  std::u16string FechaTxtBox(bool& Modo, std::u16string& Fecha);
  Currency HrsNumericas(std::u16string& sHrs);
  bool FechaValida(std::u16string& Fec, std::u16string& Cont, ObjectRef& Forma);

  // Forms and rights.
  void Efx(std::int16_t& Min, std::int16_t& Max, bool Modo, const ObjectRef& xForma);
  void Botones(bool& Opcion, const ObjectRef& Forma);
  void Objetos(std::u16string& Ctrl, bool& Var, const ObjectRef& xForma);
  void ObjetosValor(std::u16string& Ctrl, Variant& Var, const ObjectRef& xForma);
  void Limpia_Textos(const std::u16string& Campo, const ObjectRef& xForma);
  bool Derecho(std::uint8_t nPosicion, const std::u16string& sDerechos, bool& Mensaje,
               std::u16string& Modulo);

  // System information.
  void System(Variant& bModal, bool& Nuevo);
  std::u16string WinVer();
  std::u16string ProcVer();
  std::u16string SysDirectory();
  std::u16string WinDirectory();

  // Photographs.
  void Fotografia(std::u16string& Archivo, const ObjectRef& xForma);
  void NOFoto(const ObjectRef& xForma);
  std::u16string PhotoWay(std::u16string& Nombre, std::u16string& Ruta);

 private:
  std::shared_ptr<const Services> services_;
  std::int32_t debug_id_ = 0;
};

// The public class APIs: a global application object of the system-information family.
class APIs {
 public:
  explicit APIs(std::shared_ptr<const Services> services) : services_(std::move(services)) {}
  const Services& services() const { return *services_; }

  bool RebootSystem();
  std::u16string WinDir();
  std::u16string Sys32Dir();
  std::u16string SysDir();
  std::u16string TempDir();

 private:
  std::shared_ptr<const Services> services_;
};

}  // namespace velmora
