"""Dates: Python's date, datetime and time into the library, the fixed clock and the locale."""
import datetime
import decimal

import pytest

import velmora
from conftest import NOW
from hostforms import AttributeForm

date, dt, time = datetime.date, datetime.datetime, datetime.time

# (method, arguments, expected) on the clock of 15 March 2009, 17:30.
DATED_CALLS = [
    ("Fechador", (), "México, D.F. a domingo, 15 de marzo de 2009"),
    ("FechaTxtBox", (False,), "15/03/2009"),
    ("FechaTxtBox", (True,), "01/03/2009"),
    ("Saludos", (True, True), "Buenas Tardes, domingo 15-mar-2009 @ 05:30 p.."),
    ("Bisiesto", (), False),  # the clock's year
    ("Edad", (date(1975, 8, 20), date(2009, 3, 15)), "33 Años, 06 Meses, 27 Días."),
    ("Edad", (dt(1975, 8, 20, 23, 0), "15/03/2009"), "33 Años, 06 Meses, 27 Días."),
    ("FechaTrans", (date(1975, 8, 20),), "33 Años, 6 Meses, 26 Dias."),  # until the clock's day
    ("Lapso", (time(17, 30), time(18, 45, 10)), "01:15:10 Hrs."),
    ("Lapso", ("17:30:00", time(18, 45, 10)), "01:15:10 Hrs."),
    ("Meses", (date(2009, 3, 15), True, True), "Marzo"),
    ("Meses", (dt(2009, 3, 15, 12), False, False), "Mar."),
    ("DiasFechas", (date(2009, 3, 15), dt(2010, 1, 1, 23, 59)), decimal.Decimal(292)),
    ("Fechador", (date(2009, 12, 25), "I"), "México, D.F., Friday, December 25, 2009"),
]


@pytest.mark.parametrize("method, args, expected", DATED_CALLS)
def test_dates_in_calls(d, method, args, expected):
    assert getattr(d, method)(*args) == expected


@pytest.mark.parametrize("now, greeting", [
    (dt(2009, 3, 15, 8, 0), "Buenos Días, domingo 15-mar-2009 @ 08:00 a.."),
    (dt(2009, 3, 15, 17, 30), "Buenas Tardes, domingo 15-mar-2009 @ 05:30 p.."),
    (date(2009, 3, 15), "Buenas Noches, domingo 15-mar-2009 @ 12:00 a.."),  # midnight
])
def test_now_fixes_the_clock(now, greeting):
    assert velmora.Dolva(locale="es_MX", now=now).Saludos(True, True) == greeting


def test_without_now_the_system_clock_answers():
    before = date.today()
    shown = velmora.Dolva(locale="es_MX").FechaTxtBox(False)  # a fortnight's day of this month
    after = date.today()
    assert shown[3:] in {before.strftime("%m/%Y"), after.strftime("%m/%Y")}


def test_the_locale_names_days_and_months(en):
    assert en.Fechador() == "México, D.F. a Sunday, March 15, 2009"


def test_a_datetime_goes_in_to_the_second():
    # Microseconds are dropped, not rounded into the next day; a time zone is not applied.
    d = velmora.Dolva(locale="es_MX", now=NOW)
    assert d.sDias(dt(2009, 3, 15, 23, 59, 59, 999_999), True, True) == "Domingo"
    aware = dt(2009, 3, 15, 23, 30, tzinfo=datetime.timezone(datetime.timedelta(hours=-6)))
    assert d.sDias(aware, True, True) == "Domingo"


@pytest.mark.parametrize("value", [date(99, 12, 31), dt(1, 1, 1), date.min])
def test_dates_before_year_100_overflow(d, value):
    with pytest.raises(velmora.Error) as raised:
        d.DiasFechas(value, date(2009, 3, 15))
    assert raised.value.number == 6


@pytest.mark.parametrize("now", [date(99, 1, 1), "2009-03-15", time(17, 30), 39887])
def test_now_must_be_a_date_of_the_calendar(now):
    with pytest.raises((TypeError, velmora.Error)):
        velmora.Dolva(now=now)


# A Date handed back to Python is a time when it has no day, a date when it has no time.
DATES_BACK = [
    (dt(2009, 3, 15, 17, 30), dt(2009, 3, 15, 17, 30)),
    (dt(2009, 3, 15, 0, 0), date(2009, 3, 15)),
    (time(0, 0, 1), time(0, 0, 1)),
    (time(0, 0), date(1899, 12, 30)),
    (dt(1899, 12, 30, 6), time(6, 0)),
    (dt(1899, 12, 29, 6), dt(1899, 12, 29, 6)),  # before day 0 the time still counts forward
]


@pytest.mark.parametrize("given, back", DATES_BACK)
def test_dates_handed_back_to_python(d, given, back):
    form = AttributeForm()
    d.ObjetosValor("chk", given, form)
    assert form.chkActivo.Value == back
    assert type(form.chkActivo.Value) is type(back)
