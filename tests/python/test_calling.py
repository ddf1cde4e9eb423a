"""Calling by name from Python: the surface, positional and keyword arguments, the calling
errors, left-out options, by-reference boxes and fields."""
import datetime
import inspect
import re
import subprocess
import threading

import pytest

import velmora
from hostforms import AttributeForm

LETRAS = "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."


def listing(cli):
    """The command line's list of the table: {"Dolva": [declaration, ...], "APIs": [...]}."""
    out = subprocess.run([cli, "--list"], check=True, capture_output=True, text=True).stdout
    table, current = {}, None
    for line in out.splitlines():
        if line.endswith(":") and not line.startswith(" "):
            current = table.setdefault(line[:-1], [])
        elif line.strip():
            current.append(line.strip())
    return table


def declared_name(declaration):
    return re.match(r"(?:Property (?:Get|Let|Set)|Sub|Function) (\w+)\(", declaration).group(1)


def test_every_entry_of_the_table_is_on_its_class_under_its_own_name(cli):
    table = listing(cli)
    assert set(table) == {"Dolva", "APIs"}
    for class_name, declarations in table.items():
        cls = getattr(velmora, class_name)
        for declaration in declarations:
            if declaration.startswith(("Property Let", "Property Set")):
                continue  # writing a field: the same attribute as its reading
            member = inspect.getattr_static(cls, declared_name(declaration))
            assert member.__doc__.splitlines()[0] == declaration


def test_the_classes_carry_nothing_but_the_table(cli):
    table = listing(cli)
    for class_name, declarations in table.items():
        names = {declared_name(x) for x in declarations}
        public = {n for n in vars(getattr(velmora, class_name)) if not n.startswith("_")}
        assert public == names


@pytest.mark.parametrize("spelling", ["Letras", "letras", "LETRAS", "lEtRaS"])
def test_names_ignore_case(d, spelling):
    assert getattr(d, spelling)(1234.5) == LETRAS
    assert hasattr(d, spelling)


SIGNATURES = [
    ("Letras", "(Cantidad, bEsDinero=True, sSimbolo='$', sQueMoneda='Peso', sEsMonedaNal='M.N.', "
     "bEnMayusculas=True, bParentesis=False, bMuestraImporte=False, bImporteAdentro=False)"),
    ("StrZero", "(sDat, iLen, sFill=velmora.Missing)"),
    ("Edad", "(FecIni, FecFin, ModoTexto='L', QuitaZeros=True, MuestraDias=False)"),
    ("Bisiesto", "(Año=velmora.Missing)"),
    ("ReverseName", "()"),
]


@pytest.mark.parametrize("method, signature", SIGNATURES)
def test_signatures_carry_the_table_names_and_defaults(d, method, signature):
    assert str(inspect.signature(getattr(d, method))) == signature


# (positional, keyword) arguments of Letras and the words they give.
ARGUMENTS = [
    ((1234.5,), {}, LETRAS),
    ((), {"Cantidad": 1234.5}, LETRAS),
    ((), {"cantidad": 1234.5}, LETRAS),
    ((15.5, False), {"bEnMayusculas": False}, "quince con 50"),
    ((15.5,), {"besdinero": False, "BENMAYUSCULAS": False}, "quince con 50"),
    ((15.5, velmora.Missing, velmora.Missing, "Euro"), {}, "QUINCE EUROS, 50/100 M.N."),
    ((15.5,), {"sQueMoneda": "Euro", "bParentesis": velmora.Missing}, "QUINCE EUROS, 50/100 M.N."),
]


@pytest.mark.parametrize("args, kwargs, expected", ARGUMENTS)
def test_positional_and_keyword_arguments(d, args, kwargs, expected):
    assert d.Letras(*args, **kwargs) == expected


def test_a_parameter_alias_is_accepted_by_name(d):
    assert d.Bisiesto(Año=2024) is True
    assert d.Bisiesto(ano=2023) is False
    assert d.DiasMes(2, Ano=2024) == 29


def number_of(call):
    with pytest.raises(velmora.Error) as raised:
        call()
    return raised.value.number


CALLING_ERRORS = [
    (lambda d: d.Letras(1, bEnMinusculas=True), 448),  # unknown keyword
    (lambda d: d.Letras(1, **{"": 1}), 448),
    (lambda d: d.StrZero("7"), 449),  # required argument left out
    (lambda d: d.StrZero("7", velmora.Missing), 449),
    (lambda d: d.Letras(), 449),
    (lambda d: d.Letras(bEnMayusculas=False), 449),
    (lambda d: d.StrZero("7", 3, "0", "x"), 450),  # too many
    (lambda d: d.ReverseName(1), 450),
    (lambda d: d.StrZero("7", 3, sdat="8"), 450),  # one parameter given twice
    (lambda d: d.StrZero("7", iLen=3, ILEN=4), 450),
    (lambda d: d.Letras(1, *[0] * 20), 450),
    (lambda d: d.Saludar(), 438),  # no such method
    (lambda d: d.Letras_, 438),
]


@pytest.mark.parametrize("call, number", CALLING_ERRORS)
def test_calling_errors(d, call, number):
    assert number_of(lambda: call(d)) == number


def test_an_unknown_name_is_an_attribute_error_too(d):
    assert not hasattr(d, "Saludar")
    assert getattr(d, "Saludar", "nada") == "nada"
    with pytest.raises(AttributeError):
        d.Saludar
    with pytest.raises(velmora.NoMemberError) as raised:
        d.Saludar = 1
    assert raised.value.number == 438


def test_a_method_of_one_class_refuses_the_other(d):
    with pytest.raises(TypeError):
        velmora.Dolva.Letras(velmora.APIs(), 1)
    with pytest.raises(TypeError):
        velmora.Dolva.Letras()
    with pytest.raises(TypeError):
        velmora.Dolva.Letras("not a Dolva", 1)


def test_apis_is_callable_on_the_class_and_on_an_instance():
    apis = velmora.APIs()
    assert velmora.APIs.TempDir() == apis.TempDir() == apis.tempdir()


# ---- by-reference boxes -----------------------------------------------------------------------

# (method, arguments with velmora.Ref boxes, expected result, expected box values)
BY_REFERENCE = [
    ("Fillhours", [velmora.Ref("")], "00:00", ["00:00"]),
    ("Fillhours", [velmora.Ref("0730")], "07:30", ["0730"]),  # not written back
    ("Edad", [datetime.date(1975, 8, 20), datetime.date(2009, 3, 15), velmora.Ref("c")],
     "33 a, 06 m, 27 d.", [None, None, "C"]),
    ("StrZero", ["7", 3, velmora.Ref("*")], "**7", [None, None, "*"]),
    ("Centra_Textos", [velmora.Ref("abc"), 9], "   abc   ", ["abc", None]),  # by value
    ("EsNumeroPar", [velmora.Ref(4)], True, [4]),
]


@pytest.mark.parametrize("method, args, result, boxes", BY_REFERENCE)
def test_ref_boxes_show_what_the_routine_wrote(d, method, args, result, boxes):
    assert getattr(d, method)(*args) == result
    for arg, expected in zip(args, boxes):
        if expected is not None:
            assert arg.value == expected
            assert type(arg.value) is type(expected)


def test_a_plain_value_is_passed_by_value(d):
    hours = ""
    assert d.Fillhours(hours) == "00:00"
    assert hours == ""


def test_a_box_the_routine_did_not_change_keeps_its_object(d):
    value = "*"
    box = velmora.Ref(value)
    d.StrZero("7", 3, box)
    assert box.value is value


def test_a_box_written_before_a_failure_shows_the_write(d):
    box = velmora.Ref("  txt ")
    with pytest.raises(velmora.Error) as raised:
        d.FechaValida("15/  /2009", box, AttributeForm())
    assert raised.value.number == 13
    assert box.value == "TXT"


def test_a_box_by_keyword(d):
    box = velmora.Ref("c")
    d.Edad(datetime.date(1975, 8, 20), datetime.date(2009, 3, 15), modotexto=box)
    assert box.value == "C"


def test_ref_basics():
    assert velmora.Ref().value is velmora.Empty
    box = velmora.Ref("x")
    box.value = 5
    assert repr(box) == "velmora.Ref(5)"
    assert velmora.Ref[str] is not None  # usable in annotations


# ---- fields -----------------------------------------------------------------------------------

INITIAL_FIELDS = [
    ("Control", None),
    ("Ap", None),
    ("Si_Password", False),
    ("Es_Supervisor", False),
    ("gsUserCode", ""),
    ("gsUserRights", ""),
    ("Version", ""),
    ("Systema", ""),
    ("Name", ""),
]


@pytest.mark.parametrize("field, initial", INITIAL_FIELDS)
def test_fields_start_empty(d, field, initial):
    assert getattr(d, field) == initial
    assert type(getattr(d, field)) is type(initial)


# (field, value written, value read back)
WRITTEN_FIELDS = [
    ("Si_Password", True, True),
    ("Es_Supervisor", 1, True),
    ("Es_Supervisor", "Falso", False),
    ("gsUserCode", "ADMIN", "ADMIN"),
    ("gsUserRights", "0011", "0011"),
    ("Version", 2.5, "2.5"),
    ("Systema", velmora.Empty, ""),
    ("Name", "Ana Luz", "Ana Luz"),
    ("name", "Ana", "Ana"),
    ("CONTROL", None, None),
]


@pytest.mark.parametrize("field, written, read", WRITTEN_FIELDS)
def test_fields_read_back_what_was_written(d, field, written, read):
    setattr(d, field, written)
    assert getattr(d, field) == read
    assert getattr(d, field.lower()) == read


def test_object_fields_hold_the_python_object_itself(d):
    app = AttributeForm()
    d.Ap = app
    assert d.Ap is app
    d.ap = None
    assert d.Ap is None


FIELD_ERRORS = [
    ("Ap", "texto", 424),
    ("Si_Password", "quizá", 13),
    ("Name", None, 94),
    ("DebugID", 5, 438),  # read-only
    ("Apellido", "x", 438),
]


@pytest.mark.parametrize("field, value, number", FIELD_ERRORS)
def test_field_errors(d, field, value, number):
    assert number_of(lambda: setattr(d, field, value)) == number


def test_reverse_name_works_on_the_field(d):
    d.Name = "Ana Luz"
    d.ReverseName()
    assert d.Name == "zuL anA"


def test_instance_numbers_count_per_thread():
    numbers = []

    def create():
        numbers.extend(velmora.Dolva().DebugID for _ in range(3))

    thread = threading.Thread(target=create)
    thread.start()
    thread.join()
    assert numbers == [1, 2, 3]


def test_a_subclass_works_and_one_left_uninitialised_is_refused():
    class Mine(velmora.Dolva):
        pass

    assert Mine(locale="es_MX").Letras(1234.5) == LETRAS

    class Broken(velmora.Dolva):
        def __init__(self):
            pass

    with pytest.raises(TypeError):
        Broken().Letras(1)


def test_constructor_arguments_are_keyword_only():
    with pytest.raises(TypeError):
        velmora.Dolva("es_MX")
    with pytest.raises(TypeError):
        velmora.Dolva(now="2009-03-15")
    with pytest.raises(TypeError):
        velmora.Dolva(locale=5)
