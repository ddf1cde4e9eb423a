' Run by run.sh after regsvr32 /u: both classes are gone.
suite = "unregistered"
Dim d
On Error Resume Next
Set d = CreateObject("VelmoraSys.Dolva")
CheckErr "VelmoraSys.Dolva after unregistering", 429, ""
Set d = CreateObject("VelmoraSys.APIs")
CheckErr "VelmoraSys.APIs after unregistering", 429, ""
On Error GoTo 0
Finish
