#!/usr/bin/env python3
"""Writes the Designer forms of the live service windows: test mode, device
clock and GSM level, thermometers.

Run from anywhere: python3 tools/forms_service.py. The .ui files are
committed; this script keeps their numbered rows consistent.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uiwriter import Layout, Raw, Spacer, Widget, enum, font, icon, qset, rect, size, sizepolicy, write_form

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")
W = Widget
CENTER = qset("Qt::AlignCenter")


def label(name, text, **kw):
    return W("QLabel", name, text=text, **kw)


def button(name, text, **kw):
    # Enter presses no button of these live windows. A dialog would make its
    # first auto-default button the default one: Enter in the signal list
    # would switch the siren on, Enter in the hand-set time would write the
    # computer's time instead.
    return W("QPushButton", name, text=text, autoDefault=False, **kw)


def hspacer(name, w=40, h=20):
    return Spacer(name, False, w, h)


def vspacer(name, w=20, h=40):
    return Spacer(name, True, w, h)


def color(r, g, b):
    return (f'<color alpha="255"><red>{r}</red><green>{g}</green><blue>{b}</blue></color>')


def window_palette(active, disabled):
    """A palette whose window colour is `active` when enabled and `disabled`
    when disabled (the mains indicator shows its state by being enabled)."""
    def role(rgb):
        return (f'<colorrole role="Window"><brush brushstyle="SolidPattern">{color(*rgb)}'
                f"</brush></colorrole>")
    return Raw(f"<palette><active>{role(active)}</active><inactive>{role(active)}</inactive>"
               f"<disabled>{role(disabled)}</disabled></palette>")


SCALE_MARKS = (("lScaleLeft", "0"), ("lScaleLC", "256"), ("lScaleCenter", "512"),
               ("lScaleCR", "768"), ("lScaleRight", "1023"))


# ---------------------------------------------------------------- test window
def test_prib():
    rows = [(0, 0, 1, 4, label("label_8", "№  Значение"))]
    for n in range(1, 9):
        r = 2 * n - 1
        number = "LSh1" if n == 1 else f"LShl{n}"
        scales = Layout("hbox", f"hlScale_{n}", [
            label(f"{name}_{n}", text, alignment=qset(
                "Qt::AlignLeft" if k == 0 else "Qt::AlignRight" if k == 4 else "Qt::AlignHCenter"))
            for k, (name, text) in enumerate(SCALE_MARKS)])
        rows += [
            (r, 0, label(number, str(n))),
            (r, 1, W("QLineEdit", f"LeShl{n}", readOnly=True, alignment=CENTER,
                     minimumSize=size(60, 0), maximumSize=size(70, 16777215))),
            (r, 2, W("QSlider", f"SlShl{n}", orientation=enum("Qt::Horizontal"), maximum=1023,
                     singleStep=0, pageStep=0, tickPosition=enum("QSlider::TicksBelow"),
                     tickInterval=256, minimumSize=size(300, 0))),
            (r, 3, W("QFrame", f"wLed{n}", frameShape=enum("QFrame::Panel"),
                     frameShadow=enum("QFrame::Sunken"), lineWidth=1,
                     minimumSize=size(41, 12), maximumSize=size(41, 12), autoFillBackground=True,
                     palette=window_palette((182, 182, 182), (182, 182, 182)))),
            (r + 1, 2, scales),
        ]
    loops = W("QGroupBox", "groupBox_5", title="Контроль показаний на шлейфах:",
              layout=Layout("grid", "gridLayout_2", rows + [(17, 0, 1, 4, vspacer("vsLoops"))]))
    power = W("QGroupBox", "groupBox", title="Контроль напряжения питания:",
              layout=Layout("vbox", "verticalLayout_2", [
                  W("QSlider", "slNaprPower", orientation=enum("Qt::Horizontal"), maximum=150,
                    singleStep=0, pageStep=0, tickPosition=enum("QSlider::TicksBelow"),
                    tickInterval=10),
                  label("label_9", "0 В                           5 В                          "
                                   "10 В       12 В            15 В"),
                  Layout("hbox", "horizontalLayout_3", [
                      label("label_2", "Напряжение"),
                      W("QLineEdit", "leNaprPower", readOnly=True, text="0.00", alignment=CENTER,
                        maximumSize=size(60, 16777215)),
                      label("label_3", "Вольт"), hspacer("hsPower")]),
              ]))
    mains = W("QGroupBox", "groupBox_2", title="Контроль наличия 220 Вольт:",
              layout=Layout("hbox", "horizontalLayout_4", [
                  W("QFrame", "frLed220", frameShape=enum("QFrame::Box"),
                    frameShadow=enum("QFrame::Sunken"), minimumSize=size(50, 17),
                    maximumSize=size(50, 17), autoFillBackground=True,
                    palette=window_palette((26, 198, 0), (211, 0, 0))),
                  label("leNapr220", "Напряжение 220 Вольт отсутствует"), hspacer("hsMains")]))
    key = W("QGroupBox", "groupBox_3", title="Контроль прикладывания ключа:",
            layout=Layout("hbox", "horizontalLayout_5", [
                label("label_4", "Номер ключа:"),
                W("QLCDNumber", "lcdNumKey", segmentStyle=enum("QLCDNumber::Flat"),
                  frameShape=enum("QFrame::Box"), frameShadow=enum("QFrame::Raised"),
                  digitCount=3, minimumSize=size(70, 30)),
                hspacer("hsKey")]))
    outputs = W("QGroupBox", "groupBox_4", title="Тест сирены и света:",
                layout=Layout("hbox", "horizontalLayout_6", [
                    button("pbSirena", "Включить сирену"), button("pbLight", "Включить свет")]))
    touch = W("QGroupBox", "gbTouchMemoryTest", title="Тест индикатора TouchMemory:",
              layout=Layout("vbox", "verticalLayout_4", [
                  label("label_5", "Выбор сигнала:"),
                  W("QComboBox", "CbTouchSigs"),
                  button("pbSendSignal", "Послать сигнал")]))
    left = Layout("vbox", "verticalLayout_3", [power, mains, key, outputs, touch,
                                               vspacer("vsLeft")])
    top = W("QDialog", "TestPrib", geometry=rect(0, 0, 807, 478),
            windowTitle="Тестирование оборудования", windowModality=enum("Qt::WindowModal"),
            modal=True,
            layout=Layout("grid", "gridLayout", [
                (0, 0, left),
                (0, 1, loops),
                (1, 0, 1, 2, Layout("hbox", "horizontalLayout", [
                    hspacer("hsCancel"),
                    button("pbCancel", "Выйти из тестового режима",
                           icon=icon(":/icons/exit.png"))])),
            ]))
    write_form(os.path.join(FORMS, "TestPrib.ui"), "TestPrib", top)


# --------------------------------------------------------------- time window
def time_dialog():
    def dte(name, read_only, last_year=3000):
        kw = dict(readOnly=True, buttonSymbols=enum("QAbstractSpinBox::NoButtons")) \
            if read_only else {}
        return W("QDateTimeEdit", name, alignment=qset("Qt::AlignLeading|Qt::AlignLeft|"
                                                       "Qt::AlignVCenter"),
                 displayFormat="dd.MM.yyyy HH:mm:ss", calendarPopup=True,
                 minimumDateTime=Raw("<datetime><hour>0</hour><minute>0</minute><second>0"
                                     "</second><year>2000</year><month>1</month><day>1</day>"
                                     "</datetime>"),
                 maximumDateTime=Raw(f"<datetime><hour>23</hour><minute>59</minute><second>59"
                                     f"</second><year>{last_year}</year><month>12</month>"
                                     f"<day>31</day></datetime>"), **kw)

    top = W("QDialog", "TimeDialog", geometry=rect(0, 0, 502, 199),
            windowTitle="Настройка времени прибора", windowModality=enum("Qt::WindowModal"),
            layout=Layout("grid", "gridLayout", [
                (0, 0, label("label_2", "Текущее время прибора:")),
                (0, 1, dte("dteCurrentDeviceTime", True)),
                (1, 0, label("label", "Системное время:")),
                (1, 1, dte("dteSystemTime", True)),
                (1, 2, 1, 2, button("pbWriteSystemTime", "Записать системное время",
                                    icon=icon(":/icons/apply.png"))),
                (2, 0, label("label_3", "Ручная установка времени:")),
                # The device keeps two year digits: a later century would be
                # set silently wrong.
                (2, 1, dte("dteNewTime", False, last_year=2099)),
                (2, 2, 1, 2, button("pbWriteTime", "Записать установленное время",
                                    icon=icon(":/icons/apply.png"))),
                (4, 0, 1, 4, W("QGroupBox", "groupBox", title="Уровень сигнала GSM:",
                               layout=Layout("hbox", "horizontalLayout", [
                                   W("QProgressBar", "pBarLevel", minimum=0, maximum=100,
                                     value=0, alignment=CENTER),
                                   button("pbGetSignalLevel", "Запросить",
                                          icon=icon(":/icons/ReadEEPROM.png"))]))),
                (5, 1, 1, 2, button("pbRestart", "Перезапустить прибор",
                                    icon=icon(":/icons/burn.png"))),
                (5, 3, button("pbCancel", "Закрыть", icon=icon(":/icons/exit.png"))),
            ]))
    write_form(os.path.join(FORMS, "TimeDialog.ui"), "TimeDialog", top)


def main():
    for f in (test_prib, time_dialog):
        f()


if __name__ == "__main__":
    main()
