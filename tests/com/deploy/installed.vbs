' Run by deploy.sh once a package is installed: a script host creates both classes by program
' identifier, as an application of the library does, and calls them.
suite = "installed"
Dim d, a
Set d = CreateObject("VelmoraSys.Dolva")
Check "DebugID of the first Dolva", d.DebugID, CLng(1)
Check "StrZero", d.StrZero("7", 3), "007"
Check "NumRomano", d.NumRomano(1999), "MCMXCIX"
Check "Letras", d.Letras(1234.5), "UN MIL DOSCIENTOS TREINTA  Y CUATRO PESOS, 50/100 M.N."
Set a = CreateObject("VelmoraSys.APIs")
Check "APIs.WinDir", a.WinDir, "C:\windows\"
Finish
