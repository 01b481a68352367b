#!/usr/bin/env python3
"""Writes the Designer form of the thermometer window.

Run from anywhere: python3 tools/forms_therms.py. The .ui file is committed;
the rows of the list are built in code.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uiwriter import (Layout, Spacer, Widget, enum, font, icon, palette_role, qset, rect, size,
                      write_form)

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")
W = Widget
CENTER = qset("Qt::AlignCenter")
BOLD = font(bold=True)


def label(name, text, **kw):
    return W("QLabel", name, text=text, **kw)


def button(name, text, **kw):
    return W("QPushButton", name, text=text, **kw)


def hspacer(name, w=40, h=20):
    return Spacer(name, False, w, h)


def therms_dialog():
    top_row = Layout("hbox", "hlButtons", [
        button("pbSearchTherms", "Поиск термометров", icon=icon(":/icons/search.png")),
        button("pbReadTherms", "Запрос термометров", icon=icon(":/icons/thermometer.png"),
               checkable=True, checked=True),
        hspacer("hsButtons")])
    header = Layout("hbox", "hlHeader", [
        label("label", "     №", font=BOLD, alignment=CENTER),
        label("label_2", "            Серийный номер", font=BOLD,
              minimumSize=size(130, 0),
              alignment=qset("Qt::AlignLeading|Qt::AlignLeft|Qt::AlignVCenter")),
        hspacer("hsHeaderLeft"),
        label("label_3", "Диапазон", font=BOLD, alignment=CENTER),
        hspacer("hsHeaderRight")])
    # The window puts a content widget of its own into the scroll area.
    scroll = W("QScrollArea", "saThermsList", widgetResizable=True,
               verticalScrollBarPolicy=enum("Qt::ScrollBarAlwaysOn"),
               horizontalScrollBarPolicy=enum("Qt::ScrollBarAlwaysOff"),
               children=[W("QWidget", "scrollAreaWidgetContents")])
    write_row = Layout("hbox", "hlWrite", [
        hspacer("hsWriteLeft"),
        button("pbWriteTherms", "Записать структуру термометров",
               icon=icon(":/icons/forward.png")),
        hspacer("hsWriteRight")])
    bottom = Layout("hbox", "hlClose", [
        hspacer("hsClose"),
        button("pbCancel", "Закрыть", icon=icon(":/icons/exit.png"))])
    top = W("QDialog", "ThermsDSDialog", geometry=rect(0, 0, 642, 562),
            windowTitle="Настройка термометров",
            layout=Layout("vbox", "verticalLayout", [
                top_row, header, scroll, write_row,
                label("lWriteOk", "Термометры успешно записаны!", font=BOLD, alignment=CENTER,
                      palette=palette_role("WindowText", 4, 152, 41)),
                bottom]))
    write_form(os.path.join(FORMS, "ThermsDSDialog.ui"), "ThermsDSDialog", top)


def main():
    therms_dialog()


if __name__ == "__main__":
    main()
