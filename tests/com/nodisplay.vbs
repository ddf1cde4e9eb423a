' Without a display no window can be made: System and PhotoWay fail with 5 and a sentence that
' says why, at once (run.sh runs this file with DISPLAY unset), and the library goes on.
suite = "nodisplay"
Dim d, x, who
Set d = CreateObject("VelmoraSys.Dolva")

On Error Resume Next
d.System
CheckErr "System without a display", 5, "No hay pantalla disponible para mostrar la ventana"
d.System False, False
CheckErr "System(False, False) without a display", 5, "No hay pantalla disponible para mostrar la ventana"
who = " juan "
x = d.PhotoWay(who, "C:\Ponderix\Fotos")
CheckErr "PhotoWay without a display", 5, "No hay pantalla disponible para mostrar la ventana"
On Error GoTo 0
Check "PhotoWay leaves Nombre", who, " juan "
Check "a routine without a window still answers", d.StrZero("7", 3), "007"

Finish
