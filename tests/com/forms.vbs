' The routines that work on a host form, with forms made of script classes (each an automation
' object reached by name, as a host's form is): the control walks, the height effect, date entry
' validation and access rights. Message boxes are unattended: their text goes to standard error
' and is compared with forms.stderr.
suite = "forms"

' Wine's VBScript takes one name per Public declaration in a class.
Class TextBox
  Public Name
  Public Text
  Public Enabled
  Public Height
End Class

Class Button
  Public Name
  Public Caption
  Public Enabled
End Class

Class CheckBox
  Public Name
  Public Value
  Public Enabled
End Class

' A form whose height setter records every height it is given.
Class Form
  Public Name
  Public Controls
  Public Heights
  Private h
  Public Property Get Height()
    Height = h
  End Property
  Public Property Let Height(value)
    h = value
    Heights = Heights & value & " "
  End Property
End Class

Function NewText(name)
  Set NewText = New TextBox
  NewText.Name = name
  NewText.Text = "algo"
  NewText.Enabled = True
End Function

Function NewButton(name)
  Set NewButton = New Button
  NewButton.Name = name
  NewButton.Caption = name
  NewButton.Enabled = True
End Function

Function NewCheck(name)
  Set NewCheck = New CheckBox
  NewCheck.Name = name
  NewCheck.Value = 0
  NewCheck.Enabled = True
End Function

Function NewForm(controls)
  Set NewForm = New Form
  NewForm.Name = "frmPrueba"
  NewForm.Controls = controls
  NewForm.Heights = ""
End Function

Dim d, f, x, yes, no, cont, fec, lo, hi
Set d = CreateObject("VelmoraSys.Dolva")
yes = True
no = False

' Botones: "Enabled" of the cmd... and btn... controls only.
Dim cmdSalir, btnOk, txtNombre, cmdX
Set cmdSalir = NewButton("cmdSalir")
Set btnOk = NewButton("BtnOk")
Set txtNombre = NewText("txtNombre")
Set cmdX = NewButton("CmdX")
Set f = NewForm(Array(cmdSalir, btnOk, txtNombre, cmdX))
d.Botones no, f
Check "Botones disables cmdSalir", cmdSalir.Enabled, False
Check "Botones disables BtnOk", btnOk.Enabled, False
Check "Botones disables CmdX", cmdX.Enabled, False
Check "Botones leaves txtNombre", txtNombre.Enabled, True
Check "Botones leaves Opcion", no, False
CheckTrue "a completed walk leaves Control empty", d.Control Is Nothing
d.Botones yes, f
Check "Botones enables again", cmdSalir.Enabled, True

' Objetos and ObjetosValor: a three-letter prefix in any case.
Dim txtNom, txtDom, lblX, chkA, chkB
Set txtNom = NewText("TXTNOMBRE")
Set txtDom = NewText("txtDomicilio")
Set lblX = NewButton("lblTitulo")
Set chkA = NewCheck("chkActivo")
Set chkB = NewCheck("ChkBaja")
Set f = NewForm(Array(txtNom, lblX, txtDom, chkA, chkB))
d.Objetos "txt", no, f
Check "Objetos disables TXTNOMBRE", txtNom.Enabled, False
Check "Objetos disables txtDomicilio", txtDom.Enabled, False
Check "Objetos leaves lblTitulo", lblX.Enabled, True
d.Objetos "txtNom", yes, f
Check "Objetos with a longer prefix changes nothing", txtNom.Enabled, False
d.ObjetosValor "chk", 1, f
Check "ObjetosValor sets chkActivo", chkA.Value, 1
Check "ObjetosValor sets ChkBaja", chkB.Value, 1
Check "ObjetosValor leaves the text boxes", txtNom.Text, "algo"

' Limpia_Textos: any prefix length; a selected control without Text is 438, with the controls
' before it already cleared and Control left on the failing one.
Dim txtNomina
Set txtNomina = NewText("TXTNOMINA")
Set f = NewForm(Array(txtNom, txtDom, txtNomina))
d.Limpia_Textos "txtNom", f
Check "Limpia_Textos clears TXTNOMBRE", txtNom.Text, ""
Check "Limpia_Textos clears TXTNOMINA", txtNomina.Text, ""
Check "Limpia_Textos leaves txtDomicilio", txtDom.Text, "algo"
Set f = NewForm(Array(txtDom, lblX, txtNomina))
txtNomina.Text = "algo"
On Error Resume Next
d.Limpia_Textos "", f
CheckErr "Limpia_Textos on a control without Text", 438, Desc(438)
On Error GoTo 0
Check "the control before the failure was cleared", txtDom.Text, ""
Check "the control after the failure was not", txtNomina.Text, "algo"
CheckTrue "Control holds the failing control", d.Control Is lblX

' Walks over what is not a form.
On Error Resume Next
d.Botones yes, txtDom
CheckErr "Botones on an object without Controls", 438, Desc(438)
d.Botones yes, Nothing
CheckErr "Botones on Nothing", 424, Desc(424)
d.Botones yes, "frmPrueba"
CheckErr "Botones on a text", 424, Desc(424)
On Error GoTo 0

' Efx: steps of 5, the variables Min and Max unchanged.
Set f = NewForm(Array())
lo = 1000
hi = 1012
d.Efx lo, hi, True, f
Check "Efx grows", f.Heights, "1000 1005 1010 "
f.Heights = ""
d.Efx lo, hi, False, f
Check "Efx shrinks", f.Heights, "1012 1007 1002 "
Check "Efx leaves Min", lo, 1000
Check "Efx leaves Max", hi, 1012
On Error Resume Next
d.Efx 32765, 32767, True, f
CheckErr "Efx past 16 bits", 6, Desc(6)
On Error GoTo 0

' FechaValida: accepted dates go, normalised, into the matching controls; rejected ones are
' explained in a box (see forms.stderr) and answered true.
Dim txtFecha, txtFechaNac, txtOtra
Set txtFecha = NewText("txtFecha")
Set txtFechaNac = NewText("TxtFechaNac")
Set txtOtra = NewText("txtOtra")
Set f = NewForm(Array(txtFecha, txtFechaNac, txtOtra))
fec = "15/03/2009"
cont = " txtfecha "
Check "FechaValida accepts 15/03/2009", d.FechaValida(fec, cont, f), False
Check "FechaValida writes Cont back", cont, "TXTFECHA"
Check "FechaValida fills txtFecha", txtFecha.Text, "15/03/2009"
Check "FechaValida fills TxtFechaNac", txtFechaNac.Text, "15/03/2009"
Check "FechaValida leaves txtOtra", txtOtra.Text, "algo"
fec = "31/02/2009"
Check "FechaValida accepts 31/02/2009", d.FechaValida(fec, cont, f), False
Check "FechaValida corrects the day", txtFecha.Text, "28/02/2009"
Check "FechaValida leaves Fec as typed", fec, "31/02/2009"
fec = "00/05/2009"
Check "FechaValida rejects day 0", d.FechaValida(fec, cont, f), True
fec = "15/13/2035"
Check "FechaValida rejects month 13 of 2035", d.FechaValida(fec, cont, f), True
Check "a rejected date changes no control", txtFecha.Text, "28/02/2009"
On Error Resume Next
fec = "15/  /2009"
x = d.FechaValida(fec, cont, f)
CheckErr "FechaValida of a half-filled mask", 13, Desc(13)
On Error GoTo 0

' Derecho: right 1 is the last character; a missing right warns only when asked to.
Check "Derecho 1 of 0011", d.Derecho(1, "0011"), True
Check "Derecho 3 of 0011", d.Derecho(3, "0011"), False
Check "Derecho 5 of 0011", d.Derecho(5, "0011"), False
Check "Derecho 2 of 10", d.Derecho(2, "10"), True
Check "Derecho warns with Modulo", d.Derecho(4, "0011", True, "Ventas"), False
Check "Derecho warns without Modulo", d.Derecho(4, "0011", True), False
On Error Resume Next
x = d.Derecho(2, "1X1")
CheckErr "Derecho of a letter", 13, Desc(13)
x = d.Derecho(256, "1")
CheckErr "Derecho of a right past a Byte", 6, Desc(6)
On Error GoTo 0

Finish
