"""A tiny writer of Qt Designer .ui files.

The forms of the shell and of the neighbour windows are described in Python
(tools/make_forms.py) and written out as ordinary Designer files, so that the
numbered widget rows stay consistent and the files can still be opened and
edited in Designer afterwards.
"""

from xml.sax.saxutils import escape

QRC = "../resources/icons.qrc"


class Raw:
    """A property value given as ready XML."""

    def __init__(self, xml):
        self.xml = xml


def enum(v):
    return Raw(f"<enum>{v}</enum>")


def qset(v):
    return Raw(f"<set>{v}</set>")


def size(w, h):
    return Raw(f"<size><width>{w}</width><height>{h}</height></size>")


def rect(x, y, w, h):
    return Raw(f"<rect><x>{x}</x><y>{y}</y><width>{w}</width><height>{h}</height></rect>")


def icon(path):
    return Raw(f'<iconset resource="{QRC}"><normaloff>{path}</normaloff>{path}</iconset>')


def font(bold=None, italic=None, family=None, point=None):
    parts = []
    if family:
        parts.append(f"<family>{family}</family>")
    if point:
        parts.append(f"<pointsize>{point}</pointsize>")
    if italic is not None:
        parts.append(f"<italic>{'true' if italic else 'false'}</italic>")
    if bold is not None:
        parts.append(f"<bold>{'true' if bold else 'false'}</bold>")
    return Raw("<font>" + "".join(parts) + "</font>")


def sizepolicy(h, v):
    return Raw(f'<sizepolicy hsizetype="{h}" vsizetype="{v}"><horstretch>0</horstretch>'
               f"<verstretch>0</verstretch></sizepolicy>")


def palette_role(role, r, g, b):
    brush = (f'<colorrole role="{role}"><brush brushstyle="SolidPattern"><color alpha="255">'
             f"<red>{r}</red><green>{g}</green><blue>{b}</blue></color></brush></colorrole>")
    return Raw(f"<palette><active>{brush}</active><inactive>{brush}</inactive>"
               f"<disabled>{brush}</disabled></palette>")


def value_xml(v):
    if isinstance(v, Raw):
        return v.xml
    if isinstance(v, bool):
        return f"<bool>{'true' if v else 'false'}</bool>"
    if isinstance(v, int):
        return f"<number>{v}</number>"
    if isinstance(v, float):
        return f"<double>{v}</double>"
    return f"<string>{escape(v)}</string>"


def props_xml(props, ind):
    out = []
    for k, v in props.items():
        out.append(f'{ind}<property name="{k}">{value_xml(v)}</property>')
    return out


class Spacer:
    def __init__(self, name, vertical=False, w=40, h=20, policy="QSizePolicy::Expanding"):
        self.name, self.vertical, self.w, self.h, self.policy = name, vertical, w, h, policy

    def xml(self, ind):
        o = "Qt::Vertical" if self.vertical else "Qt::Horizontal"
        return [f'{ind}<spacer name="{self.name}">',
                f'{ind} <property name="orientation"><enum>{o}</enum></property>',
                f'{ind} <property name="sizeType"><enum>{self.policy}</enum></property>',
                f'{ind} <property name="sizeHint" stdset="0">{size(self.w, self.h).xml}</property>',
                f"{ind}</spacer>"]


class Layout:
    """kind: grid, vbox or hbox. items: for grid (row, col, item) or
    (row, col, rowspan, colspan, item); for boxes the items themselves."""

    def __init__(self, kind, name, items, spacing=None, margins=None, columnstretch=None):
        self.kind, self.name, self.items = kind, name, items
        self.spacing, self.margins, self.columnstretch = spacing, margins, columnstretch

    def xml(self, ind):
        cls = {"grid": "QGridLayout", "vbox": "QVBoxLayout", "hbox": "QHBoxLayout"}[self.kind]
        extra = f' columnstretch="{self.columnstretch}"' if self.columnstretch else ""
        out = [f'{ind}<layout class="{cls}" name="{self.name}"{extra}>']
        if self.spacing is not None:
            out.append(f'{ind} <property name="spacing"><number>{self.spacing}</number></property>')
        if self.margins is not None:
            m = self.margins if isinstance(self.margins, (list, tuple)) else [self.margins] * 4
            for side, val in zip(("leftMargin", "topMargin", "rightMargin", "bottomMargin"), m):
                if val is None:
                    continue
                out.append(f'{ind} <property name="{side}"><number>{val}</number></property>')
        for it in self.items:
            if self.kind == "grid":
                if len(it) == 3:
                    r, c, item = it
                    rs, cs = 1, 1
                else:
                    r, c, rs, cs, item = it
                span = ""
                if rs != 1 or cs != 1:
                    span = f' rowspan="{rs}" colspan="{cs}"'
                out.append(f'{ind} <item row="{r}" column="{c}"{span}>')
            else:
                item = it
                out.append(f"{ind} <item>")
            out += item.xml(ind + "  ")
            out.append(f"{ind} </item>")
        out.append(f"{ind}</layout>")
        return out


class Widget:
    def __init__(self, cls, name, layout=None, children=(), attributes=None, actions=(),
                 **props):
        self.cls, self.name, self.layout = cls, name, layout
        self.children, self.attributes, self.actions = list(children), attributes or {}, actions
        self.props = props

    def xml(self, ind):
        out = [f'{ind}<widget class="{self.cls}" name="{self.name}">']
        for k, v in self.attributes.items():
            out.append(f'{ind} <attribute name="{k}">{value_xml(v)}</attribute>')
        out += props_xml(self.props, ind + " ")
        if self.layout is not None:
            out += self.layout.xml(ind + " ")
        for ch in self.children:
            out += ch.xml(ind + " ")
        for a in self.actions:
            out.append(f'{ind} <addaction name="{a}"/>')
        out.append(f"{ind}</widget>")
        return out


class Action:
    def __init__(self, name, **props):
        self.name, self.props = name, props

    def xml(self, ind):
        out = [f'{ind}<action name="{self.name}">']
        out += props_xml(self.props, ind + " ")
        out.append(f"{ind}</action>")
        return out


def write_form(path, cls, top, actions=(), connections=(), customwidgets=()):
    out = ['<?xml version="1.0" encoding="UTF-8"?>', '<ui version="4.0">', f" <class>{cls}</class>"]
    body = top.xml(" ")
    if actions:
        # Actions sit inside the top widget, after its children.
        closing = body.pop()
        for a in actions:
            body += a.xml("  ")
        body.append(closing)
    out += body
    if customwidgets:
        out.append(" <customwidgets>")
        for name, base, header in customwidgets:
            out.append(f"  <customwidget><class>{name}</class><extends>{base}</extends>"
                       f"<header>{header}</header></customwidget>")
        out.append(" </customwidgets>")
    out.append(f' <resources>\n  <include location="{QRC}"/>\n </resources>')
    if connections:
        out.append(" <connections>")
        for s, sig, r, slot in connections:
            out.append(f"  <connection><sender>{s}</sender><signal>{sig}</signal>"
                       f"<receiver>{r}</receiver><slot>{slot}</slot></connection>")
        out.append(" </connections>")
    else:
        out.append(" <connections/>")
    out.append("</ui>")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
