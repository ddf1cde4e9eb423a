"""Python values into every parameter type of the table, and every kind of value back out."""
import datetime
import decimal

import pytest

import velmora
from hostforms import AttributeForm

D = decimal.Decimal


class Whole:
    """A whole number of another library (as numpy's are): it has __index__, it is no int."""

    def __init__(self, n):
        self.n = n

    def __index__(self):
        return self.n


def error_number(call):
    with pytest.raises(velmora.Error) as raised:
        call()
    return raised.value.number


# (method, arguments, expected result): the value given for the parameter under test first.
INTO_TYPED_PARAMETERS = [
    # Byte: Derecho(nPosicion, sDerechos)
    ("Derecho", (2, "0011"), True),
    ("Derecho", ("3", "0011"), False),
    ("Derecho", (2.5, "0011"), True),  # rounded half to even: 2
    ("Derecho", (D("255"), "1" * 255), True),
    # Integer: NumRomano(Valor_1_a_3999), Centra_Textos(Texto, Longitud)
    ("NumRomano", (1994,), "MCMXCIV"),
    ("NumRomano", ("1994",), "MCMXCIV"),
    ("NumRomano", (3999.4,), "MMMCMXCIX"),
    ("NumRomano", (Whole(14),), "XIV"),
    ("Centra_Textos", ("abc", 9), "   abc   "),
    ("Centra_Textos", ("abc", True), "abc"),  # True is -1
    # Long: Seg2Hrs(Segundos)
    ("Seg2Hrs", (5400,), "01:30:00"),
    ("Seg2Hrs", (100_000,), "27:46:40"),
    ("Seg2Hrs", (D("5400"),), "01:30:00"),
    # Currency: DecBin(Numero), Letras(Cantidad)
    ("DecBin", (10,), "1010"),
    ("DecBin", (D("10.5"),), "1011"),
    ("DecBin", (10.5,), "1011"),
    ("DecBin", ("10.5",), "1011"),
    ("DecBin", (2**40,), "1" + "0" * 40),
    ("Letras", (D("1234.50"),), "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."),
    ("Letras", (1234.5,), "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."),
    ("Letras", (D("1234.499999"),), "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."),
    # Date: sDias(dFecha, bLenguaje, bLarCor), DiasFechas(FecIni, FecFin)
    ("sDias", (datetime.date(2009, 3, 15), True, True), "Domingo"),
    ("sDias", (datetime.datetime(2009, 3, 15, 23, 59, 59), True, True), "Domingo"),
    ("sDias", ("15/03/2009", True, True), "Domingo"),
    ("DiasFechas", (datetime.date(2009, 3, 15), datetime.date(2010, 1, 1)), D(292)),
    # Text: StrZero(sDat, iLen), Encripta(Campo)
    ("StrZero", ("7", 3), "007"),
    ("StrZero", (7, 3), "007"),
    ("StrZero", (D("7.5"), 4), "07.5"),
    ("StrZero", (True, 5), "0True"),
    # Boolean: Saludos(bFecha, bHora), sDias(dFecha, bLenguaje, bLarCor)
    ("sDias", (datetime.date(2009, 3, 15), False, True), "Sunday"),
    ("sDias", (datetime.date(2009, 3, 15), 0, 1), "Sunday"),
    ("sDias", (datetime.date(2009, 3, 15), "Verdadero", "Falso"), "Dom."),
    ("Saludos", (True, False), "Buenas Tardes, domingo 15-mar-2009."),
    # Variant: Bisiesto(Año)
    ("Bisiesto", (2024,), True),
    ("Bisiesto", ("2023",), False),
    ("Bisiesto", (D("2000"),), True),
    ("Bisiesto", (1900.0,), True),  # every fourth year
]


@pytest.mark.parametrize("method, args, expected", INTO_TYPED_PARAMETERS)
def test_python_values_convert_to_the_parameter_type(d, method, args, expected):
    result = getattr(d, method)(*args)
    assert result == expected
    assert type(result) is type(expected)


# (method, arguments, error): values a parameter type cannot take.
REFUSED = [
    ("Derecho", (300, "1"), 6),  # Byte
    ("Derecho", (-1, "1"), 6),
    ("NumRomano", (70_000,), 6),  # Integer
    ("NumRomano", (-32_769,), 6),
    ("Centra_Textos", ("abc", 2**31), 6),
    ("Seg2Hrs", (2**31,), 6),  # Long
    ("Seg2Hrs", (Whole(2**31),), 6),
    ("Seg2Hrs", (-(2**31) - 1,), 6),
    ("Seg2Hrs", (10**300,), 6),
    ("DecBin", (10**15,), 6),  # Currency: beyond 922 337 203 685 477.5807
    ("DecBin", (D("1E+20"),), 6),
    ("DecBin", (D("NaN"),), 6),
    ("DecBin", (D("-Infinity"),), 6),
    ("DecBin", (float("inf"),), 6),
    ("DecBin", ("diez",), 13),
    ("DecBin", (None,), 94),
    ("sDias", (datetime.date(99, 12, 31), True, True), 6),  # Date before year 100
    ("sDias", ("ayer", True, True), 13),
    ("sDias", (None, True, True), 94),
    ("StrZero", (None, 3), 94),  # Text
    ("StrZero", (object(), 3), 13),
    ("Saludos", ("quizá", True), 13),  # Boolean
    ("Limpia_Textos", ("txt", None), 424),  # Object: Nothing
    ("Limpia_Textos", ("txt", "frmAlta"), 424),
    ("Bisiesto", (10**20,), 6),  # Variant: an int no variant holds
]


@pytest.mark.parametrize("method, args, number", REFUSED)
def test_values_a_parameter_cannot_take_raise_the_runtime_error(d, method, args, number):
    assert error_number(lambda: getattr(d, method)(*args)) == number


# Results of each type, as Python types.
RESULTS = [
    ("NumRomano", (4,), "IV"),  # String
    ("Bisiesto", (2024,), True),  # Boolean
    ("DiasMes", (2, 2024), 29),  # Integer
    ("Hrs2Seg", ("01:30:00",), 5400),  # Long
    ("Hrs2Seg", ("23:59:59",), 86399),
    ("DiasFechas", (datetime.date(2010, 1, 1), datetime.date(2009, 3, 15)), D(-292)),  # Currency
    ("HrsNumericas", ("01:30",), D("1.5")),
    ("HrsNumericas", ("00:20",), D("0.33")),
    ("CalcFDias", (15, 3, 2009), D(733849)),
    ("ReverseName", (), None),  # a Sub
]


@pytest.mark.parametrize("method, args, expected", RESULTS)
def test_results_come_back_as_python_types(d, method, args, expected):
    result = getattr(d, method)(*args)
    assert result == expected
    assert type(result) is type(expected)


FORM = object()  # stands for an object reference in the table below

# Every kind of variant, handed through ObjetosValor to a Python control's Value and read back.
THROUGH_A_VARIANT = [
    (velmora.Empty, velmora.Empty),
    (None, None),
    (True, True),
    (-5, -5),  # Integer
    (70_000, 70_000),  # Long
    (2**40, D(2**40)),  # beyond 32 bits: Currency
    (1.5, 1.5),  # Double
    (D("-0.0001"), D("-0.0001")),  # Currency
    (D("12.34567"), D("12.3457")),
    (D("0.00005"), D("0")),  # half to even
    (D("0.00015"), D("0.0002")),
    ("Ñandú 😀", "Ñandú 😀"),  # text beyond 16 bits: a surrogate pair inside
    ("\ud800", "\ud800"),  # a lone surrogate survives
    ("", ""),
    (datetime.date(2009, 3, 15), datetime.date(2009, 3, 15)),
    (datetime.datetime(2009, 3, 15, 17, 30, 5), datetime.datetime(2009, 3, 15, 17, 30, 5)),
    (datetime.datetime(2009, 3, 15), datetime.date(2009, 3, 15)),  # midnight: a date
    (datetime.time(17, 30), datetime.time(17, 30)),
    (datetime.date(1899, 12, 30), datetime.date(1899, 12, 30)),  # day 0
    (datetime.date(100, 1, 1), datetime.date(100, 1, 1)),
    (datetime.datetime(9999, 12, 31, 23, 59, 59), datetime.datetime(9999, 12, 31, 23, 59, 59)),
    (FORM, FORM),
]


@pytest.mark.parametrize("given, seen", THROUGH_A_VARIANT)
def test_every_variant_kind_reaches_python_and_back(d, given, seen):
    form = AttributeForm()
    if given is FORM:
        given = seen = form
    d.ObjetosValor("chk", given, form)
    value = form.chkActivo.Value
    assert type(value) is type(seen)
    assert value is seen or value == seen


def test_decimal_rounding_is_exact_beyond_double_precision(d):
    # 0.00005 + 1e-30 is just above the half: a double would have lost the difference.
    form = AttributeForm()
    d.ObjetosValor("chk", D("0.00005000000000000000000000001"), form)
    assert form.chkActivo.Value == D("0.0001")
    d.ObjetosValor("chk", D("922337203685477.5807"), form)
    assert form.chkActivo.Value == D("922337203685477.5807")
    d.ObjetosValor("chk", D("-922337203685477.5808"), form)
    assert form.chkActivo.Value == D("-922337203685477.5808")
    assert error_number(lambda: d.ObjetosValor("chk", D("922337203685477.58075"), form)) == 6


def test_a_zero_with_a_huge_exponent_is_zero(d):
    form = AttributeForm()
    d.ObjetosValor("chk", D("0E+999999999"), form)
    assert form.chkActivo.Value == D(0)


@pytest.mark.parametrize("text", ["hola", "Ñandu", "", "a\x00b", "x" * 1000])
def test_text_round_trips_through_the_library(d, text):
    assert d.DesEncripta(d.Encripta(text)) == text
    d.Name = text
    assert d.Name == text


def test_text_beyond_16_bits_is_held_as_a_surrogate_pair(d):
    d.Name = "ab😀"
    d.ReverseName()
    assert d.Name == "😀ba"
    assert d.Centra_Textos("😀", 4) == " 😀 "  # the pair counts as two units
