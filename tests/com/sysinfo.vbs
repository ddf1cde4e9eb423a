' The system queries through COM, against what the script host itself knows of the machine
' (Wine's defaults: a Windows 7 prefix at C:\windows).
suite = "sysinfo"
Dim d, a, sh, count, level, revision

Set d = CreateObject("VelmoraSys.Dolva")
Set a = CreateObject("VelmoraSys.APIs")
Set sh = CreateObject("WScript.Shell")

Check "WinVer", d.WinVer, "6.1.7601"
Check "WinDirectory", d.WinDirectory, "C:\windows"
Check "SysDirectory", d.SysDirectory, "C:\windows\system32"

' ProcVer: processors, type (8664 for x86-64) and the level/revision word, run together.
count = sh.ExpandEnvironmentStrings("%NUMBER_OF_PROCESSORS%")
level = CLng(sh.ExpandEnvironmentStrings("%PROCESSOR_LEVEL%"))
revision = CLng("&H" & sh.ExpandEnvironmentStrings("%PROCESSOR_REVISION%"))
Check "ProcVer", d.ProcVer, count & "8664" & CStr(level + revision * 65536)

' APIs on an instance the script created.
Check "APIs.WinDir", a.WinDir, "C:\windows\"
Check "APIs.Sys32Dir", a.Sys32Dir, "C:\windows\system32\"
Check "APIs.SysDir", a.SysDir, "C:\windows\SYSTEM\"
Check "APIs.TempDir", a.TempDir, "C:\windows\TEMP\"
Dim x
On Error Resume Next
x = a.WinVer
CheckErr "APIs has no WinVer", 438, ""
x = a.WinDir(1)
CheckErr "APIs.WinDir takes no argument", 450, Desc(450)
On Error GoTo 0

Finish
