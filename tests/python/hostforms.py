"""Host forms as a Python GUI would hand them to the library: plain objects whose attributes
are the members the library reads and writes by name."""


class TextBox:
    def __init__(self, text="", enabled=True):
        self.Text = text
        self.Enabled = enabled


class Button:
    def __init__(self, caption="", enabled=True):
        self.Caption = caption
        self.Enabled = enabled


class CheckBox:
    def __init__(self, value=0):
        self.Value = value
        self.Enabled = True


class Named:
    """A control that carries its own Name, as one in a Controls collection does."""

    def __init__(self, name, **members):
        self.Name = name
        self.__dict__.update(members)


class AttributeForm:
    """Controls as attributes, in the order they were set; no Name of their own."""

    def __init__(self):
        self.Caption = "Alta de clientes"
        self.Height = 1000
        self.txtNombre = TextBox("Ana")
        self.txtApellido = TextBox("Luz")
        self.cmdAceptar = Button("Aceptar")
        self.btnSalir = Button("Salir")
        self.chkActivo = CheckBox(1)
        self.lista = [1, 2]  # data, not a control


class CollectionForm:
    """Controls in a Controls list, each with its own Name."""

    def __init__(self, *controls):
        self.Height = 1000
        self.Controls = list(controls)
