"""The routines that act on a host form, run on plain Python objects."""
import types

import pytest

import velmora
from hostforms import AttributeForm, Button, CollectionForm, Named, TextBox


def state(form):
    """Text and Enabled of every control, by name, as the test tables spell them."""
    controls = form.Controls if hasattr(form, "Controls") else [
        Named(k, **vars(v)) for k, v in vars(form).items() if hasattr(v, "__dict__")]
    out = {}
    for c in controls:
        out[c.Name] = tuple(getattr(c, m) for m in ("Text", "Enabled") if hasattr(c, m))
    return out


ATTRIBUTE_FORM_CALLS = [
    ("Limpia_Textos", ("txtN",), {"txtNombre": ("", True), "txtApellido": ("Luz", True)}),
    ("Limpia_Textos", ("TXT",), {"txtNombre": ("", True), "txtApellido": ("", True)}),
    ("Botones", (False,), {"cmdAceptar": (False,), "btnSalir": (False,), "txtNombre": ("Ana", True)}),
    ("Objetos", ("txt", False), {"txtNombre": ("Ana", False), "txtApellido": ("Luz", False),
                                 "cmdAceptar": (True,)}),
    ("Objetos", ("tx", False), {"txtNombre": ("Ana", True)}),  # a prefix of three letters only
    ("FechaValida", ("31/02/2009", "txt"), {"txtNombre": ("28/02/2009", True),
                                            "txtApellido": ("28/02/2009", True)}),
]


@pytest.mark.parametrize("method, args, expected", ATTRIBUTE_FORM_CALLS)
def test_routines_on_a_form_with_controls_as_attributes(d, method, args, expected):
    form = AttributeForm()
    getattr(d, method)(*args, form)
    seen = state(form)
    for name, values in expected.items():
        assert seen[name] == values, name
    assert d.Control is None  # a completed walk leaves the cursor empty


def test_a_controls_collection_is_walked_in_its_order(d):
    visited = []

    class Spy(Named):
        def __getattribute__(self, member):
            if member == "Name":
                visited.append(object.__getattribute__(self, "Name"))
            return object.__getattribute__(self, member)

    form = CollectionForm(Spy("txtB", Text="b"), Spy("txtA", Text="a"), Spy("cmdX", Enabled=True))
    d.Limpia_Textos("txt", form)
    assert [c.Text for c in form.Controls[:2]] == ["", ""]
    assert visited == ["txtB", "txtA", "cmdX"]


@pytest.mark.parametrize("controls", [
    lambda: {"txtNombre": TextBox("Ana"), "cmdSalir": Button()},  # a mapping: keys are names
    lambda: [Named("txtNombre", Text="Ana"), Named("cmdSalir", Enabled=True)],
    lambda: (Named("txtNombre", Text="Ana"), Named("cmdSalir", Enabled=True)),
])
def test_controls_collections_of_every_shape(d, controls):
    collection = controls()
    form = types.SimpleNamespace(Controls=collection)
    d.Limpia_Textos("txt", form)
    first = collection["txtNombre"] if isinstance(collection, dict) else collection[0]
    assert first.Text == ""


def test_controls_from_a_method(d):
    box = Named("txtNombre", Text="Ana")

    class Form:
        def controls(self):
            return [box]

    d.Limpia_Textos("txt", Form())
    assert box.Text == ""


def test_efx_grows_and_shrinks_the_form_height(d):
    form = AttributeForm()
    d.Efx(1000, 1012, True, form)
    assert form.Height == 1010
    d.Efx(1000, 1012, False, form)
    assert form.Height == 1002


def test_member_names_ignore_case(d):
    class Lower:
        def __init__(self):
            self.name = "txtX"
            self.text = "x"

    form = CollectionForm(Lower())
    d.Limpia_Textos("txt", form)
    assert form.Controls[0].text == ""
    assert not hasattr(form.Controls[0], "Text")  # nothing was created


def test_a_control_without_the_property_stops_the_walk_there(d):
    form = CollectionForm(Named("txtA", Text="a"), Named("txtB"), Named("txtC", Text="c"))
    with pytest.raises(velmora.Error) as raised:
        d.Limpia_Textos("txt", form)
    assert raised.value.number == 438
    assert [getattr(c, "Text", None) for c in form.Controls] == ["", None, "c"]
    assert d.Control is form.Controls[1]  # the cursor stays on the failing control
    assert isinstance(raised.value.__cause__, AttributeError)


class Guarded:
    """A control whose Text refuses some values the way a GUI's property might."""

    def __init__(self, failure):
        self.Name = "txtG"
        self._failure = failure

    @property
    def Text(self):
        return "x"

    @Text.setter
    def Text(self, value):
        raise self._failure


@pytest.mark.parametrize("failure, number, cause", [
    (ValueError("no"), 13, ValueError),
    (TypeError("no"), 13, TypeError),
    (AttributeError("read-only"), 438, AttributeError),
])
def test_a_refused_write_is_a_runtime_error_caused_by_the_python_one(d, failure, number, cause):
    with pytest.raises(velmora.Error) as raised:
        d.Limpia_Textos("txt", CollectionForm(Guarded(failure)))
    assert raised.value.number == number
    assert isinstance(raised.value.__cause__, cause)


def test_any_other_exception_of_the_host_reaches_the_caller_as_it_was(d):
    class Broken(Exception):
        pass

    with pytest.raises(Broken):
        d.Limpia_Textos("txt", CollectionForm(Guarded(Broken("disk full"))))
    assert d.Letras(1) == "UN PESO, 00/100 M.N."  # the instance carries on


def test_a_read_only_property_cannot_be_written(d):
    class ReadOnly:
        Name = "txtR"

        @property
        def Text(self):
            return "fijo"

    with pytest.raises(velmora.Error) as raised:
        d.Limpia_Textos("txt", CollectionForm(ReadOnly()))
    assert raised.value.number == 438


def test_host_code_may_call_the_same_instance_again(d):
    class Reentrant:
        Name = "txtR"

        @property
        def Text(self):
            return ""

        @Text.setter
        def Text(self, value):
            self.seen = d.NumRomano(2009)  # back into the instance the walk is running on

    control = Reentrant()
    d.Limpia_Textos("txt", CollectionForm(control))
    assert control.seen == "MMIX"


@pytest.mark.parametrize("form, number", [
    (42, 424),
    ("frmAlta", 424),
    (velmora.Empty, 424),
    ([TextBox()], 438),
    (object(), 438),
    (types.SimpleNamespace(Controls=5), 13),
])
def test_what_is_not_a_form(d, form, number):
    with pytest.raises(velmora.Error) as raised:
        d.Limpia_Textos("txt", form)
    assert raised.value.number == number


def test_a_wrong_date_is_explained_in_a_box(d, unattended, capfd):
    form = AttributeForm()
    assert d.FechaValida("31/13/2009", "txt", form) is True
    assert form.txtNombre.Text == "Ana"  # nothing written
    box = capfd.readouterr().err
    assert "ERROR en la Fecha" in box
    assert "El rango de Meses es del: 1 al 12, Ud. capturó: 13" in box


def test_a_missing_right_is_explained_in_a_box(d, unattended, capfd):
    assert d.Derecho(3, "0011", True, "Ventas") is False
    assert "Ventas" in capfd.readouterr().err
    assert d.Derecho(2, "0011", True, "Ventas") is True
    assert capfd.readouterr().err == ""
