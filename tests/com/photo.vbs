' The stored photo of a name shown on a host form (C:\Ponderix\Fotos, made by run.sh), and the
' capture window, which this build for Windows does not have.
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

' The capture window is not part of this build: PhotoWay fails with a clear error.
who = " juan "
where = "C:\Ponderix\Fotos"
On Error Resume Next
x = d.PhotoWay(who, where)
CheckErr "PhotoWay", 5, U("Las ventanas de la biblioteca no est\e1n disponibles en esta versi\f3n para Windows")
On Error GoTo 0
Check "PhotoWay leaves Nombre", who, " juan "

Finish
