// What each operation of the public surface does, told to its users: the one place these texts
// live. The command line's help prints them, and the manual page and the README's table of
// operations are to come from here too. The tests run every example through the command line and
// hold it to the output written here.
#include <algorithm>
#include <array>

#include "velmora/coerce.h"
#include "velmora/dispatch.h"

namespace velmora {

namespace {

using P = std::u16string_view;

struct Entry {
  Interface iface;
  std::u16string_view name;
  OperationDoc doc;
};

// Fields. Each is read by name and written with "FIELD = value" in a script.
constexpr P kObjectValue[] = {u"el objeto que se guarda, o Empty para dejar el campo vacío"};
constexpr P kBoolValue[] = {u"el valor nuevo, True o False"};
constexpr P kTextValue[] = {u"el texto nuevo"};

// Routines.
constexpr P kSystem[] = {
    u"True: la llamada espera a que la ventana se cierre; False: regresa en seguida. Null cuenta "
    u"como False y un valor que no se convierte a Boolean da el error 13",
    u"True: la ventana de información del sistema; False: la ventana de presentación"};
constexpr P kCentra[] = {u"el texto que se centra; los blancos de sus extremos no cuentan",
                         u"el ancho del campo, en caracteres"};
constexpr P kEfx[] = {u"la altura menor, en twips", u"la altura mayor, en twips",
                      u"True: crece de Min a Max; False: se encoge de Max a Min",
                      u"la forma de la aplicación"};
constexpr P kBotones[] = {u"True habilita los botones, False los deshabilita",
                          u"la forma de la aplicación"};
constexpr P kObjetos[] = {
    u"las tres primeras letras de los nombres de los controles (sin importar mayúsculas)",
    u"True habilita los controles, False los deshabilita", u"la forma de la aplicación"};
constexpr P kObjetosValor[] = {
    u"las tres primeras letras de los nombres de los controles (sin importar mayúsculas)",
    u"el valor que recibe la propiedad \"Value\", tal como llega", u"la forma de la aplicación"};
constexpr P kLimpia[] = {
    u"el principio de los nombres de los controles, de cualquier largo; vacío escoge todos",
    u"la forma de la aplicación"};
constexpr P kStrZero[] = {
    u"el texto; los blancos de sus extremos se quitan", u"el largo del resultado, en caracteres",
    u"el carácter de relleno (cuenta el primero); si se omite, \"0\". Vacío, cuando hace falta "
    u"rellenar, da el error 5"};
constexpr P kCampo[] = {u"el texto"};
constexpr P kNumero[] = {u"el número; se redondea al entero par más cercano en las mitades"};
constexpr P kDecHex[] = {u"el número escrito como texto, con las marcas del idioma"};
constexpr P kBinario[] = {u"el número binario, como texto"};
constexpr P kOctal[] = {u"el número octal, como texto"};
constexpr P kHexa[] = {u"el número hexadecimal, como texto (mayúsculas o minúsculas)"};
constexpr P kNum[] = {u"el número entero, de -32768 a 32767"};
constexpr P kBisiesto[] = {
    u"el año; un texto se lee como número, Empty es el año 0 y Null da False. Si se omite, el "
    u"año de la fecha de hoy"};
constexpr P kDiasMes[] = {u"el mes, de 1 a 12", u"el año"};
constexpr P kLapso[] = {u"la fecha y hora en que empieza el lapso",
                        u"la fecha y hora en que termina"};
constexpr P kHoras[] = {u"la hora, como texto \"hh:mm:ss\" o como fecha con hora"};
constexpr P kSegundos[] = {u"la cantidad de segundos"};
constexpr P kVhours[] = {u"la hora tecleada; los dos últimos caracteres son los minutos"};
constexpr P kHora12[] = {u"la primera hora, \"hh:mm:ss\"", u"la segunda hora, \"hh:mm:ss\""};
constexpr P kDiasFechas[] = {u"la fecha inicial", u"la fecha final"};
constexpr P kCalcFDias[] = {u"el día", u"el mes, de 1 a 12 (se redondea)", u"el año"};
constexpr P kEdad[] = {
    u"la fecha de nacimiento, o la inicial", u"la fecha a la que se cuenta la edad",
    // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one meaning, written on two lines
    u"\"L\": palabras (Años, Meses, Días); \"C\": iniciales (a, m, d); \"N\": sólo números. "
    u"Otro valor se vuelve \"L\", también en la variable de quien llama",
    u"True: se omiten las partes que valen cero; False: aparecen todas (\"00 Meses\")",
    u"True: agrega entre paréntesis el total de días"};
constexpr P kFechaTrans[] = {
    u"la fecha de nacimiento",
    u"la fecha a la que se cuenta; si se omite o es anterior al nacimiento, hoy"};
constexpr P kFechador[] = {u"la fecha; si se omite o es la máscara vacía \"  /  /    \", la de hoy",
                           u"\"E\" (sólo la E mayúscula): español; cualquier otra letra: inglés",
                           u"el lugar al principio del encabezado; si se omite, \"México, D.F.\"",
                           u"True: la fecha larga; False: la corta",
                           u"True: agrega \" @ \" y la hora del reloj"};
constexpr P kNames[] = {u"la fecha", u"True: en español; False: en inglés",
                        u"True: el nombre completo; False: las tres primeras letras y \".\""};
constexpr P kSaludos[] = {u"True: agrega la fecha de hoy", u"True: agrega la hora"};
constexpr P kFechaTxtBox[] = {
    u"True: el primer día de la quincena (el 1 o el 15); False: el último (el 15 o el último "
    u"del mes)",
    u"la fecha tecleada, \"dd/mm/yyyy\"; vacía, la máscara vacía o algo que no es fecha se "
    u"vuelve la fecha de hoy, también en la variable de quien llama"};
constexpr P kSHrs[] = {u"la hora, \"hh:mm\""};
constexpr P kLetras[] = {
    u"el importe, de 0 a 999,999,999,999.9999",
    u"True: dinero (moneda, centavos sobre 100 y marca nacional); False: un número simple",
    u"el símbolo delante de la cifra de un importe de dinero",
    u"el nombre de la moneda; el plural agrega \"s\"",
    u"la marca después de los centavos",
    u"True: todo el resultado en mayúsculas, acentos incluidos",
    u"True: las palabras entre \"( \" y \" )\"",
    u"True: también la cifra, delante de las palabras",
    u"True, con paréntesis y cifra: la cifra dentro de los paréntesis"};
constexpr P kRomano[] = {u"el número, de 1 a 3999"};
constexpr P kFotografia[] = {u"el nombre con que se guardó la foto, sin extensión",
                             u"la forma de la aplicación, con un control de imagen \"Image1\""};
constexpr P kNOFoto[] = {u"la forma de la aplicación, con un control de imagen \"Image1\""};
constexpr P kFechaValida[] = {
    u"la fecha tecleada, \"dd/mm/yyyy\"",
    u"el principio de los nombres de los controles que reciben la fecha; vuelve sin blancos y "
    u"en mayúsculas a la variable de quien llama",
    u"la forma de la aplicación"};
constexpr P kDerecho[] = {
    u"el número del derecho; el 1 es el último carácter de la cadena",
    u"la cadena de derechos del usuario, un carácter por derecho (\"1\": concedido)",
    u"True: si el derecho falta, lo avisa en un cuadro de mensaje",
    u"el nombre del módulo para el aviso; si se omite, \" este Módulo \""};
constexpr P kPhotoWay[] = {u"el nombre con que se guarda la foto nueva",
                           u"la carpeta donde se guarda"};

// An example that needs a host form: the command line has none, so the call fails as it would
// for a host that passed no form.
constexpr std::u16string_view kNoForm = u"Error 424: Se requiere un objeto\n";

const Entry kEntries[] = {
    // Fields.
    {Interface::kDolva,
     u"Control",
     {u"Campo público: una referencia a un objeto. Los recorridos de los controles de una forma "
      u"(Botones, Objetos, ObjetosValor, Limpia_Textos y FechaValida) lo usan como cursor: un "
      u"recorrido que termina lo deja vacío y uno que falla lo deja en el control que falló. Se "
      u"lee y se reemplaza por referencia; en la línea de comandos no hay objetos y se lee "
      u"vacío (Nothing).",
      kObjectValue, u"velmora Control", u"Nothing\n"}},
    {Interface::kDolva,
     u"Ap",
     {u"Campo público: una referencia a un objeto de la aplicación, que ésta comparte a través "
      u"de la instancia. La biblioteca no lo lee.",
      kObjectValue, u"velmora Ap", u"Nothing\n"}},
    {Interface::kDolva,
     u"Si_Password",
     {u"Campo público: si la aplicación pide contraseña. Empieza en False; la biblioteca no lo "
      u"lee.",
      kBoolValue, u"printf 'Si_Password = True\\nSi_Password\\n' | velmora --script -", u"True\n"}},
    {Interface::kDolva,
     u"Es_Supervisor",
     {u"Campo público: si el usuario que entró es supervisor. Empieza en False; la biblioteca no "
      u"lo lee.",
      kBoolValue, u"velmora Es_Supervisor", u"False\n"}},
    {Interface::kDolva,
     u"gsUserCode",
     {u"Campo público: la clave del usuario que entró. Empieza vacío; la biblioteca no lo lee.",
      kTextValue, u"printf 'gsUserCode = \"ADM01\"\\ngsUserCode\\n' | velmora --script -",
      u"ADM01\n"}},
    {Interface::kDolva,
     u"gsUserRights",
     {u"Campo público: la cadena de derechos del usuario que entró, un carácter por derecho. La "
      u"biblioteca no lo lee: la aplicación lo pasa a Derecho como sDerechos.",
      kTextValue, u"printf 'gsUserRights = \"0011\"\\ngsUserRights\\n' | velmora --script -",
      u"0011\n"}},
    {Interface::kDolva,
     u"Version",
     {u"Campo público: la versión de la aplicación. Empieza vacío; la biblioteca no lo lee.",
      kTextValue, u"printf 'Version = \"2.1\"\\nVersion\\n' | velmora --script -", u"2.1\n"}},
    {Interface::kDolva,
     u"Systema",
     {u"Campo público: el nombre del sistema de la aplicación. Empieza vacío; la biblioteca no "
      u"lo lee.",
      kTextValue, u"printf 'Systema = \"Nómina\"\\nSystema\\n' | velmora --script -", u"Nómina\n"}},
    {Interface::kDolva,
     u"Name",
     {u"Campo público de texto. ReverseName lo invierte en su lugar; fuera de eso la biblioteca "
      u"no lo lee.",
      kTextValue, u"printf 'Name = \"Ana Luz\"\\nName\\n' | velmora --script -", u"Ana Luz\n"}},
    {Interface::kDolva,
     u"DebugID",
     {u"El número de la instancia: cada Dolva que se crea en un hilo toma el siguiente número de "
      u"un contador de ese hilo, desde 1. No cambia mientras la instancia vive y no se reutiliza.",
      {},
      u"velmora DebugID",
      u"1\n"}},

    // Text and numbers.
    {Interface::kDolva,
     u"ReverseName",
     {u"Invierte en su lugar el texto del campo Name: sus caracteres quedan en orden inverso (un "
      u"par sustituto cuenta como un carácter). No devuelve nada.",
      {},
      u"printf 'Name = \"Ana Luz\"\\nReverseName\\nName\\n' | velmora --script -",
      u"zuL anA\n"}},
    {Interface::kDolva,
     u"Centra_Textos",
     {u"Centra un texto en un ancho: lo pone entre dos márgenes iguales de blancos, cada uno la "
      u"mitad de lo que sobra, redondeada hacia abajo, así que con un sobrante impar el "
      u"resultado queda un carácter más corto que el ancho. Un texto tan ancho como el campo, o "
      u"más, se devuelve solo.",
      kCentra, u"velmora --json Centra_Textos abc 9", u"{\"result\": \"   abc   \"}\n"}},
    {Interface::kDolva,
     u"StrZero",
     {u"Rellena un texto por la izquierda hasta un largo, con ceros o con el carácter que se "
      u"indique. Un texto igual de largo o más se devuelve sin blancos en los extremos, nunca "
      u"recortado.",
      kStrZero, u"velmora StrZero 7 3", u"007\n"}},
    {Interface::kDolva,
     u"EsNumeroPar",
     {u"Dice si un número entero es par.", kNum, u"velmora EsNumeroPar 4", u"True\n"}},
    {Interface::kDolva,
     u"NumRomano",
     {u"Escribe un número de 1 a 3999 en números romanos. El 0 da el texto vacío y cualquier "
      u"otro valor se escribe con cifras, para que una forma nunca muestre un número romano "
      u"equivocado.",
      kRomano, u"velmora NumRomano 1994", u"MCMXCIV\n"}},
    {Interface::kDolva,
     u"Letras",
     {u"Escribe un importe con palabras en español, como lo imprimen las facturas y los cheques "
      u"en México: el nombre de la moneda, los centavos sobre 100 y la marca nacional, o un "
      u"número simple; en mayúsculas o minúsculas, entre paréntesis y con la cifra delante o "
      u"dentro de ellos. Los centavos en palabras son los dos primeros decimales, truncados, "
      u"mientras que la cifra redondea: un cheque nunca promete en palabras un centavo más del "
      u"importe. Un importe negativo da el error 13 y uno de 10^12 o más el error 6.",
      kLetras, u"velmora Letras 1234.5",
      u"UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N.\n"}},

    // Scrambling.
    {Interface::kDolva,
     u"Encripta",
     {u"Revuelve un texto de forma reversible: suma al código Windows-1252 de cada carácter un "
      u"desplazamiento fijo, uno para las posiciones impares y otro para las pares. DesEncripta "
      u"lo regresa. No es un cifrado, la llave es fija. Un carácter cuyo código más su "
      u"desplazamiento pasa de 255 da el error 5; el ASCII simple siempre cabe.",
      kCampo, u"velmora Encripta ABC", u"XŽZ\n"}},
    {Interface::kDolva,
     u"DesEncripta",
     {u"Regresa un texto revuelto por Encripta a su forma original, restando a cada código el "
      u"desplazamiento de su posición. Un carácter cuyo código es menor que su desplazamiento da "
      u"el error 5.",
      kCampo, u"velmora DesEncripta XŽZ", u"ABC\n"}},

    // Number bases.
    {Interface::kDolva,
     u"DecBin",
     {u"Escribe un importe en binario, dividiéndolo entre 2 hasta llegar a cero. Cero y los "
      u"importes negativos dan el texto vacío.",
      kNumero, u"velmora DecBin 10", u"1010\n"}},
    {Interface::kDolva,
     u"DecOct",
     {u"Escribe un número en octal, como complemento a dos de 32 bits (-1 da \"37777777777\"). "
      u"Fuera del intervalo de 32 bits con signo da el error 6.",
      kNumero, u"velmora DecOct 8", u"10\n"}},
    {Interface::kDolva,
     u"DecHex",
     {u"Lee un texto como número y lo escribe en hexadecimal con mayúsculas, como complemento a "
      u"dos de 32 bits. Un texto que no es número da el error 13; fuera de los 32 bits, el 6.",
      kDecHex, u"velmora DecHex 255", u"FF\n"}},
    {Interface::kDolva,
     u"BinDec",
     {u"El valor decimal de un número binario: cada carácter vale su cifra decimal (0 las letras "
      u"y los blancos) por 2 elevado a su distancia al final. Se calcula en doble precisión; "
      u"desde 10^15 se escribe en forma exponencial (\"1E+15\").",
      kBinario, u"velmora BinDec 1010", u"10\n"}},
    {Interface::kDolva,
     u"BinOct",
     {u"Escribe en octal un número binario, de tres en tres bits. Con más de 15 cifras binarias "
      u"significativas da el error 6, antes que devolver cifras que ya no corresponden.",
      kBinario, u"velmora BinOct 11111111", u"377\n"}},
    {Interface::kDolva,
     u"BinHex",
     {u"Escribe en hexadecimal un número binario, de cuatro en cuatro caracteres (los blancos "
      u"cuentan).",
      kBinario, u"velmora BinHex 11111", u"1F\n"}},
    {Interface::kDolva,
     u"OctBin",
     {u"Escribe en binario un número octal, tres bits por cifra; el resultado pierde los ceros a "
      u"la izquierda y lleva un blanco delante. Con más de cinco cifras octales significativas "
      u"da el error 6.",
      kOctal, u"velmora --json OctBin 12", u"{\"result\": \" 1010\"}\n"}},
    {Interface::kDolva,
     u"HexDec",
     {u"El valor decimal de un número hexadecimal.", kHexa, u"velmora HexDec FFFFFFFF",
      u"4294967295\n"}},
    {Interface::kDolva,
     u"HexBin",
     {u"Escribe en binario un número hexadecimal, cuatro bits por cifra, con los ceros a la "
      u"izquierda. Un carácter que no es cifra hexadecimal da el error 13.",
      kHexa, u"velmora HexBin 1F", u"00011111\n"}},

    // Calendar, ages and periods.
    {Interface::kDolva,
     u"Bisiesto",
     {u"Dice si un año es bisiesto por la regla de divisible entre 4, sin más, así que 1900 "
      u"cuenta como bisiesto. Un texto que no es número da el error 13.",
      kBisiesto, u"velmora Bisiesto 1900", u"True\n"}},
    {Interface::kDolva,
     u"DiasMes",
     {u"Los días de un mes de un año, con febrero según Bisiesto (febrero de 1900 tiene 29). Un "
      u"mes fuera de 1 a 12 da 0.",
      kDiasMes, u"velmora DiasMes 2 1900", u"29\n"}},
    {Interface::kDolva,
     u"CalcFDias",
     {u"El número de día gregoriano de una fecha dada por día, mes y año: días seguidos tienen "
      u"números seguidos (el 1 de enero de 2000 es el 730488). Un mes fuera de 1 a 12 da el "
      u"error 9.",
      kCalcFDias, u"velmora CalcFDias 1 1 2000", u"730488\n"}},
    {Interface::kDolva,
     u"DiasFechas",
     {u"Los días de calendario de una fecha a otra, sin tomar en cuenta la hora.", kDiasFechas,
      u"velmora DiasFechas '#2024-02-28#' '#2024-03-01#'", u"2\n"}},
    {Interface::kDolva,
     u"Edad",
     {u"La edad de una fecha a otra en años, meses y días, con palabras, iniciales o sólo "
      u"números, y si se pide el total de días. Conserva la aritmética de días con que se "
      u"hicieron los reportes que la usan, también en lapsos cortos o invertidos.",
      kEdad, u"velmora Edad '#1975-08-20#' '#2009-03-15#'", u"33 Años, 06 Meses, 27 Días.\n"}},
    {Interface::kDolva,
     u"FechaTrans",
     {u"El tiempo que ha pasado desde una fecha de nacimiento, en años, meses y días.", kFechaTrans,
      u"velmora FechaTrans '#1975-08-20#' '#2009-03-15#'", u"33 Años, 6 Meses, 26 Dias.\n"}},
    {Interface::kDolva,
     u"Lapso",
     {u"El lapso entre dos fechas con hora. Uno de un día o menos se escribe sólo como "
      u"\"hh:mm:ss Hrs.\"; uno mayor, con los años, meses y días transcurridos y \" y hh:mm:ss "
      u"Hrs.\". Un mes cuenta cuando se llega a su aniversario de la primera fecha.",
      kLapso, u"velmora Lapso '#2009-01-01 08:00:00#' '#2009-03-15 17:30:00#'",
      u"2 Meses, 14 Días y 09:30:00 Hrs.\n"}},

    // Clock time.
    {Interface::kDolva,
     u"Hrs2Seg",
     {u"Los segundos de una hora \"hh:mm:ss\". Los campos se toman de posiciones fijas del "
      u"texto, sin blancos y cortado a 8 caracteres: los caracteres 1 y 2 son las horas, 4 y 5 "
      u"los minutos y los dos últimos los segundos (por eso \"08:30\" da 30630). Una fecha da "
      u"los segundos de su hora del día; Null da el error 94.",
      kHoras, u"velmora Hrs2Seg 08:30:15", u"30615\n"}},
    {Interface::kDolva,
     u"Seg2Hrs",
     {u"Escribe una cantidad de segundos como \"hh:mm:ss\", sin reducir las horas a un día; un "
      u"número negativo lleva su signo en cada campo (-5400 da \"-2:-30:00\").",
      kSegundos, u"velmora Seg2Hrs 90000", u"25:00:00\n"}},
    {Interface::kDolva,
     u"Fillhours",
     {u"Completa una hora tecleada como \"hh:mm\". Un texto vacío queda \"00:00\", también en la "
      u"variable de quien llama; uno de un solo carácter da el error 5.",
      kVhours, u"velmora Fillhours 830", u"08:30\n"}},
    {Interface::kDolva,
     u"SumaHoras",
     {u"Suma dos horas \"hh:mm:ss\" y escribe el total como Seg2Hrs, sin reducirlo a un día.",
      kHora12, u"velmora SumaHoras 08:30:00 17:45:30", u"26:15:30\n"}},
    {Interface::kDolva,
     u"RestaHoras",
     {u"Resta la segunda hora de la primera y escribe la diferencia como Seg2Hrs: una "
      u"diferencia negativa lleva su signo en cada campo.",
      kHora12, u"velmora RestaHoras 08:30:00 17:45:30", u"-10:-16:-30\n"}},
    {Interface::kDolva,
     u"MasDeUnDia",
     {u"Dice si una cantidad de segundos llega a un día completo (86400).", kSegundos,
      u"velmora MasDeUnDia 86400", u"True\n"}},
    {Interface::kDolva,
     u"HrsNumericas",
     {u"Las horas decimales de una hora \"hh:mm\", con las centésimas de hora truncadas. Un "
      u"texto que no es fecha ni hora da 0.",
      kSHrs, u"velmora HrsNumericas 08:20", u"8.33\n"}},

    // Date wording.
    {Interface::kDolva,
     u"sDias",
     {u"El nombre del día de la semana de una fecha, en español o en inglés, completo o corto "
      u"(tres letras y punto).",
      kNames, u"velmora sDias '#2009-03-15#' True False", u"Dom.\n"}},
    {Interface::kDolva,
     u"Meses",
     {u"El nombre del mes de una fecha, en español o en inglés, completo o corto (tres letras y "
      u"punto).",
      kNames, u"velmora Meses '#2009-03-15#' False True", u"March\n"}},
    {Interface::kDolva,
     u"Fechador",
     {u"Un encabezado con lugar y fecha para cartas: en español, la fecha larga del idioma o "
      u"\"ddd, dd-mmm-yyyy\"; en inglés, con los nombres de sDias y Meses. Puede llevar la hora "
      u"del reloj. Una fecha que no se lee como fecha da el error 13.",
      kFechador, u"velmora --locale es_MX --now 2009-03-15T17:30:00 Fechador",
      u"México, D.F. a domingo, 15 de marzo de 2009\n"}},
    {Interface::kDolva,
     u"Saludos",
     {u"Un saludo según la hora del reloj (Buenos Días, Buenas Tardes, Buenas Noches), con la "
      u"fecha de hoy y la hora escritas como las escribe el idioma.",
      kSaludos, u"velmora --locale es_MX --now 2009-03-15T17:30:00 Saludos True True",
      u"Buenas Tardes, domingo 15-mar-2009 @ 05:30 p..\n"}},
    {Interface::kDolva,
     u"FechaTxtBox",
     {u"El primer o el último día de la quincena en que cae una fecha tecleada, como "
      u"\"dd/mm/yyyy\" para una caja de texto con máscara. Nunca falla por el texto: lo que no "
      u"es fecha se vuelve la de hoy.",
      kFechaTxtBox, u"velmora FechaTxtBox True 20/03/2009", u"15/03/2009\n"}},
    {Interface::kDolva,
     u"FechaValida",
     {u"Revisa una fecha tecleada en una forma como \"dd/mm/yyyy\", con años de 1930 a 2029. "
      u"Una fecha aceptada se corrige al último día del mes si hace falta y se escribe en el "
      u"\"Text\" de los controles cuyo nombre empieza con Cont; el resultado es False. Una "
      u"rechazada se explica en un cuadro de mensaje y el resultado es True. Necesita una forma "
      u"de la aplicación: en la línea de comandos no hay formas y la llamada falla con el error "
      u"424.",
      kFechaValida, u"velmora FechaValida 31/02/2009 txtFecha Empty", kNoForm}},

    // Host forms and rights.
    {Interface::kDolva,
     u"Efx",
     {u"Hace crecer o encoger la altura (\"Height\") de una forma en pasos de 5 twips entre dos "
      u"alturas, dejando correr los eventos de ventana después de cada paso. Necesita una forma "
      u"de la aplicación: en la línea de comandos no hay formas y la llamada falla con el error "
      u"424.",
      kEfx, u"velmora Efx 1000 1012 True Empty", kNoForm}},
    {Interface::kDolva,
     u"Botones",
     {u"Habilita o deshabilita (\"Enabled\") los controles de una forma cuyo nombre empieza con "
      u"\"cmd\" o \"btn\", sin importar mayúsculas. Necesita una forma de la aplicación: en la "
      u"línea de comandos no hay formas y la llamada falla con el error 424.",
      kBotones, u"velmora Botones True Empty", kNoForm}},
    {Interface::kDolva,
     u"Objetos",
     {u"Habilita o deshabilita (\"Enabled\") los controles de una forma cuyas tres primeras "
      u"letras son Ctrl; un Ctrl de otro largo no escoge ninguno. Un control escogido sin esa "
      u"propiedad da el error 438. Necesita una forma de la aplicación: en la línea de comandos "
      u"no hay formas y la llamada falla con el error 424.",
      kObjetos, u"velmora Objetos txt False Empty", kNoForm}},
    {Interface::kDolva,
     u"ObjetosValor",
     {u"Pone la propiedad \"Value\" de los controles de una forma cuyas tres primeras letras son "
      u"Ctrl. Un control escogido sin esa propiedad da el error 438. Necesita una forma de la "
      u"aplicación: en la línea de comandos no hay formas y la llamada falla con el error 424.",
      kObjetosValor, u"velmora ObjetosValor chk 1 Empty", kNoForm}},
    {Interface::kDolva,
     u"Limpia_Textos",
     {u"Vacía la propiedad \"Text\" de los controles de una forma cuyo nombre empieza con Campo. "
      u"Un control escogido sin esa propiedad da el error 438. Necesita una forma de la "
      u"aplicación: en la línea de comandos no hay formas y la llamada falla con el error 424.",
      kLimpia, u"velmora Limpia_Textos txt Empty", kNoForm}},
    {Interface::kDolva,
     u"Derecho",
     {u"Dice si un usuario tiene un derecho de su cadena de derechos: el derecho n es el "
      u"carácter n contando desde el final, y \"1\" lo concede. Si falta y se pide, lo avisa en "
      u"un cuadro de mensaje \"USUARIO SIN DERECHO DE ACCESO\". Un carácter escogido que no es "
      u"cifra da el error 13; una cadena de más de 255 caracteres, el 6.",
      kDerecho, u"velmora Derecho 2 0011", u"True\n"}},

    // System information.
    {Interface::kDolva,
     u"System",
     {u"Abre la ventana de información del sistema (versión, procesador, memoria y discos, "
      u"puestos al día por un temporizador) o la ventana de presentación, de forma modal o no. "
      u"Cada ventana es una sola por hilo. Donde no hay pantalla gráfica la llamada falla con el "
      u"error 5; en la línea de comandos, una ventana no modal mantiene vivo el proceso hasta que "
      u"se cierra. Con VELMORA_UNATTENDED=1 la ventana se abre, se carga y se cierra sola con su "
      u"propio botón, y lo dice en una línea, como en el ejemplo.",
      kSystem, u"VELMORA_UNATTENDED=1 velmora System",
      u"== FrmPCInfo (ventana) ==\n(desatendido, se cierra con: &Finalizar)\n"}},
    {Interface::kDolva,
     u"WinVer",
     {u"La versión del sistema operativo como \"mayor.menor.compilación\"; en Linux, la del "
      u"núcleo (\"6.1.0-18-amd64\" da \"6.1.0\").",
      {},
      u"velmora WinVer",
      u"6.1.0\n",
      true}},
    {Interface::kDolva,
     u"ProcVer",
     {u"El procesador: el número de procesadores, el tipo (386, 486 o 586) y la palabra de nivel "
      u"y revisión, escritos seguidos sin separador (1, 586 y 42 dan \"158642\").",
      {},
      u"velmora ProcVer",
      u"258610\n",
      true}},
    {Interface::kDolva,
     u"SysDirectory",
     {u"El directorio del sistema, sin separador al final; en Linux, el de las bibliotecas "
      u"compartidas.",
      {},
      u"velmora SysDirectory",
      u"/usr/lib\n"}},
    {Interface::kDolva,
     u"WinDirectory",
     {u"El directorio de Windows, sin separador al final; en Linux, el de la configuración del "
      u"sistema.",
      {},
      u"velmora WinDirectory",
      u"/etc\n"}},

    // Photographs.
    {Interface::kDolva,
     u"Fotografia",
     {u"Busca la foto guardada con un nombre en la carpeta fija de fotos (\"/Ponderix/Fotos/\" "
      u"en Linux) y la muestra en el control \"Image1\" de una forma; sin foto, lo vacía como "
      u"NOFoto. Necesita una forma de la aplicación: en la línea de comandos no hay formas y la "
      u"llamada falla con el error 424.",
      kFotografia, u"velmora Fotografia JUAN Empty", kNoForm}},
    {Interface::kDolva,
     u"NOFoto",
     {u"Quita la imagen del control \"Image1\" de una forma. Necesita una forma de la "
      u"aplicación: en la línea de comandos no hay formas y la llamada falla con el error 424.",
      kNOFoto, u"velmora NOFoto Empty", kNoForm}},
    {Interface::kDolva,
     u"PhotoWay",
     {u"Abre la ventana Cámara Fotográfica, en la que el usuario toma una foto de la cámara o "
      u"escoge un archivo de imagen, y devuelve la ruta de la foto en que quedó la ventana (vacía "
      u"si se cerró sin escoger). Donde no hay pantalla gráfica la llamada falla con el error 5. "
      u"Con VELMORA_UNATTENDED=1 la ventana se abre y se cierra sola con su cuadro de cierre, y "
      u"la ruta es la de la llamada anterior (vacía en la primera), como en el ejemplo.",
      kPhotoWay, u"VELMORA_UNATTENDED=1 velmora PhotoWay JUAN /Ponderix/Fotos",
      u"== FrmTomaFoto (ventana) ==\n(desatendido, se cierra con: el cuadro de cierre)\n\n"}},

    // APIs.
    {Interface::kAPIs,
     u"RebootSystem",
     {u"Pide reiniciar el equipo; True cuando la petición se aceptó. En Linux la pide a "
      u"systemd-logind por el bus del sistema, sin preguntar; rechazada o sin respuesta, False "
      u"(en el ejemplo no hay bus del sistema).",
      {},
      u"DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent velmora RebootSystem",
      u"False\n"}},
    {Interface::kAPIs,
     u"WinDir",
     {u"El directorio de Windows con un separador al final.", {}, u"velmora WinDir", u"/etc/\n"}},
    {Interface::kAPIs,
     u"Sys32Dir",
     {u"El directorio del sistema con un separador al final.",
      {},
      u"velmora Sys32Dir",
      u"/usr/lib/\n"}},
    {Interface::kAPIs,
     u"SysDir",
     {u"WinDir seguido de \"SYSTEM\" y un separador.", {}, u"velmora SysDir", u"/etc/SYSTEM/\n"}},
    {Interface::kAPIs,
     u"TempDir",
     {u"La carpeta de archivos temporales con un separador al final: en Windows, WinDir "
      u"seguido de \"TEMP\"; en Linux, la del proceso ($TMPDIR si es una carpeta, si no /tmp/).",
      {},
      u"velmora TempDir",
      u"/tmp/\n"}},
};

}  // namespace

const OperationDoc* Documentation(const Operation& op) {
  const auto* it = std::find_if(std::begin(kEntries), std::end(kEntries), [&](const Entry& e) {
    return e.iface == op.iface && SameName(e.name, op.name);
  });
  return it == std::end(kEntries) ? nullptr : &it->doc;
}

}  // namespace velmora
