"""The Python module and the command line give the same answers for the same words.

Each row is one line of a command-line script and the same call from Python; the script runs in
one process on one Dolva, the Python rows on one Dolva of a fresh thread (so DebugID agrees), and
every JSON line of the command line must equal what Python returned or raised, by-reference
arguments included.
"""
import datetime
import decimal
import inspect
import json
import subprocess
import threading

import pytest

import velmora

D = decimal.Decimal
date, time = datetime.date, datetime.time
NOW = "2009-03-15T17:30:00"


def call(method, *args, **kwargs):
    return ("call", method, args, kwargs)


def apis(method):
    return ("apis", method, (), {})


def assign(field, value):
    return ("assign", field, (value,), {})


TABLE = [
    # amounts in words
    call("Letras", D("1234.5")),
    call("Letras", 0),
    call("Letras", 1),
    call("Letras", 21),
    call("Letras", 21_000),
    call("Letras", 100),
    call("Letras", 1_000_000),
    call("Letras", D("1001001.01")),
    call("Letras", D("-5.75")),
    call("Letras", D("999999999999.99")),
    call("Letras", D("15.5"), bEsDinero=False, bEnMayusculas=False),
    call("Letras", D("1234.5"), bParentesis=True, bMuestraImporte=True, bImporteAdentro=True),
    call("Letras", D("7.25"), sQueMoneda="Euro", sEsMonedaNal="", sSimbolo="€"),
    call("Letras", 10**15),
    call("NumRomano", 1994),
    call("NumRomano", 3999),
    call("NumRomano", 4000),
    call("NumRomano", 70_000),
    # text helpers and scrambling
    call("StrZero", "7", 3),
    call("StrZero", 7, iLen=5, sFill="*"),
    call("StrZero", "7"),
    call("StrZero", 7, "tres"),
    call("Centra_Textos", "abc", 9),
    call("Centra_Textos", "Ana Luz", 3),
    call("EsNumeroPar", 7),
    call("EsNumeroPar", 40_000),
    call("Encripta", "hola"),
    call("DesEncripta", "\x7f»ƒ\xad"),
    call("Encripta", "ÿ"),
    # number bases
    call("DecBin", 10),
    call("DecBin", D("10.5")),
    call("DecOct", 64),
    call("DecHex", "255"),
    call("DecHex", "doce"),
    call("BinDec", "1010"),
    call("BinOct", "111111"),
    call("BinHex", "11111111"),
    call("OctBin", "17"),
    call("HexDec", "FF"),
    call("HexBin", "A5"),
    # calendar and clock
    call("Bisiesto", 2024),
    call("Bisiesto"),
    call("DiasMes", 2, 2024),
    call("DiasMes", 13, 2024),
    call("CalcFDias", 15, 3, 2009),
    call("DiasFechas", date(2009, 3, 15), date(2010, 1, 1)),
    call("DiasFechas", date(1899, 12, 30), date(1900, 3, 1)),
    call("DiasFechas", date(100, 1, 1), date(9999, 12, 31)),
    call("Edad", date(1975, 8, 20), date(2009, 3, 15)),
    call("Edad", date(1975, 8, 20), date(2009, 3, 15), ModoTexto="c", MuestraDias=True),
    call("FechaTrans", date(1975, 8, 20)),
    call("Lapso", time(17, 30), time(18, 45, 10)),
    call("Hrs2Seg", "01:30:00"),
    call("Seg2Hrs", 5400),
    call("Fillhours", ""),
    call("Fillhours", "0730"),
    call("SumaHoras", "01:30", "02:45"),
    call("RestaHoras", "01:30", "02:45"),
    call("MasDeUnDia", 90_000),
    call("HrsNumericas", "01:30"),
    # date wording
    call("Fechador"),
    call("Fechador", date(2009, 12, 25), "I"),
    call("Fechador", bTextoLargo=False, bDispHora=True),
    call("sDias", date(2009, 3, 15), True, False),
    call("Meses", date(2009, 3, 15), False, True),
    call("Saludos", True, True),
    call("FechaTxtBox", True),
    call("FechaTxtBox", False, "20/02/2024"),
    # rights, fields, system queries
    call("Derecho", 2, "0011"),
    call("Derecho", 300, "0011"),
    call("DebugID"),
    assign("Name", "Ana Luz"),
    call("ReverseName"),
    call("Name"),
    assign("gsUserRights", "0101"),
    call("gsUserRights"),
    call("WinVer"),
    call("SysDirectory"),
    call("WinDirectory"),
    apis("WinDir"),
    apis("Sys32Dir"),
    apis("TempDir"),
    # calling errors
    call("Letras", 1, bNada=1),
    call("ReverseName", 1),
]


def word(value):
    """The command line's word for a Python value."""
    if value is None:
        return "Null"
    if value is velmora.Empty:
        return "Empty"
    if isinstance(value, bool):
        return "True" if value else "False"
    if isinstance(value, (int, D)):
        return str(value)
    if isinstance(value, str):
        return '"' + value.replace('"', '""') + '"'
    if isinstance(value, date):
        return f"#{value.year:04}-{value.month:02}-{value.day:02}#"
    if isinstance(value, time):
        return f"#{value.hour:02}:{value.minute:02}:{value.second:02}#"
    raise TypeError(value)


def script_line(row):
    kind, name, args, kwargs = row
    if kind == "assign":
        return f"{name} = {word(args[0])}"
    words = [name] + [word(a) for a in args] + [f"{k}:={word(v)}" for k, v in kwargs.items()]
    return " ".join(words)


def json_value(value):
    """A Python result as the command line's JSON writes it."""
    if value is None or value is velmora.Empty:
        return None
    if isinstance(value, datetime.datetime):
        return value.isoformat()
    if isinstance(value, date):
        return datetime.datetime.combine(value, time()).isoformat()
    if isinstance(value, time):
        return datetime.datetime.combine(date(1899, 12, 30), value).isoformat()
    return value


def python_answers(locale):
    """Each row run from Python, as {"result"|"error"..., "byref"...} like the JSON lines."""
    answers = []

    def run():
        d = velmora.Dolva(locale=locale, now=datetime.datetime.fromisoformat(NOW))
        a = velmora.APIs(locale=locale, now=datetime.datetime.fromisoformat(NOW))
        for kind, name, args, kwargs in TABLE:
            if kind == "assign":
                setattr(d, name, args[0])
                continue
            target = a if kind == "apis" else d
            boxes = [velmora.Ref(v) for v in args]
            named = {k: velmora.Ref(v) for k, v in kwargs.items()}
            member = inspect.getattr_static(type(target), name)
            field = isinstance(member, property)  # a field or property: read, not called
            answer = {}
            try:
                value = getattr(target, name)
                answer["result"] = json_value(value if field else value(*boxes, **named))
            except velmora.Error as e:
                answer = {"error": e.number, "description": e.description}
            params = [] if field else list(inspect.signature(member).parameters)[1:]
            byref = {}
            for param, box, given in zip(params, boxes, args):
                if box.value is not given:
                    byref[param] = json_value(box.value)
            for key, box in named.items():
                if box.value is not kwargs[key]:
                    byref[key] = json_value(box.value)
            if byref:
                answer["byref"] = byref
            answers.append(answer)

    failure = []

    def guarded():
        try:
            run()
        except BaseException as e:  # raised again on the test's own thread
            failure.append(e)

    thread = threading.Thread(target=guarded)
    thread.start()
    thread.join()
    if failure:
        raise failure[0]
    return answers


@pytest.mark.parametrize("locale", ["es_MX", "en_US"])
def test_python_and_the_command_line_agree(cli, locale):
    script = "\n".join(script_line(row) for row in TABLE) + "\n"
    done = subprocess.run([cli, "--json", "--locale", locale, "--now", NOW, "--script", "-"],
                          input=script, capture_output=True, text=True)
    lines = [json.loads(x, parse_float=D) for x in done.stdout.splitlines()]
    expected = python_answers(locale)
    calls = [script_line(row) for row in TABLE if row[0] != "assign"]
    assert len(lines) == len(expected) == len(calls)
    for line, answer, words in zip(lines, expected, calls):
        line.pop("line", None)  # where a script's failed call stands: the CLI's own addition
        assert answer == line, words
