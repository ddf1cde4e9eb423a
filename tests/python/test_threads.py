"""Separate instances on several threads at once, and the GIL released during each call."""
import datetime
import decimal
import faulthandler
import threading

import velmora
from conftest import NOW
from hostforms import CollectionForm, Named

D = decimal.Decimal

CALLS = [
    ("Letras", (D("1234.5"),), {}),
    ("Letras", (21_000,), {"bEnMayusculas": False}),
    ("Letras", (D("987654321.99"),), {"bParentesis": True, "bMuestraImporte": True}),
    ("NumRomano", (1994,), {}),
    ("NumRomano", (70_000,), {}),  # an error, as a result
    ("Fechador", (), {}),
    ("Saludos", (True, True), {}),
    ("Edad", (datetime.date(1975, 8, 20), datetime.date(2009, 3, 15)), {"MuestraDias": True}),
    ("DiasFechas", (datetime.date(2009, 3, 15), datetime.date(2010, 1, 1)), {}),
    ("StrZero", ("7", 5), {"sFill": "*"}),
    ("HexDec", ("FFFF",), {}),
    ("DecBin", (D("1023"),), {}),
    ("Seg2Hrs", (86_399,), {}),
    ("Encripta", ("hola",), {}),
    ("Meses", (datetime.date(2009, 3, 15), False, True), {}),
]


def run(locale):
    """Every call of the table on a new instance, results and errors alike, and a form walk."""
    d = velmora.Dolva(locale=locale, now=NOW)
    out = []
    for method, args, kwargs in CALLS:
        try:
            out.append(getattr(d, method)(*args, **kwargs))
        except velmora.Error as e:
            out.append(("error", e.number, e.description))
    form = CollectionForm(*(Named(f"txt{i}", Text=str(i)) for i in range(20)))
    d.Limpia_Textos("txt1", form)
    out.append([c.Text for c in form.Controls])
    return out


def test_four_threads_agree_with_one():
    expected = {locale: run(locale) for locale in ("es_MX", "en_US")}
    assert expected["es_MX"] != expected["en_US"]
    failures, rounds = [], []

    def worker(locale):
        try:
            for _ in range(150):
                got = run(locale)
                if got != expected[locale]:
                    failures.append((locale, got))
                    return
                rounds.append(locale)
        except BaseException as e:  # reported below rather than lost in the thread
            failures.append((locale, e))

    threads = [threading.Thread(target=worker, args=(locale,), daemon=True)
               for locale in ("es_MX", "en_US", "es_MX", "en_US")]
    for t in threads:
        t.start()
    for t in threads:
        t.join(120)
    assert not any(t.is_alive() for t in threads)
    assert failures == []
    assert len(rounds) == 4 * 150


def test_the_gil_is_released_while_a_call_runs_or_waits():
    # Should a call hold the GIL while it waits, every thread would stand still: the watchdog,
    # which needs no GIL, then ends the run with the threads' tracebacks instead of a hang.
    faulthandler.dump_traceback_later(60, exit=True)
    try:
        check_gil_released()
    finally:
        faulthandler.cancel_dump_traceback_later()


def check_gil_released():
    d = velmora.Dolva(locale="es_MX", now=NOW)
    inside, go = threading.Event(), threading.Event()

    class Slow(Named):
        """A control whose Text setter holds the routine until the main thread says so."""

        @property
        def Text(self):
            return "x"

        @Text.setter
        def Text(self, value):
            inside.set()
            go.wait(30)

    busy = threading.Thread(target=d.Limpia_Textos, args=("txt", CollectionForm(Slow("txtS"))),
                            daemon=True)
    busy.start()
    assert inside.wait(30)
    # The walk holds `d`. Another instance works meanwhile on another thread...
    other = []
    free = threading.Thread(target=lambda: other.append(velmora.Dolva().NumRomano(9)), daemon=True)
    free.start()
    free.join(30)
    assert other == ["IX"]
    # ...while a call on `d` itself waits its turn without holding the GIL: were it holding it,
    # this thread could not run the go.set() below and all three would stand still.
    queued = []
    waiting = threading.Thread(target=lambda: queued.append(d.NumRomano(4)), daemon=True)
    waiting.start()
    waiting.join(0.2)
    assert waiting.is_alive() and queued == []
    go.set()
    busy.join(30)
    waiting.join(30)
    assert not busy.is_alive() and not waiting.is_alive()
    assert queued == ["IV"]


def test_each_thread_numbers_its_own_instances():
    numbers = {}

    def worker(key):
        numbers[key] = [velmora.Dolva().DebugID for _ in range(3)]

    threads = [threading.Thread(target=worker, args=(k,)) for k in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert numbers == {k: [1, 2, 3] for k in range(4)}
