' Helpers of the VBScript suite, run before each test script (run.sh puts them in front).
'
' Scripts are Windows-1252 with CRLF lines; a non-ASCII character is written as an escape that
' U() decodes ("v\e1lidos" reads as the accented word), because Wine's cscript misreads other encodings.
' Every script ends with Finish, which prints the summary line run.sh requires.
Option Explicit

Dim checks, failures, suite
checks = 0
failures = 0

' Decodes "\hh" (two hexadecimal digits) into the character of that code.
Function U(text)
  Dim out, i, c
  out = ""
  i = 1
  Do While i <= Len(text)
    c = Mid(text, i, 1)
    If c = "\" And i + 2 <= Len(text) Then
      out = out & Chr(CLng("&H" & Mid(text, i + 1, 2)))
      i = i + 3
    Else
      out = out & c
      i = i + 1
    End If
  Loop
  U = out
End Function

Function Show(value)
  If IsNull(value) Then
    Show = "Null"
  ElseIf IsObject(value) Then
    Show = "(object " & TypeName(value) & ")"
  Else
    Show = "[" & value & "] (" & TypeName(value) & ")"
  End If
End Function

' Each check leaves a trace line; run.sh hides them and names the last one when a script stops
' without its summary.
Sub Trace(label)
  WScript.Echo "TRACE " & label
End Sub

Sub Fail(label, message)
  failures = failures + 1
  WScript.Echo "FAIL " & label & ": " & message
End Sub

' The value and its kind must be exactly the expected ones.
Sub Check(label, actual, expected)
  checks = checks + 1
  If VarType(actual) <> VarType(expected) Then
    Fail label, "got " & Show(actual) & ", expected " & Show(expected)
  ElseIf actual <> expected Then
    Fail label, "got " & Show(actual) & ", expected " & Show(expected)
  End If
  Trace label
End Sub

Sub CheckTrue(label, condition)
  checks = checks + 1
  If Not condition Then Fail label, "is false"
  Trace label
End Sub

' Checks the error left by the statement before, run under On Error Resume Next, and clears it.
' An empty description checks the number only.
Sub CheckErr(label, number, description)
  checks = checks + 1
  If Err.Number <> number Then
    Fail label, "error " & Err.Number & " (" & Err.Description & "), expected " & number
  ElseIf description <> "" And Err.Description <> description Then
    Fail label, "description [" & Err.Description & "], expected [" & description & "]"
  End If
  Err.Clear
  Trace label
End Sub

' The standard descriptions of the runtime errors, in Spanish.
Function Desc(number)
  Select Case number
    Case 5: Desc = U("Llamada a procedimiento o argumento no v\e1lidos")
    Case 6: Desc = "Desbordamiento"
    Case 9: Desc = U("Sub\edndice fuera del intervalo")
    Case 13: Desc = "No coinciden los tipos"
    Case 94: Desc = U("Uso no v\e1lido de Null")
    Case 424: Desc = "Se requiere un objeto"
    Case 438: Desc = U("El objeto no admite esta propiedad o m\e9todo")
    Case 449: Desc = "El argumento no es opcional"
    Case 450: Desc = U("N\famero de argumentos incorrecto o asignaci\f3n de propiedad no v\e1lida")
    Case 481: Desc = U("La imagen no es v\e1lida")
  End Select
End Function

Sub Finish()
  WScript.Echo "SUMMARY " & suite & ": " & checks & " checks, " & failures & " failures"
  WScript.Quit failures
End Sub

