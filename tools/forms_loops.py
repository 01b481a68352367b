#!/usr/bin/env python3
"""Writes the Designer forms of the loop pages of the parameters window: the
loop range dialog, the loop ranges page, the loop functions page and the
delays page.

Run from anywhere: python3 tools/forms_loops.py. The .ui files are committed;
this script is kept so that the numbered loop rows can be regenerated.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uiwriter import Layout, Raw, Spacer, Widget, enum, font, icon, qset, rect, size, write_form

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")

W = Widget
CENTER = qset("Qt::AlignCenter")
LEFT = qset("Qt::AlignLeading|Qt::AlignLeft|Qt::AlignVCenter")
RIGHT = qset("Qt::AlignRight|Qt::AlignTrailing|Qt::AlignVCenter")
BAR = ("NaprLines", "QFrame", "editor/NaprLines.h")

# The five scale marks of a loop: object name stem, form text, alignment.
SCALE = (("lScaleLeft", "0", LEFT), ("lScaleLC", "256", LEFT), ("lScaleCenter", "512", CENTER),
         ("lScaleCR", "768", RIGHT), ("lScaleRight", "1023", RIGHT))


def label(name, text, **kw):
    return W("QLabel", name, text=text, **kw)


def hspacer(name, w=40, h=20):
    return Spacer(name, False, w, h)


def vspacer(name, w=20, h=40):
    return Spacer(name, True, w, h)


def panel(name, layout, **kw):
    return W("QFrame", name, frameShape=enum("QFrame::StyledPanel"),
             frameShadow=enum("QFrame::Raised"), windowTitle="Frame", layout=layout, **kw)


# ------------------------------------------------------------ range dialog
def nastr_shl():
    caption = Raw("<font><italic>true</italic><underline>true</underline></font>")

    def slider(name, ticks):
        return W("QSlider", name, maximum=1023, singleStep=30, pageStep=30,
                 orientation=enum("Qt::Horizontal"), tickPosition=enum(ticks),
                 tickInterval=256)

    def value(name):
        return W("QLineEdit", name, text="0", readOnly=True, alignment=CENTER)

    numbers = W("QGroupBox", "groupBox_2", title="Числовые значения", alignment=CENTER,
                layout=Layout("grid", "gridLayout", [
                    (0, 1, label("label_2", "Min", alignment=CENTER)),
                    (0, 2, 4, 1, W("QFrame", "line", frameShape=enum("QFrame::VLine"),
                                   frameShadow=enum("QFrame::Sunken"))),
                    (0, 3, label("label_3", "Max", alignment=CENTER)),
                    (1, 0, label("lMin", "Тревога", alignment=RIGHT)),
                    (1, 1, value("leMinD1")), (1, 3, value("leMaxD1")),
                    (2, 0, label("lCenter", "Норма", alignment=RIGHT)),
                    (2, 1, value("leMinD2")), (2, 3, value("leMaxD2")),
                    (3, 0, label("lMax", "Неисправность", alignment=RIGHT)),
                    (3, 1, value("leMinD3")), (3, 3, value("leMaxD3")),
                ]))
    group = W("QGroupBox", "GroupBox1", title="Настройка диапазонов на шлейфе №1",
              alignment=CENTER, layout=Layout("vbox", "verticalLayout_2", [
                  label("label_4", "Установка минимальной границы (тревога)", font=caption,
                        alignment=CENTER),
                  slider("slNMin", "QSlider::TicksBelow"),
                  Layout("hbox", "scaleLayout", [
                      label(name, text, alignment=align) for name, text, align in SCALE]),
                  slider("slNMax", "QSlider::TicksAbove"),
                  label("label_7", "Установка максимальной границы (неисправность)",
                        font=caption, alignment=CENTER),
                  W(BAR[0], "nLine", minimumSize=size(0, 16), autoFillBackground=True),
                  numbers,
                  Layout("hbox", "checkLayout", [
                      hspacer("checkSpacerLeft"),
                      W("QCheckBox", "cbObrShl", text="Обратный шлейф"),
                      W("QCheckBox", "cbForAll", text="Применить для всех"),
                      hspacer("checkSpacerRight"),
                  ]),
                  W("QPushButton", "bDefValue", text="Значения по умолчанию"),
              ]))
    top = W("QDialog", "NastrShl", geometry=rect(0, 0, 420, 470),
            windowTitle="Настройка диапазонов шлейфа", windowModality=enum("Qt::WindowModal"),
            layout=Layout("vbox", "verticalLayout", [
                group,
                Layout("hbox", "buttonLayout", [
                    hspacer("buttonSpacer"),
                    W("QPushButton", "pbApply", text="Применить"),
                    W("QPushButton", "pbCancel", text="Отмена"),
                ]),
            ]))
    write_form(os.path.join(FORMS, "NastrShl.ui"), "NastrShl", top, customwidgets=[BAR])


# -------------------------------------------------------- loop ranges page
def lim_napr_sh():
    items = []
    for n in range(1, 9):
        r = 2 * (n - 1)
        items += [
            (r, 0, 2, 1, W("QPushButton", f"pbAlarmLoop_{n}", text=f"Шлейф №{n}",
                           icon=icon(":/icons/opts.png"))),
            (r, 1, 2, 1, W("QComboBox", f"cmbSensors_{n}", minimumSize=size(130, 0))),
            (r, 2, 1, 5, W(BAR[0], f"rangeLine_{n}", minimumSize=size(0, 14),
                           autoFillBackground=True)),
            (r, 7, 2, 1, W("QCheckBox", f"cbRadio_{n}", text="Р/Д", toolTip="Радиодатчик")),
        ]
        items += [(r + 1, 2 + k, label(f"{name}_{n}", text, alignment=align))
                  for k, (name, text, align) in enumerate(SCALE)]
    items.append((16, 0, 1, 2, W("QPushButton", "pbDefaultAll",
                                 text="По умолчанию для всех шлейфов ")))
    group = W("QGroupBox", "GroupBox", title="Настройка шлейфов:",
              layout=Layout("grid", "gridLayout_2", items))
    top = panel("LimNaprSh", Layout("vbox", "verticalLayout", [group, vspacer("verticalSpacer")]),
                geometry=rect(0, 0, 719, 520))
    write_form(os.path.join(FORMS, "LimNaprSh.ui"), "LimNaprSh", top, customwidgets=[BAR])


# ------------------------------------------------------ loop functions page
def func_shl():
    bold = font(bold=True)

    # Every row of the four boxes has one height, so the check boxes stand
    # level with their loop's combo boxes.
    row = size(0, 26)

    def head_gap(name):
        return Spacer(name, True, 20, 26, "QSizePolicy::Fixed")

    def combos(box, title, stem, gap, with_numbers):
        items = [(0, 0, 1, 2, head_gap(gap))]
        for n in range(1, 9):
            if with_numbers:
                items.append((n, 0, label(f"l{n}", str(n), font=bold, minimumSize=row)))
            items.append((n, 1, W("QComboBox", f"{stem}{n}", minimumSize=row)))
        items.append((9, 0, 1, 2, vspacer(f"{gap}End")))
        return W("QGroupBox", box, title=title, layout=Layout("grid", f"grid{box}", items))

    def checks(box, siren_head, light_head, siren, light):
        head = size(0, 20)
        items = [(0, 0, label(siren_head, "Сирену", minimumSize=head, maximumSize=size(16777215, 20))),
                 (0, 1, label(light_head, "Свет", minimumSize=head, maximumSize=size(16777215, 20)))]
        for n in range(1, 9):
            items += [(n, 0, W("QCheckBox", f"{siren}{n}", minimumSize=row)),
                      (n, 1, W("QCheckBox", f"{light}{n}", minimumSize=row))]
        items.append((9, 0, 1, 2, vspacer(f"{box}End")))
        return W("QGroupBox", box, title="Использовать", layout=Layout("grid", f"grid{box}", items))

    top = panel("FuncShl", Layout("vbox", "verticalLayout", [
        Layout("hbox", "horizontalLayout", [
            combos("Gb1", "В сост. \"снят с охраны\"", "CombobSOS", "gapSOS", True),
            checks("Gb2", "label", "label_4", "cbSOSir", "cbSOSv"),
            combos("Gb3", "В сост. \"взят под охрану\"", "CombobVOS", "gapVOS", False),
            checks("Gb4", "label_2", "label_7", "cbVOSir", "cbVOSv"),
        ]),
        W("QGroupBox", "gbAddPars", title="Дополнительные параметры:",
          layout=Layout("vbox", "verticalLayout_2", [
              W("QCheckBox", "cbErrOpClEn",
                text="Разрешить ошибку взятия/снятия с охраны для всех шлейфов")])),
        vspacer("verticalSpacer"),
    ]), geometry=rect(0, 0, 719, 394))
    write_form(os.path.join(FORMS, "FuncShl.ui"), "FuncShl", top)


# -------------------------------------------------------------- delays page
def delay_func_frame():
    bold = font(bold=True)

    def direction(box, title, off_label, off, time_label, combo, loops_label, num, radio):
        items = [
            (0, 0, label(off_label, "Не использовать")),
            (0, 1, W("QRadioButton", off, checked=True)),
            (1, 0, label(time_label, "Установка времени задержки:")),
            (1, 1, 1, 8, W("QComboBox", combo)),
            (2, 0, 2, 1, label(loops_label, "Использовать для шлейфа №:")),
        ]
        for n in range(1, 9):
            items += [(2, n, label(f"{num}{n}", str(n), alignment=CENTER)),
                      (3, n, W("QRadioButton", f"{radio}{n}"))]
        return W("QGroupBox", box, title=title, layout=Layout("grid", f"grid{box}", items))

    top = panel("DelayFuncFrame", Layout("vbox", "verticalLayout", [
        label("lInfo", "Информация о заблокированном шлейфе", font=bold),
        label("lDelayNoEn", "Тип объекта: \"Сложный\". Функции этой вкладки не доступны.",
              font=bold),
        W("QGroupBox", "GbM1", title="Функция \"Задержка постановки/снятия\"",
          layout=Layout("vbox", "verticalLayout_2", [
              direction("GbPO", "При постановке на охрану", "LnuP", "RbnuP", "label_5", "CbP",
                        "LShlP", "lp", "RbPShl"),
              direction("GbSO", "При снятии с охраны", "LnuS", "RbnuS", "label_10", "CbS",
                        "LShlS", "ls", "RbSShl"),
          ])),
        vspacer("verticalSpacer"),
    ]), geometry=rect(0, 0, 719, 394))
    write_form(os.path.join(FORMS, "DelayFuncFrame.ui"), "DelayFuncFrame", top)


if __name__ == "__main__":
    nastr_shl()
    lim_napr_sh()
    func_shl()
    delay_func_frame()
