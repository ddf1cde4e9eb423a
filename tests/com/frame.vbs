' The public classes as a script sees them: instance numbering, the fields, calls on APIs, and
' what is refused (unknown members, the windows of this build).
suite = "frame"
Dim d1, d2, d3, x

' Instance numbers: 1 for the first Dolva of the thread; ending one does not renumber the others.
Set d1 = CreateObject("VelmoraSys.Dolva")
Check "first DebugID", d1.DebugID, CLng(1)
Set d2 = CreateObject("VelmoraSys.Dolva")
Check "second DebugID", d2.DebugID, CLng(2)
Set d1 = Nothing
Check "second DebugID after the first ended", d2.DebugID, CLng(2)
Set d3 = CreateObject("VelmoraSys.Dolva")
Check "third DebugID", d3.DebugID, CLng(3)

' Fields start empty and read back what was written.
Check "Name starts empty", d2.Name, ""
Check "Version starts empty", d2.Version, ""
Check "Systema starts empty", d2.Systema, ""
Check "gsUserCode starts empty", d2.gsUserCode, ""
Check "gsUserRights starts empty", d2.gsUserRights, ""
Check "Si_Password starts false", d2.Si_Password, False
Check "Es_Supervisor starts false", d2.Es_Supervisor, False
CheckTrue "Control starts as Nothing", d2.Control Is Nothing
CheckTrue "Ap starts as Nothing", d2.Ap Is Nothing
d2.Name = "Juan"
d2.Version = "1.0.3"
d2.Systema = "Ventas"
d2.gsUserCode = "JPEREZ"
d2.gsUserRights = "0011"
d2.Si_Password = True
d2.Es_Supervisor = 1
Check "Name reads back", d2.Name, "Juan"
Check "Version reads back", d2.Version, "1.0.3"
Check "Systema reads back", d2.Systema, "Ventas"
Check "gsUserCode reads back", d2.gsUserCode, "JPEREZ"
Check "gsUserRights reads back", d2.gsUserRights, "0011"
Check "Si_Password reads back", d2.Si_Password, True
Check "Es_Supervisor takes 1 as true", d2.Es_Supervisor, True
Check "fields are per instance", d3.Name, ""
d2.Version = 12
Check "a text field takes a number as text", d2.Version, "12"

' Object fields keep the very object and are replaced by reference.
Set d2.Ap = d3
CheckTrue "Ap is the object set", d2.Ap Is d3
Check "the object is reached through Ap", d2.Ap.DebugID, CLng(3)
Set d2.Control = d2.Ap
CheckTrue "Control is the object set", d2.Control Is d3
Set d2.Control = Nothing
CheckTrue "Control set to Nothing", d2.Control Is Nothing

On Error Resume Next
d2.Si_Password = "tal vez"
CheckErr "a Boolean field given text", 13, Desc(13)
Check "the field keeps its value", d2.Si_Password, True
d2.Si_Password = Null
CheckErr "a Boolean field given Null", 94, Desc(94)
d2.Ap = 5
CheckErr "an object field assigned without Set", 438, ""
Set d2.Name = d3
CheckErr "a text field set by reference", 438, ""
d2.DebugID = 7
CheckErr "DebugID is read-only", 438, ""
x = d2.NoExiste
CheckErr "an unknown member", 438, ""
x = d2.Name(1)
CheckErr "a field read with an argument", 450, Desc(450)
On Error GoTo 0

' System opens the information window (no arguments) or the splash window (Nuevo False),
' modally or not: unattended, each closes itself by its own button once loaded and the call
' returns once it has closed (frame.stderr).
d2.System
d2.System True, False
d2.System False, True
d2.System False, False
' A bModal that is no Boolean is a type mismatch, before any window opens.
On Error Resume Next
d2.System "tres"
CheckErr "System with a text for bModal", 13, Desc(13)
On Error GoTo 0

Finish
