"""The type stub next to the module: it parses and declares what the module carries."""
import ast
import inspect
import pathlib

import pytest

import velmora

STUB = pathlib.Path(velmora.__file__).with_name("velmora.pyi")


@pytest.fixture(scope="module")
def stub():
    return ast.parse(STUB.read_text(encoding="utf-8"))


def stub_class(stub, name):
    return next(n for n in stub.body if isinstance(n, ast.ClassDef) and n.name == name)


def stub_members(cls):
    out = {}
    for node in cls.body:
        if isinstance(node, ast.FunctionDef) and not node.name.startswith("_"):
            out[node.name] = node
        elif isinstance(node, ast.AnnAssign):
            out[node.target.id] = node
    return out


@pytest.mark.parametrize("class_name", ["Dolva", "APIs"])
def test_the_stub_declares_every_member_of_the_class(stub, class_name):
    declared = set(stub_members(stub_class(stub, class_name)))
    carried = {n for n in vars(getattr(velmora, class_name)) if not n.startswith("_")}
    assert declared == carried


@pytest.mark.parametrize("class_name", ["Dolva", "APIs"])
def test_the_stub_gives_each_method_the_module_parameters(stub, class_name):
    cls = getattr(velmora, class_name)
    for name, node in stub_members(stub_class(stub, class_name)).items():
        member = inspect.getattr_static(cls, name)
        if isinstance(node, ast.AnnAssign) or isinstance(member, property):
            assert isinstance(member, property), name
            continue
        params = list(inspect.signature(member).parameters.values())[1:]
        stub_args = node.args.args[1:]
        assert [a.arg for a in stub_args] == [p.name for p in params], name
        defaults = [None] * (len(stub_args) - len(node.args.defaults)) + node.args.defaults
        for p, default in zip(params, defaults):
            if p.default is inspect.Parameter.empty:
                assert default is None, (name, p.name)
            elif p.default is velmora.Missing:
                assert isinstance(default, ast.Constant) and default.value is Ellipsis
            else:
                assert ast.literal_eval(default) == p.default, (name, p.name)
        assert ast.get_docstring(node) == member.__doc__


def test_the_stub_types_follow_the_table(stub):
    letras = stub_members(stub_class(stub, "Dolva"))["Letras"]
    assert ast.unparse(letras.args.args[1].annotation) == "_Number | Ref[Any]"
    assert ast.unparse(letras.returns) == "str"
    dias = stub_members(stub_class(stub, "Dolva"))["DiasFechas"]
    assert ast.unparse(dias.returns) == "decimal.Decimal"
    name = stub_members(stub_class(stub, "Dolva"))["Name"]
    assert ast.unparse(name.annotation) == "str"
