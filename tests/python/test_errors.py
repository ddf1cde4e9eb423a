"""Runtime errors as Python exceptions: number, description in the instance's language, text."""
import pickle

import pytest

import velmora
from conftest import NOW

# (call, number, Spanish description, English description)
ERRORS = [
    (lambda d: d.Encripta("ÿ"), 5, "Llamada a procedimiento o argumento no válidos",
     "Invalid procedure call or argument"),
    (lambda d: d.NumRomano(40_000), 6, "Desbordamiento", "Overflow"),
    (lambda d: d.StrZero(7, "tres"), 13, "No coinciden los tipos", "Type mismatch"),
    (lambda d: d.DecBin(None), 94, "Uso no válido de Null", "Invalid use of Null"),
    (lambda d: d.Limpia_Textos("txt", None), 424, "Se requiere un objeto", "Object required"),
    (lambda d: d.Limpia_Textos("txt", object()), 438,
     "El objeto no admite esta propiedad o método",
     "Object doesn't support this property or method"),
    (lambda d: d.Letras(1, bNada=1), 448, "No se encontró el argumento con nombre",
     "Named argument not found"),
    (lambda d: d.StrZero("7"), 449, "El argumento no es opcional", "Argument not optional"),
    (lambda d: d.ReverseName(1), 450,
     "Número de argumentos incorrecto o asignación de propiedad no válida",
     "Wrong number of arguments or invalid property assignment"),
]


@pytest.mark.parametrize("call, number, spanish, english", ERRORS)
def test_errors_carry_number_and_description_in_the_instance_language(
        d, en, call, number, spanish, english):
    for instance, description in ((d, spanish), (en, english)):
        with pytest.raises(velmora.Error) as raised:
            call(instance)
        error = raised.value
        assert (error.number, error.description) == (number, description)
        assert str(error) == f"Error {number}: {description}"
        assert error.args == (number, description)


def test_error_is_an_ordinary_exception():
    assert issubclass(velmora.Error, Exception)
    assert issubclass(velmora.NoMemberError, velmora.Error)
    assert issubclass(velmora.NoMemberError, AttributeError)
    error = velmora.Error(6, "Desbordamiento")
    assert str(error) == "Error 6: Desbordamiento"
    copy = pickle.loads(pickle.dumps(error))
    assert (type(copy), copy.number, copy.description) == (velmora.Error, 6, "Desbordamiento")
    with pytest.raises(velmora.Error):
        raise error


def test_no_member_errors_speak_the_instance_language(en):
    with pytest.raises(velmora.NoMemberError) as raised:
        en.Saludar()
    assert str(raised.value) == "Error 438: Object doesn't support this property or method"


@pytest.mark.parametrize("locale, description", [
    ("es_MX", "No coinciden los tipos"),
    ("es_ES", "No coinciden los tipos"),
    ("en_US", "Type mismatch"),
    ("fr_FR", "Type mismatch"),
])
def test_the_locale_decides_the_language(locale, description):
    with pytest.raises(velmora.Error) as raised:
        velmora.Dolva(locale=locale, now=NOW).StrZero(7, "x")
    assert raised.value.description == description
