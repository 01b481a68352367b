#!/usr/bin/env python3
"""Writes the Designer forms of the outputs, call list, time-of-day triggers and
cameras pages of the parameters window.

Run from anywhere: python3 tools/forms_outputs.py. The .ui files are
committed; this script is kept so that the numbered widgets (loop boxes, call
boxes, day boxes) can be regenerated consistently.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uiwriter import Layout, Spacer, Widget, enum, font, icon, qset, rect, size, sizepolicy, write_form

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")

W = Widget
CENTER = qset("Qt::AlignCenter")


def page(name, width, height, layout):
    return W("QFrame", name, geometry=rect(0, 0, width, height),
             frameShape=enum("QFrame::StyledPanel"), frameShadow=enum("QFrame::Raised"),
             windowTitle="Frame", layout=layout)


def group(name, title, layout, **kw):
    return W("QGroupBox", name, title=title, alignment=CENTER, layout=layout, **kw)


def hspacer(name, w=40, h=20):
    return Spacer(name, False, w, h)


def vspacer(name, w=20, h=40):
    return Spacer(name, True, w, h)


def vline(name, **kw):
    return W("QFrame", name, frameShape=enum("QFrame::VLine"),
             frameShadow=enum("QFrame::Sunken"), **kw)


# -------------------------------------------------------------- outputs page
def exit_func():
    outputs = range(1, 5)
    loops = range(1, 9)

    types = []
    for n in outputs:
        off = {"enabled": False} if n == 4 else {}
        types.append((n - 1, 0, W("QLabel", f"label_{n + 3}", text=f"Выход {n}", **off)))
        types.append((n - 1, 1, W("QComboBox", f"CombobV{n}", **off)))

    passwords = [W("QLineEdit", f"lePass{n}", enabled=False, alignment=CENTER,
                   inputMask=">HHHH;#", text="") for n in outputs]

    shl = [(0, l - 1, W("QLabel", f"l{l}", text=str(l), alignment=CENTER)) for l in loops]
    shl += [(n, l - 1, W("QCheckBox", f"cbSh{n}{l}", enabled=False, text=""))
            for n in outputs for l in loops]

    zones = [W("QComboBox", f"combZone_{n}", minimumSize=size(120, 0),
               **({"enabled": False} if n == 4 else {})) for n in outputs]

    def relays(prefix, texts):
        return [W("QCheckBox", f"{prefix}{n}", text=texts[n - 1],
                  **({"enabled": False} if n == 4 else {})) for n in outputs]

    razm = relays("cbRazm", ["Реле 1", "Реле 2 ", "Реле 3", "Реле 4"])
    save = relays("cbSave", ["Реле 1", "Реле 2", "Реле 3", "Реле 4"])

    top = page("ExitFunc", 702, 322, Layout("grid", "gridLayout_3", [
        (0, 0, group("groupBox", "Режим использования", Layout("grid", "gridLayout_4", types))),
        (0, 1, group("groupBox_2", "Пароль", Layout("vbox", "verticalLayout_2", passwords))),
        (0, 2, group("GbShlPCN", "Шлейфы ПЦН", Layout("grid", "gridLayout", shl))),
        (0, 3, group("gbZones", "Зоны", Layout("vbox", "verticalLayout_3", zones))),
        (0, 4, hspacer("horizontalSpacer")),
        (1, 0, 1, 4, Layout("grid", "gridLayout_2", [
            (0, 1, group("groupBox_3",
                         "Установка реле в режиме ПЦН размокнутым в состоянии \"открыто\"",
                         Layout("hbox", "horizontalLayout_2",
                                [hspacer("horizontalSpacer_2")] + razm))),
            (1, 1, group("groupBox_4", "Восстанавливать состояние реле после перезапуска",
                         Layout("hbox", "horizontalLayout_3",
                                [hspacer("horizontalSpacer_3")] + save))),
        ])),
        (2, 0, 1, 4, vspacer("verticalSpacer")),
    ]))
    write_form(os.path.join(FORMS, "ExitFunc.ui"), "ExitFunc", top)


# ------------------------------------------------------------ call list page
def zvonki():
    fixed = sizepolicy("Fixed", "Fixed")
    parts = []
    for p in range(1, 6):
        c0 = 1 if p == 1 else 0  # number 1 has the loop labels in front
        suffix = "" if p == 1 else f"_{p}"
        items = [
            (0, c0, 1, 6, W("QLineEdit", f"leNum_{p}", readOnly=True,
                            inputMask="000-000-00-00;*", text="---")),
            (1, c0, 1, 3, W("QLabel", "label" + suffix, text=" Откр/Закр", alignment=CENTER)),
            (1, c0 + 3, 1, 3, W("QLabel", f"label_{p + 5}", text="Трев.", alignment=CENTER)),
        ]
        for k, col in enumerate((0, 2, 3, 5)):
            items.append((2, c0 + col, 8, 1, hspacer(f"horizontalSpacer_{p}_{k + 1}")))
        for l in range(1, 9):
            if p == 1:
                items.append((l + 1, 0, W("QLabel", f"lAl_{l}", text=f"№{l}")))
            items.append((l + 1, c0 + 1, W("QCheckBox", f"cbOpCl_{p}_{l}", sizePolicy=fixed,
                                           text="")))
            items.append((l + 1, c0 + 4, W("QCheckBox", f"cbAlarm_{p}_{l}", sizePolicy=fixed,
                                           text="")))
        items.append((10, c0, 1, 6, Layout("hbox", "horizontalLayout" + suffix, [
            W("QToolButton", f"tbCheckAll_{p}", toolTip="Установить все",
              text="Установить все", icon=icon(":/icons/apply.png")),
            W("QToolButton", f"tbUncheckAll_{p}", toolTip="Снять все", text="Снять все",
              icon=icon(":/icons/cancel.png")),
        ])))
        parts.append(Layout("grid", "gridLayout" + suffix, items))

    row = []
    for p, line in zip(range(1, 6), ["line", "line_3", "line_4", "line_9", None]):
        row.append(parts[p - 1])
        if line:
            row.append(vline(line, minimumSize=size(0, 70)))

    top = page("Zvonki", 650, 372, Layout("grid", "gridLayout_6", [
        (0, 0, group("groupBox", "Номер телефона", Layout("hbox", "horizontalLayout_6", row))),
        (1, 0, vspacer("verticalSpacer")),
    ]))
    write_form(os.path.join(FORMS, "Zvonki.ui"), "Zvonki", top)


# ------------------------------------------------- time-of-day triggers page
def trigg_by_time():
    bold = font(bold=True)
    normal = font(bold=False)

    def head(name, text):
        return W("QLabel", name, text=text, font=bold, alignment=CENTER)

    items = [
        (0, 1, 2, 1, head("label_11", "Время")),
        (0, 2, 2, 1, head("label_12", "Событие")),
        (0, 3, 1, 7, head("label_13", "Дни недели")),
    ]
    for d, day in enumerate(["Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"], start=1):
        items.append((1, d + 2, head(f"label_{13 + d}", day)))
    items.append((1, 10, 11, 1, vline("line")))
    items.append((1, 11, head("label_21", "Все")))
    for n in range(1, 11):
        r = n + 1
        items.append((r, 0, W("QLabel", "label" if n == 1 else f"label_{n}", text=str(n),
                              font=normal, alignment=CENTER)))
        items.append((r, 1, W("QTimeEdit", f"teEvTime_{n}", maximumSize=size(100, 16777215),
                              alignment=CENTER, displayFormat="HH:mm")))
        items.append((r, 2, W("QComboBox", f"comboBEvType_{n}")))
        for d in range(1, 8):
            items.append((r, d + 2, W("QCheckBox", f"cbEvDay_{d}_{n}", text="")))
        items.append((r, 11, W("QCheckBox", f"cbEvAllWeek_{n}", text="")))

    top = page("TriggByTimeFrame", 640, 420, Layout("grid", "gridLayout_2", [
        (0, 0, Layout("grid", "gridLayout", items)),
        (0, 1, hspacer("horizontalSpacer", 395, 20)),
        (1, 0, vspacer("verticalSpacer", 20, 189)),
    ]))
    write_form(os.path.join(FORMS, "TriggByTimeFrame.ui"), "TriggByTimeFrame", top)


# -------------------------------------------------------------- cameras page
def cameras():
    boxes = [W("QCheckBox", f"cbUseCam_{n}", text=str(n), checked=True) for n in range(1, 9)]
    table = W("QTableView", "tvCamerasExec", minimumSize=size(0, 200),
              maximumSize=size(16777215, 200),
              editTriggers=qset("QAbstractItemView::NoEditTriggers"),
              selectionMode=enum("QAbstractItemView::NoSelection"), cornerButtonEnabled=False,
              attributes={"horizontalHeaderDefaultSectionSize": 75,
                          "verticalHeaderDefaultSectionSize": 20,
                          "verticalHeaderMinimumSectionSize": 20})
    top = page("Cameras", 671, 393, Layout("grid", "gridLayout_3", [
        (0, 0, group("groupBox", "Параметры камер", flat=True, layout=Layout(
            "grid", "gridLayout_2", [
                (0, 0, Layout("hbox", "horizontalLayout_2", [
                    W("QLabel", "label", text="Наличие камеры:", alignment=CENTER,
                      sizePolicy=sizepolicy("Expanding", "Preferred")),
                ] + boxes + [hspacer("horizontalSpacer")])),
                (1, 0, group("groupBox_2", "Таблица соответствия \"Шлейф - Камера\" ",
                             Layout("grid", "gridLayout", [(0, 0, table)], margins=[8, None, 8, None]))),
                (2, 0, vspacer("verticalSpacer")),
            ]))),
    ]))
    write_form(os.path.join(FORMS, "Cameras.ui"), "Cameras", top)


def main():
    exit_func()
    zvonki()
    trigg_by_time()
    cameras()


if __name__ == "__main__":
    main()
