' The stored photo of a name shown on a host form (C:\Ponderix\Fotos, made by run.sh), and the
' capture window, which closes itself unattended (photo.stderr).
suite = "photo"

Class Image
  Public Name
  Public Picture
  Public Stretch
End Class

Class Form
  Public Name
  Public Controls
End Class

Dim d, f, img, who, where, x
Set d = CreateObject("VelmoraSys.Dolva")
Set img = New Image
img.Name = "Image1"
img.Stretch = False
Set f = New Form
f.Name = "frmFoto"
f.Controls = Array(img)

' JUAN.BMP is found for "juan": the search and the extension test ignore case.
who = "juan"
d.Fotografia who, f
CheckTrue "Fotografia shows a picture", IsObject(img.Picture)
Check "the picture is a bitmap", img.Picture.Type, 1
Check "Fotografia stretches it", img.Stretch, True
Check "Fotografia leaves Archivo", who, "juan"

d.NOFoto f
CheckTrue "NOFoto empties the image", img.Picture Is Nothing

' ANA.jpg holds JPEG data: loaded by its content too.
d.Fotografia "ana", f
CheckTrue "Fotografia shows a JPEG", IsObject(img.Picture)
Check "the JPEG picture's width (3 pixels in HIMETRIC)", img.Picture.Width, CLng(79)
d.NOFoto f

d.Fotografia "juan", f
d.Fotografia "nadie", f
CheckTrue "no photo for the name empties the image", img.Picture Is Nothing

' A .jpg that holds no picture: 481, and the form keeps what it had.
d.Fotografia "juan", f
On Error Resume Next
d.Fotografia "roto", f
CheckErr "a file that is no picture", 481, Desc(481)
On Error GoTo 0
CheckTrue "the form keeps its picture", IsObject(img.Picture)

' A name is a name, never a path, a pattern, a stream or a device: each of these finds no photo
' and empties the image, as a name without a photo does, though most would reach JUAN.BMP
' through the folder or as a pattern.
Dim bad
For Each bad In Array("j?an", "*", "JU*", "..\Fotos\juan", "..\..\Ponderix\Fotos\JUAN", _
                      "C:juan", "\\server\share", "juan:stream", "CON", "NUL", "COM1", "", ".")
  d.Fotografia "juan", f
  who = bad
  d.Fotografia who, f
  CheckTrue "no photo for the name """ & bad & """", img.Picture Is Nothing
  Check "Fotografia leaves Archivo """ & bad & """", who, bad
Next

' The capture window, closed by its close box when nobody attends it: the photo path stays as it
' was (empty on the thread's first call).
who = " juan "
where = "C:\Ponderix\Fotos"
x = d.PhotoWay(who, where)
Check "PhotoWay closed at once", x, ""
Check "PhotoWay leaves Nombre", who, " juan "
Check "PhotoWay leaves Ruta", where, "C:\Ponderix\Fotos"

Finish
