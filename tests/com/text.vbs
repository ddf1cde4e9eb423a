' Numbers and text through the COM interface: results, optional arguments left out, arguments
' passed by reference and left unchanged, and the runtime errors of the family.
suite = "text"
Dim d, x, v
Set d = CreateObject("VelmoraSys.Dolva")

' StrZero: the fill is optional, given as a literal or as a variable it never changes.
Check "StrZero 7 to 3", d.StrZero("7", 3), "007"
Check "StrZero trims and fills with *", d.StrZero(" 42 ", 5, "*"), "***42"
Check "StrZero never shortens", d.StrZero("12345", 3), "12345"
Check "StrZero of the empty text", d.StrZero("", 2), "00"
v = "xyz"
Check "StrZero fills with the first character", d.StrZero("7", 3, v), "xx7"
Check "StrZero leaves sFill as it was", v, "xyz"
Check "StrZero reads a number as text", d.StrZero(42, 4), "0042"
On Error Resume Next
x = d.StrZero("7", 3, "")
CheckErr "StrZero with an empty fill", 5, Desc(5)
x = d.StrZero("7", "tres")
CheckErr "StrZero with a text length", 13, Desc(13)
x = d.StrZero(Null, 3)
CheckErr "StrZero with Null", 94, Desc(94)
x = d.StrZero("7", 40000)
CheckErr "StrZero with a length past 16 bits", 6, Desc(6)
x = d.StrZero("7", -32768)
CheckErr "StrZero with a shortfall past 16 bits", 6, Desc(6)
x = d.StrZero()
CheckErr "StrZero without arguments", 449, Desc(449)
x = d.StrZero("7", 3, "0", 1)
CheckErr "StrZero with four arguments", 450, Desc(450)
On Error GoTo 0

' Centra_Textos, NumRomano (its argument by reference and unchanged) and EsNumeroPar: their
' cases are the core's tests; here the calls cross the COM interface.
Check "Centra_Textos abc in 9", d.Centra_Textos("abc", 9), "   abc   "
v = 1994
Check "NumRomano 1994", d.NumRomano(v), "MCMXCIV"
Check "NumRomano leaves its variable", v, 1994
Check "NumRomano 4000", d.NumRomano(4000), "4000"
Check "EsNumeroPar -4", d.EsNumeroPar(-4), True
Check "EsNumeroPar 7", d.EsNumeroPar(7), False

' ReverseName works on the instance's Name.
d.Name = "Ana Luz"
d.ReverseName
Check "ReverseName", d.Name, "zuL anA"

' Base conversions
Check "DecBin 10", d.DecBin(10), "1010"
Check "DecBin 0", d.DecBin(0), ""
Check "DecOct 8", d.DecOct(8), "10"
Check "DecOct 2.5", d.DecOct(2.5), "2"
Check "DecOct 3.5", d.DecOct(3.5), "4"
Check "DecOct -1", d.DecOct(-1), "37777777777"
Check "DecHex 255", d.DecHex("255"), "FF"
Check "DecHex -1", d.DecHex("-1"), "FFFFFFFF"
Check "BinDec 1010", d.BinDec("1010"), "10"
Check "BinDec 12", d.BinDec("12"), "4"
Check "BinOct 11111111", d.BinOct("11111111"), "377"
Check "BinHex 100000000", d.BinHex("100000000"), "100"
Check "OctBin 12", d.OctBin("12"), " 1010"
Check "HexBin 1F", d.HexBin("1F"), "00011111"
Check "HexDec FFFFFFFF", d.HexDec("FFFFFFFF"), "4294967295"
On Error Resume Next
x = d.DecHex("abc")
CheckErr "DecHex abc", 13, Desc(13)
x = d.HexBin("G")
CheckErr "HexBin G", 13, Desc(13)
On Error GoTo 0

' Scrambling: same length, and back to the text.
v = "Velmora S.A. de C.V., 2009!"
x = d.Encripta(v)
Check "Encripta keeps the length", Len(x), Len(v)
CheckTrue "Encripta changes the text", x <> v
Check "DesEncripta restores it", d.DesEncripta(x), v
Check "Encripta of the empty text", d.Encripta(""), ""
On Error Resume Next
x = d.Encripta("abc" & Chr(255))
CheckErr "Encripta of a character near 255", 5, Desc(5)
On Error GoTo 0

' Letras: every option left out, options given in order, and the amount by reference unchanged.
v = 1234.5
Check "Letras 1234.5", d.Letras(v), "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."
Check "Letras leaves Cantidad", v, 1234.5
Check "Letras 0", d.Letras(0), "PESOS, 00/100 M.N."
Check "Letras 1", d.Letras(1), "UN PESO, 00/100 M.N."
Check "Letras 16", d.Letras(16), U("DIECIS\c9IS PESOS, 00/100 M.N.")
Check "Letras 21", d.Letras(21), "VEINTIUN PESOS, 00/100 M.N."
Check "Letras 1000000", d.Letras(1000000), "UN MILLON DE PESOS, 00/100 M.N."
Check "Letras 1.125", d.Letras(1.125), "UN PESO, 12/100 M.N."
Check "Letras in lower case", d.Letras(1234.5, True, "$", "Peso", "M.N.", False), _
      "un mil doscientos treinta  y cuatro Pesos, 50/100 M.N."
Check "Letras with the figure", d.Letras(1234.5, True, "$", "Peso", "M.N.", True, False, True), _
      "$ 1,234.50  UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."
Check "Letras all three", d.Letras(1234.5, True, "$", "Peso", "M.N.", True, True, True, True), _
      "( $ 1,234.50, UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N. )"
Check "Letras plain number", d.Letras(15.5, False), "QUINCE CON 50"
Check "Letras in dollars", d.Letras(2, True, "$", "Dolar", "USD"), "DOS DOLARS, 00/100 USD"
On Error Resume Next
x = d.Letras(-1)
CheckErr "Letras of a negative amount", 13, Desc(13)
x = d.Letras("mil")
CheckErr "Letras of a text that is no number", 13, Desc(13)
On Error GoTo 0

Finish
