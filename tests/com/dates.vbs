' Dates and times through COM: VBScript dates and texts as arguments, optional arguments left
' out, by-reference variables written back (Edad's mode, Fillhours, FechaTxtBox) or left alone,
' and the system's long date form from the es_MX locale (Fechador).
suite = "dates"
Dim d, x, v, w, today, h
Set d = CreateObject("VelmoraSys.Dolva")

' Calendar
Check "Bisiesto 2024", d.Bisiesto(2024), True
Check "Bisiesto 2023", d.Bisiesto(2023), False
Check "Bisiesto 1900 by the rule of four", d.Bisiesto(1900), True
Check "Bisiesto of a text", d.Bisiesto("2000"), True
Check "Bisiesto without a year is this year", d.Bisiesto(), (Year(Date) Mod 4 = 0)
Check "DiasMes 2/1900", d.DiasMes(2, 1900), 29
Check "DiasMes 13/2009", d.DiasMes(13, 2009), 0
Check "DiasFechas across 1900's February", _
      d.DiasFechas(DateSerial(1900, 2, 28), DateSerial(1900, 3, 1)), CCur(1)
Check "DiasFechas across 2024's February", _
      d.DiasFechas(DateSerial(2024, 2, 28), DateSerial(2024, 3, 1)), CCur(2)
Check "DiasFechas backwards", _
      d.DiasFechas(DateSerial(2009, 12, 31), DateSerial(2009, 1, 1)), CCur(-364)
Check "DiasFechas ignores the hours", _
      d.DiasFechas(DateSerial(2009, 3, 15) + TimeSerial(23, 0, 0), DateSerial(2009, 3, 15)), CCur(0)
Dim dd, mm, yy
dd = 1
mm = 1
yy = 2000
Check "CalcFDias 1/1/2000", d.CalcFDias(dd, mm, yy), CCur(730488)
Check "CalcFDias leaves its variables", dd & "/" & mm & "/" & yy, "1/1/2000"
Check "CalcFDias counts the leap day", d.CalcFDias(1, 3, 2000) - d.CalcFDias(29, 2, 2000), CCur(1)
On Error Resume Next
x = d.CalcFDias(1, 13, 2009)
CheckErr "CalcFDias of month 13", 9, Desc(9)
x = d.DiasFechas("pasado", Date)
CheckErr "DiasFechas of a text that is no date", 13, Desc(13)
On Error GoTo 0

' Ages; Edad writes its normalised mode back into the caller's variable.
Dim born, ref
born = DateSerial(1975, 8, 20)
ref = DateSerial(2009, 3, 15)
Check "Edad with defaults", d.Edad(born, ref), U("33 A\f1os, 06 Meses, 27 D\edas.")
Check "Edad leaves its dates", born, DateSerial(1975, 8, 20)
v = "c"
Check "Edad in mode c", d.Edad(born, ref, v), "33 a, 06 m, 27 d."
Check "Edad writes the mode back upper-cased", v, "C"
v = "X"
Check "Edad in an unknown mode", d.Edad(born, ref, v), U("33 A\f1os, 06 Meses, 27 D\edas.")
Check "Edad writes the unknown mode back as L", v, "L"
Check "Edad in mode N", d.Edad(born, ref, "N"), "33, 06, 27."
Check "Edad with the day count", d.Edad(born, ref, "L", True, True), _
      U("33 A\f1os, 06 Meses, 27 D\edas. (12,261)")
Check "Edad keeping zeros", _
      d.Edad(DateSerial(2000, 5, 10), DateSerial(2009, 5, 10), "L", False, True), _
      U("9 A\f1os, 00 Meses, 00 D\edas. (3,287)")
Check "FechaTrans", d.FechaTrans(born, ref), U("33 A\f1os, 6 Meses, 26 Dias.")
Check "FechaTrans of one day", d.FechaTrans(DateSerial(2009, 1, 1), DateSerial(2009, 1, 2)), _
      "1 Dia."
Check "FechaTrans of no time", d.FechaTrans(ref, ref), ""
Check "Lapso", d.Lapso(ref + TimeSerial(8, 0, 0), ref + TimeSerial(17, 30, 0)), "09:30:00 Hrs."

' Clock times
Check "Hrs2Seg 08:30:15", d.Hrs2Seg("08:30:15"), CLng(30615)
Check "Hrs2Seg 08:30", d.Hrs2Seg("08:30"), CLng(30630)
Check "Hrs2Seg of the empty text", d.Hrs2Seg(""), CLng(0)
Check "Seg2Hrs 30615", d.Seg2Hrs(30615), "08:30:15"
Check "Seg2Hrs 90000", d.Seg2Hrs(90000), "25:00:00"
Check "Seg2Hrs -5400", d.Seg2Hrs(-5400), "-2:-30:00"
Check "SumaHoras", d.SumaHoras("08:30:00", "17:45:30"), "26:15:30"
Check "RestaHoras", d.RestaHoras("17:45:30", "08:30:00"), "09:15:30"
Check "RestaHoras below zero", d.RestaHoras("08:30:00", "17:45:30"), "-10:-16:-30"
Check "MasDeUnDia 86399", d.MasDeUnDia(86399), False
Check "MasDeUnDia 86400", d.MasDeUnDia(86400), True
Check "HrsNumericas of a text", d.HrsNumericas("abc"), CCur(0)
Check "HrsNumericas 08:30", d.HrsNumericas("08:30"), CCur(8.5)
Check "HrsNumericas 08:59", d.HrsNumericas("08:59"), CCur(8.98)
h = ""
Check "Fillhours of an empty variable", d.Fillhours(h), "00:00"
Check "Fillhours fills the variable", h, "00:00"
h = "12:30"
Check "Fillhours of 12:30", d.Fillhours(h), "12:30"
On Error Resume Next
x = d.Hrs2Seg(Null)
CheckErr "Hrs2Seg of Null", 94, Desc(94)
x = d.Seg2Hrs("muchos")
CheckErr "Seg2Hrs of a text", 13, Desc(13)
x = d.Seg2Hrs(3000000000)
CheckErr "Seg2Hrs past 32 bits", 6, Desc(6)
On Error GoTo 0

' Date words
v = True
w = False
Check "sDias Spanish long", d.sDias(ref, True, True), "Domingo"
Check "sDias Spanish short", d.sDias(ref, v, w), "Dom."
Check "sDias leaves its flags", v And Not w, True
Check "sDias English short", d.sDias(ref, False, False), "Sun."
Check "sDias of a Wednesday", d.sDias(DateSerial(2009, 3, 18), True, False), U("Mi\e9.")
Check "Meses Spanish long", d.Meses(ref, True, True), "Marzo"
Check "Meses English long", d.Meses(ref, False, True), "March"
Check "Meses of May in English, short", d.Meses(DateSerial(2009, 5, 1), False, False), "May."
Check "Fechador with the defaults", d.Fechador(ref), _
      U("M\e9xico, D.F. a domingo, 15 de marzo de 2009")
Check "Fechador in Spanish, short", d.Fechador(ref, "E", "Zapopan", False), _
      "Zapopan a dom, 15-mar-2009"
Check "Fechador in English, short", d.Fechador(ref, "I", "Guadalajara", False, False), _
      "Guadalajara, Sun., Mar. 15, 2009"
Check "Fechador in English, long, no place", d.Fechador(ref, "e", ""), _
      "Sunday, March 15, 2009"

' Greetings follow the clock.
Dim clock_hour, greeting
clock_hour = Hour(Time)
If clock_hour < 5 Then
  greeting = "Buenas Noches."
ElseIf clock_hour < 12 Then
  greeting = U("Buenos D\edas.")
ElseIf clock_hour < 19 Then
  greeting = "Buenas Tardes."
Else
  greeting = "Buenas Noches."
End If
Check "Saludos without date or time", d.Saludos(False, False), greeting

' FechaTxtBox: the first or last day of the half month; an empty Fecha is today, written back.
Check "FechaTxtBox first half", d.FechaTxtBox(True, "20/03/2009"), "15/03/2009"
Check "FechaTxtBox end of month", d.FechaTxtBox(False, "20/03/2009"), "31/03/2009"
Check "FechaTxtBox start of month", d.FechaTxtBox(True, "10/02/2009"), "01/02/2009"
Check "FechaTxtBox leap February", d.FechaTxtBox(False, "20/02/2008"), "29/02/2008"
today = Right("0" & Day(Date), 2) & "/" & Right("0" & Month(Date), 2) & "/" & Year(Date)
v = ""
x = d.FechaTxtBox(True, v)
Check "FechaTxtBox writes today into an empty Fecha", v, today

Finish
