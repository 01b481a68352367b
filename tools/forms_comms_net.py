#!/usr/bin/env python3
"""Writes the Designer forms of the GPRS server, time server, navigation and
remote configuration pages and of the two GSM operator dialogs.

Run from anywhere: python3 tools/forms_comms_net.py. The .ui files are
committed; the script keeps the numbered rows and the twin server groups
consistent when they are regenerated.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uiwriter import Layout, Spacer, Widget, enum, font, icon, qset, rect, size, sizepolicy, \
    write_form

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")

W = Widget
CENTER = qset("Qt::AlignCenter")
IP_MASK = "000.000.000.000;0"
PHONE_MASK = "000-000-00-00;*"


def label(name, text, **kw):
    return W("QLabel", name, text=text, **kw)


def hspacer(name, w=40, h=20):
    return Spacer(name, False, w, h)


def vspacer(name, w=20, h=40):
    return Spacer(name, True, w, h)


def page(cls, w, h, layout):
    return W("QFrame", cls, geometry=rect(0, 0, w, h), frameShape=enum("QFrame::StyledPanel"),
             frameShadow=enum("QFrame::Raised"), windowTitle="Frame", layout=layout)


def spacer_widget(name):
    return W("QWidget", name, sizePolicy=sizepolicy("Expanding", "Preferred"))


def centred(name, widget, n):
    """A row holding the widget between two spacers."""
    return Layout("hbox", name, [hspacer(f"horizontalSpacer_{n}"), widget,
                                 hspacer(f"horizontalSpacer_{n + 1}")])


# ------------------------------------------------------------ GPRS servers
def server_group(box, title, n, labels, ip_text):
    """The controls of server n; labels are the names of its three labels."""
    ip = dict(inputMask=IP_MASK)
    if ip_text:
        ip["text"] = "..."
    return W("QGroupBox", box, title=title, enabled=False,
             layout=Layout("grid", f"gridLayout_s{n}", [
                 (0, 0, label(labels[0], "IP-адрес сервера:")),
                 (0, 1, W("QLineEdit", f"leIP{n}", alignment=CENTER,
                          minimumSize=size(120, 0), **ip)),
                 (1, 0, W("QCheckBox", f"cbUseDNS{n}", text="Использовать DNS")),
                 (1, 1, W("QLineEdit", f"leDNS{n}", maxLength=32, enabled=False)),
                 (2, 0, label(labels[1], "Порт сервера:")),
                 (2, 1, W("QSpinBox", f"sbPort{n}", minimum=0, maximum=99999, alignment=CENTER)),
                 (3, 0, label(labels[2], "Попыток подключения по IP / DNS:")),
                 (3, 1, W("QSpinBox", f"sbPop{n}", minimum=0, maximum=9, alignment=CENTER)),
                 (4, 0, 1, 2, W("QCheckBox", f"cbRewriteIP{n}",
                                text="Перезаписать IP-адрес в EEPROM при успешном "
                                     "подключении по DNS")),
                 (5, 0, 1, 2, W("QCheckBox", f"cbConIP{n}",
                                text="Подключаться по IP-адресу, если подключиться по DNS "
                                     "не удалось")),
             ]))


def con_gprs():
    extra = W("QGroupBox", "groupBox_3", title="Дополнительные параметры:", enabled=False,
              layout=Layout("grid", "gridLayout_3", [
                  (0, 0, label("label_11", "Протокол работы сервера:")),
                  (0, 1, W("QComboBox", "cmbProtocol", minimumSize=size(120, 0))),
                  (0, 2, hspacer("horizontalSpacer_3")),
                  (1, 0, label("lServConnectPass", "Пароль при авторизации на сервере:")),
                  (1, 1, W("QLineEdit", "leServConnectPass", maxLength=31)),
                  (1, 2, spacer_widget("spacerWidget")),
                  (2, 0, label("label_7", "Попыток подключения к серверу до перезагрузки модуля:")),
                  (2, 1, W("QSpinBox", "sbPopunRest", minimum=0, maximum=9, alignment=CENTER)),
                  (2, 2, spacer_widget("spacerWidget_2")),
                  (3, 0, 1, 3, W("QCheckBox", "cbUseSIM2",
                                 text="Для подключения по GPRS использовать также SIM-карту №2")),
                  (4, 0, 1, 3, W("QCheckBox", "cbPrivSIM",
                                 text="При переподключении переходить с SIM №1 на SIM №2 "
                                      "(если передаются частые посылки)")),
              ]))
    top = page("ConGPRS", 719, 394, Layout("vbox", "verticalLayout", [
        centred("horizontalLayout", W("QCheckBox", "cbConGPRS",
                                      text="Подключаться к серверу по GPRS"), 1),
        Layout("vbox", "verticalLayout_2", [
            server_group("groupBox", "Сервер 1", 1, ("label", "label_2", "label_3"), True),
            server_group("groupBox_2", "Сервер 2", 2, ("label_4", "label_5", "label_6"), False),
        ]),
        extra,
        vspacer("verticalSpacer"),
    ]))
    write_form(os.path.join(FORMS, "ConGPRS.ui"), "ConGPRS", top, connections=[
        ("cbUseDNS1", "clicked(bool)", "leDNS1", "setEnabled(bool)"),
        ("cbUseDNS2", "clicked(bool)", "leDNS2", "setEnabled(bool)"),
    ])


# ------------------------------------------------------------- time server
def sntp():
    settings = W("QGroupBox", "gbSntpSettings", title="Настройки выхода на сервер SNTP",
                 enabled=False, alignment=CENTER,
                 layout=Layout("grid", "gridLayout", [
                     (0, 0, Layout("hbox", "horizontalLayout_2", [
                         label("label", "Версия:"),
                         W("QComboBox", "combVer", minimumSize=size(70, 0)),
                         hspacer("horizontalSpacer_3"),
                     ])),
                     (0, 1, Layout("hbox", "horizontalLayout", [
                         label("label_3", "Порт сервера:", sizePolicy=sizepolicy("Fixed",
                                                                                "Preferred")),
                         W("QSpinBox", "sbIPPort", minimum=0, maximum=99999, alignment=CENTER),
                     ])),
                     (1, 0, 1, 2, Layout("hbox", "horizontalLayout_3", [
                         W("QRadioButton", "rbUseIP", checked=True),
                         label("labIPServ", "IP-адрес сервера:"),
                         W("QLineEdit", "leIPserv", inputMask=IP_MASK, text="...",
                           alignment=CENTER),
                         hspacer("horizontalSpacer_4"),
                     ])),
                     (2, 0, 1, 2, Layout("hbox", "horizontalLayout_4", [
                         W("QRadioButton", "rbUseDNS"),
                         label("labDNS", "DNS-имя сервера:"),
                         W("QLineEdit", "leDNS", enabled=False, maxLength=32),
                     ])),
                 ]))
    extra = W("QGroupBox", "groupBox_2", title="Дополнительные параметры:",
              layout=Layout("vbox", "verticalLayout", [
                  Layout("hbox", "horizontalLayout_6", [
                      label("label_6", "Часовой пояс:", alignment=CENTER),
                      W("QComboBox", "comboBPoyas", minimumSize=size(100, 0)),
                      hspacer("horizontalSpacer_5"),
                  ]),
                  Layout("hbox", "horizontalLayout_7", [
                      label("label_7", "Попыток подключения к серверу до перезагрузки модуля:"),
                      W("QSpinBox", "sbPopunRest", minimumSize=size(50, 20), minimum=0,
                        maximum=9, alignment=CENTER),
                      spacer_widget("spacerWidget_2"),
                  ]),
                  W("QCheckBox", "cbUseSIM2",
                    text="Для подключения по GPRS использовать также SIM-карту №2"),
              ]))
    top = page("sntp", 581, 369, Layout("grid", "gridLayout_2", [
        (0, 0, centred("horizontalLayout_5",
                       W("QCheckBox", "cbUseSNTP", enabled=False, text="Использовать SNTP"), 1)),
        (1, 0, settings),
        (2, 0, extra),
        (3, 0, vspacer("verticalSpacer")),
    ]))
    write_form(os.path.join(FORMS, "sntp.ui"), "sntp", top, connections=[
        ("cbUseSNTP", "toggled(bool)", "gbSntpSettings", "setEnabled(bool)"),
    ])


# -------------------------------------------------------------- navigation
HINT = ('<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0//EN" '
        '"http://www.w3.org/TR/REC-html40/strict.dtd">\n'
        '<html><head><meta name="qrichtext" content="1" /><style type="text/css">\n'
        'p, li { white-space: pre-wrap; }\n</style></head><body>\n'
        '<p style="margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; '
        '-qt-block-indent:0; text-indent:0px;"><span style=" font-size:9pt; font-weight:600; '
        'font-style:italic;">Примечание: для активации настроек включите протокол</span></p>\n'
        '<p style="margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; '
        '-qt-block-indent:0; text-indent:0px;"><span style=" font-size:9pt; font-weight:600; '
        'font-style:italic;">' + " " * 20 +
        '&quot;Мирвел&quot; во вкладке &quot;Параметры GPRS&quot;</span></p></body></html>')


def number_label(name, n):
    return label(name, str(n), alignment=CENTER, minimumSize=size(13, 20),
                 sizePolicy=sizepolicy("Fixed", "Preferred"))


def navigation():
    loops = []
    for n in range(1, 9):
        col = {1: 0, 2: 1, 3: 3}.get(n, n)
        span = 2 if n == 2 else 1
        loops.append((0, col, 1, span, number_label(f"lsh{n}", n)))
        loops.append((1, col, 1, span, W("QCheckBox", f"cbSh{n}", text="")))
    loops.append((0, 9, hspacer("horizontalSpacer_2")))
    relays = []
    for n in range(1, 5):
        relays.append((0, n - 1, number_label(f"lr{n}", n)))
        relays.append((1, n - 1, W("QCheckBox", f"cbRele{n}", text="")))
    relays.append((0, 4, hspacer("horizontalSpacer_3")))
    grid_spacing = dict(horizontalSpacing=8, verticalSpacing=0)
    frequent = W("QGroupBox", "gbChastPos", title="Настройка передачи частых посылок:",
                 layout=Layout("vbox", "verticalLayout_3", [
                     Layout("hbox", "horizontalLayout", [
                         label("label_4", "В случае тревоги по шлейфам №:", alignment=CENTER),
                         GridWithSpacing("gridLayout_2", loops, **grid_spacing),
                     ]),
                     Layout("hbox", "horizontalLayout_2", [
                         label("label_5", "В случае блокировки пользовательского реле №:",
                               alignment=CENTER),
                         GridWithSpacing("gridLayout_3", relays, **grid_spacing),
                     ]),
                 ]))
    gps = W("QGroupBox", "gbGPS", title="GPS-приёмник:",
            layout=Layout("hbox", "horizontalLayout_7", [
                W("QRadioButton", "rbGPSYes", text="Есть"),
                W("QRadioButton", "rbGPSNo", text="Нет", checked=True),
            ]))
    filt = W("QGroupBox", "gbFilter", title="Фильтрация координат по расстоянию:",
             layout=Layout("hbox", "horizontalLayout_6", [
                 label("label", "Установка значения:", alignment=CENTER),
                 W("QDoubleSpinBox", "dbFilter", suffix=" км", decimals=3, minimum=0.0,
                   maximum=3329.67, singleStep=0.333),
                 hspacer("horizontalSpacer"),
             ]))
    extra = W("QGroupBox", "gbDopOpt", title="Дополнительные настройки:",
              layout=Layout("vbox", "verticalLayout", [
                  Layout("hbox", "horizontalLayout_8", [
                      label("label_6", "Часовой пояс:", alignment=CENTER),
                      W("QComboBox", "comboBPoyas", minimumSize=size(100, 0)),
                      hspacer("horizontalSpacer_4"),
                      W("QCheckBox", "cbUpdateTimeGPS", text="Обновлять время из GPS"),
                  ]),
              ]))
    top = page("Navigation", 676, 418, Layout("grid", "gridLayout", [
        (0, 0, gps),
        (0, 1, filt),
        (1, 0, 1, 2, frequent),
        (2, 0, 1, 2, extra),
        (2, 2, hspacer("horizontalSpacer_5")),
        (3, 0, 1, 2, W("QLabel", "lHint", text=HINT)),
        (4, 0, 1, 2, vspacer("verticalSpacer")),
    ]))
    write_form(os.path.join(FORMS, "Navigation.ui"), "Navigation", top)


class GridWithSpacing(Layout):
    """A grid layout with separate horizontal and vertical spacing."""

    def __init__(self, name, items, horizontalSpacing, verticalSpacing):
        super().__init__("grid", name, items)
        self.hs, self.vs = horizontalSpacing, verticalSpacing

    def xml(self, ind):
        out = super().xml(ind)
        out[1:1] = [f'{ind} <property name="horizontalSpacing"><number>{self.hs}</number>'
                    f'</property>',
                    f'{ind} <property name="verticalSpacing"><number>{self.vs}</number>'
                    f'</property>']
        return out


# ---------------------------------------------------- remote configuration
def remote_prog_frame():
    def server_row(name, n, labels, spacer):
        return Layout("hbox", name, [
            label(labels[0], f"Адрес сервера {n}:"),
            W("QLineEdit", f"leAdress{n}", maxLength=32),
            label(labels[1], f"Порт сервера {n}:"),
            W("QSpinBox", f"sbPort{n}", minimum=0, maximum=65535, alignment=CENTER),
            hspacer(spacer),
        ])

    def phone(name):
        return W("QLineEdit", name, inputMask=PHONE_MASK, text="---",
                 sizePolicy=sizepolicy("Preferred", "Fixed"))

    top = page("RemoteProgFrame", 639, 411, Layout("vbox", "verticalLayout_2", [
        centred("horizontalLayout", W("QCheckBox", "cbConnect",
                                      text="Разрешить переход в режим удалённой настройки"), 1),
        W("QGroupBox", "gbServer",
          title="Параметры подключения к серверу удалённого программирования:", enabled=False,
          layout=Layout("vbox", "verticalLayout", [
              server_row("horizontalLayout_2", 1, ("label", "label_2"), "horizontalSpacer_3"),
              server_row("horizontalLayout_3", 2, ("label_7", "label_4"), "horizontalSpacer_4"),
          ])),
        W("QGroupBox", "gbTelProg",
          title="Параметры удалённого программирования с помощью телефона:", enabled=False,
          layout=Layout("grid", "gridLayout", [
              (0, 0, label("label_5", "Номер телефона 1:")),
              (0, 1, phone("leNum1")),
              (1, 0, label("label_6", "Номер телефона 2:")),
              (1, 1, phone("leNum2")),
              (1, 2, hspacer("horizontalSpacer_5")),
              (2, 0, label("label_8", "Ключевое слово SMS:")),
              (2, 1, W("QLineEdit", "leKeyWordSMS", maxLength=8,
                       sizePolicy=sizepolicy("Preferred", "Fixed"))),
          ])),
        W("QGroupBox", "gbExtra", title="Дополнительные параметры:", enabled=False,
          layout=Layout("vbox", "verticalLayout_3", [
              W("QCheckBox", "cbUseIfNoProtect",
                text="Разрешить настройку только в состоянии \"Снят с охраны\""),
          ])),
        vspacer("verticalSpacer"),
    ]))
    write_form(os.path.join(FORMS, "RemoteProgFrame.ui"), "RemoteProgFrame", top, connections=[
        ("cbConnect", "toggled(bool)", "gbServer", "setEnabled(bool)"),
        ("cbConnect", "toggled(bool)", "gbExtra", "setEnabled(bool)"),
        ("cbConnect", "toggled(bool)", "gbTelProg", "setEnabled(bool)"),
    ])


# ------------------------------------------------------ GSM operator dialogs
class FormRows(Layout):
    """A QFormLayout of (label, field) rows."""

    def __init__(self, name, rows, margins):
        super().__init__("vbox", name, [], margins=margins)
        self.rows = rows

    def xml(self, ind):
        out = [f'{ind}<layout class="QFormLayout" name="{self.name}">']
        for side, val in zip(("leftMargin", "topMargin", "rightMargin", "bottomMargin"),
                             self.margins):
            if val is not None:
                out.append(f'{ind} <property name="{side}"><number>{val}</number></property>')
        for r, (lab, field) in enumerate(self.rows):
            for role, w in (("label", lab), ("field", field)):
                out.append(f'{ind} <item row="{r}" column="{0 if role == "label" else 1}">')
                out += w.xml(ind + "  ")
                out.append(f"{ind} </item>")
        out.append(f"{ind}</layout>")
        return out


def operator_group(grid, form, title, inner_title, balance_width, read_only):
    ro = dict(readOnly=True) if read_only else {}
    access = FormRows(form, [
        (label("label_2", "Сервер:"), W("QLineEdit", "leServer", maxLength=25, **ro)),
        (label("label_3", "Логин:"), W("QLineEdit", "leLogin", maxLength=10, **ro)),
        (label("label_4", "Пароль:"), W("QLineEdit", "lePassword", maxLength=10, **ro)),
    ], margins=[30, None, 30, None])
    return W("QGroupBox", "GroupBox", title=title, layout=Layout("grid", grid, [
        (0, 0, label("label", "Наименование оператора:")),
        (0, 1, W("QLineEdit", "leOpName", maxLength=15, **ro)),
        (1, 0, label("label_5", "Номер для проверки баланса:")),
        (1, 1, W("QLineEdit", "leNumBalance", maxLength=5,
                 maximumSize=size(balance_width, 20), **ro)),
        (2, 0, 1, 2, W("QGroupBox", "groupBox", title=inner_title, layout=access)),
    ]))


def operators_dialog():
    def push(name, text, ic, **kw):
        return W("QPushButton", name, text=text, icon=icon(ic), **kw)

    top = W("QDialog", "OperatorsDialog", geometry=rect(0, 0, 607, 340),
            windowTitle="Редактирование списка операторов",
            layout=Layout("vbox", "verticalLayout", [
                Layout("hbox", "horizontalLayout_2", [
                    W("QListWidget", "lwOperators", maximumSize=size(170, 16777215),
                      font=font(bold=True, italic=True, family="Verdana")),
                    operator_group("gridLayout", "formLayout", "Информация об операторе:",
                                   "Информация о точке доступа:", 100, True),
                ]),
                Layout("hbox", "horizontalLayout", [
                    push("tbAddNew", "Добавить", ":/icons/addd.png", minimumSize=size(80, 0)),
                    push("tbEdit", "Редактировать", ":/icons/opts.png",
                         minimumSize=size(110, 0)),
                    push("tbDel", "Удалить", ":/icons/remove.png"),
                    hspacer("horizontalSpacer"),
                    push("tbClose", "Закрыть", ":/icons/exit.png"),
                ]),
            ]))
    write_form(os.path.join(FORMS, "OperatorsDialog.ui"), "OperatorsDialog", top, connections=[
        ("tbClose", "clicked()", "OperatorsDialog", "close()"),
    ])


def operator_edit():
    top = W("QDialog", "OperatorEdit", windowModality=enum("Qt::WindowModal"),
            geometry=rect(0, 0, 435, 243), windowTitle="Редактирование оператора", modal=True,
            layout=Layout("grid", "gridLayout_2", [
                (2, 1, W("QPushButton", "pbCancel", text="Отмена")),
                (2, 0, W("QPushButton", "pbApply", text="Применить")),
                (0, 0, 1, 2, operator_group("gridLayout", "formLayout", "Оператор SIM-карты",
                                            "Настройка точки доступа:", 61, False)),
                (1, 0, 1, 2, Spacer("verticalSpacer", True, 20, 40)),
            ]))
    write_form(os.path.join(FORMS, "OperatorEdit.ui"), "OperatorEdit", top, connections=[
        ("pbCancel", "clicked()", "OperatorEdit", "close()"),
    ])


def main():
    for f in (con_gprs, sntp, navigation, remote_prog_frame, operators_dialog, operator_edit):
        f()


if __name__ == "__main__":
    main()
