#!/usr/bin/env python3
"""Writes the Designer forms of the shell and of the windows it creates.

Run from anywhere: python3 tools/make_forms.py. The .ui files are committed;
this script is kept so that the numbered widget rows can be regenerated.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uiwriter import (Action, Layout, Spacer, Widget, enum, font, icon, palette_role, qset, rect,
                      size, sizepolicy, write_form)

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")

W = Widget
CENTER = qset("Qt::AlignCenter")


def label(name, text, **kw):
    return W("QLabel", name, text=text, **kw)


def button(name, text, **kw):
    return W("QPushButton", name, text=text, **kw)


def hspacer(name, w=40, h=20):
    return Spacer(name, False, w, h)


def vspacer(name, w=20, h=40):
    return Spacer(name, True, w, h)


def button_row(name, buttons, lead_spacer=True):
    items = ([hspacer(name + "_spacer")] if lead_spacer else []) + buttons
    return Layout("hbox", name, items)


# The five scale marks of loop n (the ADC codes the loop-limits page and the
# test window both label), in columns first_col.. of a grid row.
SCALE_MARKS = (("lScaleLeft", "0"), ("lScaleLC", "256"), ("lScaleCenter", "512"),
               ("lScaleCR", "768"), ("lScaleRight", "1023"))


def scale_labels(row, first_col, n, **kw):
    return [(row, first_col + k, label(f"{name}_{n}", text, alignment=CENTER, **kw))
            for k, (name, text) in enumerate(SCALE_MARKS)]


# ---------------------------------------------------------------- start menu
def start_menu():
    def b(name, text):
        return button(name, text, sizePolicy=sizepolicy("Minimum", "Fixed"),
                      minimumSize=size(0, 27))

    top = W("QWidget", "StartMenu",
            geometry=rect(0, 0, 540, 135), minimumSize=size(466, 135),
            maximumSize=size(900, 135), windowTitle="Кильврайт объектовых приборов",
            windowIcon=icon(":/icons/hardwarechip.png"),
            layout=Layout("vbox", "verticalLayout", [
                b("pbMaster", "Мастер настройки"),
                Spacer("verticalSpacer", True, 20, 40),
                b("pbKeelwright", "Все настройки"),
                b("pbExit", "Выход"),
            ]))
    write_form(os.path.join(FORMS, "StartMenu.ui"), "StartMenu", top)


# --------------------------------------------------------------- main window
MAIN_ACTIONS = [
    # name, text, icon text, tip, status, icon, shortcut, icon in menu
    ("actOpen", "Открыть файл настроек", "Открыть", None, "Загрузка настроек прибора из файла",
     "open.png", "Ctrl+O", True),
    ("actSave", "Сохранить файл настроек", None, None, "Запись настроек прибора в файл",
     "save.png", "Ctrl+S", False),
    ("actExit", "Выход", None, None, "Выход из программы", "exit.png", None, False),
    ("actOpenClosePort", "Открыть порт/устройство", None, None, "Открыть порт/устройство",
     "serial_unlock.png", None, True),
    ("actParamsPribor", "Параметры прибора", None, None, "Редактирование парметров прибора",
     "opts.png", None, False),
    ("actTest", "Тест прибора", None, None, "Переход в режим теста", "test.png", None, False),
    ("actKeysOptions", "Настройка ключей", None, None, "Работа с ключами TouchMemory",
     "password.png", None, False),
    ("actReadEEPROM", "Прочитать EEPROM", None, None, "Прочитать EEPROM с прибора",
     "ReadEEPROM.png", None, False),
    ("actRestartCauses", "Причины перезапуска", None, None,
     "Просмотр причин перезапуска прибора", "file warning.png", None, False),
    ("actHistory", "Журнал событий", None, None, "Просмотр журнала событий прибора",
     "folder doc.png", None, False),
    ("actHelp", "Справка по программатору ОП \"Дорна\"", None, None,
     "Справка по программатору ОП \"Дорна\"", "Help.png", None, False),
    ("actAbout", "О программе", None, None, "О программе", "About.png", None, False),
    ("actChoosePort", "Выбор порта", None, "Выбор порта", "Выбор COM/USB порта",
     "ChoosePort.png", None, False),
    ("actProgramming", "Программировать", None, "Программировать прибор",
     "Записать настройки в прибор", "Programming.png", None, False),
    ("actSounds", "Звуки", None, "Речевые сообщения", "Запись речевых сообщений", "Sounds.png",
     None, False),
    ("actAboutQt", "О библиотеке Qt", None, None, "О библиотеке Qt", "qtcreator_logo_48.png",
     None, False),
    ("actRestartDevice", "Перезагрузка прибора", None, "Перезагрузка прибора",
     "Перевод прибора в режим программирования", "burn.png", None, False),
    ("actCreateEEPROM", "Сформировать образ EEPROM", None, None,
     "Сохранить настройки кильврайта в образ EEPROM", "DossierBleu Images.png", None, False),
    ("actLoadEEPROM", "Загрузить образ EEPROM", None, None, "Загрузить образ EEPROM из файла",
     "DossierBleu Documents.png", None, False),
    ("actOperators", "Список операторов", None, "Редактирование списка операторов SIM-карт",
     "Редактирование списка операторов SIM-карт", "ChoosePort.png", None, False),
    ("actTime", "Настройка времени в приборе", None, "Настройка времени в приборе",
     "Настройка времени в приборе", "Clock.png", None, False),
    ("actSaveEEPROM", "Сохранить образ EEPROM", None, "Сохранить образ EEPROM",
     "Сохранить образ EEPROM прибора", "DossierBleu Download.png", None, False),
    ("actThermsDS", "Настройка термометров ", None, "Настройка термометров",
     "Настройка термометров", "thermometer.png", None, False),
]


def main_window():
    actions = []
    for name, text, itext, tip, status, ic, sc, inmenu in MAIN_ACTIONS:
        p = {"icon": icon(":/icons/" + ic), "text": text}
        if itext:
            p["iconText"] = itext
        if tip:
            p["toolTip"] = tip
        if status:
            p["statusTip"] = status
        if sc:
            p["shortcut"] = sc
        if inmenu:
            p["iconVisibleInMenu"] = True
        if name == "actSounds":
            p["enabled"] = False
        actions.append(Action(name, **p))

    def sim_box(n, grid, hl, lab):
        return W("QGroupBox", f"groupBox_{4 + n}", title=f"SIM-карта №{n}", alignment=CENTER,
                 layout=Layout("grid", grid, [
                     (0, 0, W("QCheckBox", f"cbUseSIM{n}", text="Использовать", checked=True)),
                     (0, 1, W("QCheckBox", f"cbBalance{n}", text="Проверять баланс",
                              checked=True)),
                     (1, 0, 1, 2, Layout("hbox", hl, [
                         label(lab, f"Оператор SIM {n}:"),
                         W("QComboBox", f"CbOperators{n}", minimumSize=size(111, 21)),
                         hspacer(f"horizontalSpacer_sim{n}"),
                     ], spacing=6)),
                 ], spacing=6, margins=9))

    central = W("QWidget", "centralWidget", layout=Layout("grid", "gridLayout_3", [
        (0, 0, label("label_3", "Версия прошивки:")),
        (0, 1, W("QComboBox", "cbVersion")),
        (0, 2, 1, 2, W("QProgressBar", "progressBar", maximum=1023, value=0, textVisible=False,
                       alignment=CENTER, font=font(bold=True),
                       palette=palette_role("HighlightedText", 0, 0, 0))),
        (1, 0, 1, 2, W("QGroupBox", "groupBox", title="Тип прибора:",
                       layout=Layout("grid", "gridLayout_4", [
                           (0, 0, W("QRadioButton", "RbD4M", text="Дорна-4М", checked=True)),
                           (0, 1, W("QRadioButton", "rbVororaZ", text="Мирвел")),
                           (1, 0, W("QRadioButton", "RbD8M", text="Дорна-8М")),
                           (1, 1, W("QRadioButton", "rbVoduzeR", text="Мирвел-К")),
                           (0, 2, 2, 1, hspacer("horizontalSpacer_type")),
                       ], spacing=6, margins=11))),
        (1, 2, W("QGroupBox", "groupBox_2", title="Тип объекта:",
                 layout=Layout("vbox", "verticalLayout_2", [
                     W("QRadioButton", "Rbtobjpr", text="Простой", checked=False),
                     W("QRadioButton", "Rbtobjsl", text="Сложный", checked=True),
                 ], spacing=6, margins=(None, 5, None, 5)))),
        (1, 3, W("QGroupBox", "groupBox_3", title="Применение:",
                 layout=Layout("vbox", "verticalLayout", [
                     W("QRadioButton", "RbRegAuto", text="Автономная работа"),
                     W("QRadioButton", "RbRegKsar", text="В составе системы \"Ксар\"",
                       checkable=True, autoExclusive=True, checked=True),
                 ], spacing=6, margins=(None, 5, None, 5)))),
        (2, 0, 1, 4, W("QGroupBox", "groupBox_4", title="Точки доступа", alignment=CENTER,
                       layout=Layout("hbox", "horizontalLayout_3", [
                           sim_box(1, "gridLayout", "horizontalLayout_2", "label"),
                           sim_box(2, "gridLayout_2", "horizontalLayout", "label_2"),
                       ], spacing=6, margins=(5, 0, 5, 3)))),
        (3, 0, 1, 4, W("QTableView", "tvEvents",
                       horizontalScrollBarPolicy=enum("Qt::ScrollBarAlwaysOff"),
                       editTriggers=qset("QAbstractItemView::NoEditTriggers"),
                       selectionMode=enum("QAbstractItemView::SingleSelection"),
                       selectionBehavior=enum("QAbstractItemView::SelectRows"),
                       attributes={"horizontalHeaderStretchLastSection": True,
                                   "verticalHeaderVisible": False,
                                   "verticalHeaderDefaultSectionSize": 21})),
    ], spacing=6, margins=9, columnstretch="0,1,1,2"))

    toolbar = W("QToolBar", "mainToolBar", windowTitle="Основная панель", movable=False,
                floatable=False, allowedAreas=qset("Qt::AllToolBarAreas"),
                attributes={"toolBarArea": enum("TopToolBarArea"), "toolBarBreak": False},
                actions=["actSave", "separator", "actOpenClosePort", "actChoosePort", "separator",
                         "actProgramming", "actReadEEPROM", "separator", "actParamsPribor",
                         "actTest", "actKeysOptions", "actSounds", "actTime", "actThermsDS",
                         "separator", "actHelp", "actExit"])
    menus = [
        W("QMenu", "Filemenu", title="Файл", actions=["actOpen", "actSave", "actExit"]),
        W("QMenu", "Portmenu", title="Порт", actions=["actOpenClosePort", "actChoosePort"]),
        W("QMenu", "Optionsmenu", title="Настройки",
          actions=["actParamsPribor", "actTest", "actKeysOptions", "actOperators", "actSounds",
                   "actTime", "actThermsDS", "separator", "actProgramming", "actReadEEPROM"]),
        W("QMenu", "Servismenu", title="Сервис",
          actions=["actRestartCauses", "actHistory", "separator", "actSaveEEPROM",
                   "actCreateEEPROM", "actLoadEEPROM", "separator", "actRestartDevice"]),
        W("QMenu", "Spravkamenu", title="Справка", actions=["actHelp", "actAbout", "actAboutQt"]),
    ]
    menubar = W("QMenuBar", "menuBar", geometry=rect(0, 0, 759, 21), children=menus,
                actions=[m.name for m in menus])
    top = W("QMainWindow", "MainWindow", geometry=rect(0, 0, 759, 497),
            minimumSize=size(549, 416), windowTitle="Title",
            windowIcon=icon(":/icons/hardwarechip.png"),
            children=[central, toolbar, W("QStatusBar", "statusBar"), menubar])
    write_form(os.path.join(FORMS, "MainWindow.ui"), "MainWindow", top, actions=actions,
               connections=[("actExit", "triggered()", "MainWindow", "close()")])


# -------------------------------------------------------------- port dialogs
def choose_port():
    top = W("QDialog", "ChoosePort", geometry=rect(0, 0, 361, 164), minimumSize=size(280, 110),
            windowTitle="Выбор COM/USB-порта", windowModality=enum("Qt::WindowModal"),
            layout=Layout("grid", "gridLayout", [
                (0, 0, W("QRadioButton", "rbCOM", text="COM-порт", checked=True)),
                (0, 1, W("QComboBox", "cbPort")),
                (1, 0, W("QRadioButton", "rbUSB", text="USB-порт")),
                (1, 1, W("QComboBox", "cbUSB", enabled=False)),
                (2, 0, 1, 2, W("QGroupBox", "groupBox_2", title="Конфигурация COM-порта",
                               alignment=CENTER, layout=Layout("hbox", "horizontalLayout_2", [
                                   button("BPortOpt", "Настройка"),
                                   button("pbDefault", "По умолчанию"),
                               ]))),
                (3, 0, 1, 2, Layout("hbox", "horizontalLayout", [
                    button("pbApply", "Применить"),
                    button("pbUpdate", "Обновить"),
                    button("pbCancel", "Отмена"),
                ])),
                (4, 0, 1, 2, Spacer("verticalSpacer", True, 20, 5)),
            ]))
    write_form(os.path.join(FORMS, "ChoosePort.ui"), "ChoosePort", top)


def port_options():
    rows = [("label", "Скорость (бит/с):", "CbSpeed"), ("label_2", "Биты данных:", "CbDataBits"),
            ("label_3", "Чётность:", "CbChet"), ("label_4", "Стоповые биты:", "CbStopBit"),
            ("label_5", "Управление потоком:", "CbContrStream")]
    kids = []
    for i, (ln, lt, cb) in enumerate(rows):
        y = 28 + i * 32
        kids.append(label(ln, lt, geometry=rect(12, y, 150, 22)))
        kids.append(W("QComboBox", cb, geometry=rect(170, y, 150, 22)))
    group = W("QGroupBox", "groupBox", title="Параметры порта:", geometry=rect(10, 8, 332, 196),
              children=kids)
    top = W("QDialog", "PortOptions", geometry=rect(0, 0, 352, 282), windowTitle="Свойства",
            windowModality=enum("Qt::WindowModal"), children=[
                group,
                button("pushButton", "Восстановить умолчания", geometry=rect(10, 212, 332, 27)),
                button("pushButton_2", "OK", geometry=rect(10, 246, 104, 27)),
                button("BCancel", "Отмена", geometry=rect(124, 246, 104, 27)),
                button("pushButton_4", "Применить", geometry=rect(238, 246, 104, 27)),
            ])
    write_form(os.path.join(FORMS, "PortOptions.ui"), "PortOptions", top)


# -------------------------------------------------------- parameters window
def prib_par_window():
    top = W("QDialog", "PribParWindow", geometry=rect(0, 0, 940, 560),
            windowTitle="Параметры прибора", modal=True, windowModality=enum("Qt::WindowModal"),
            layout=Layout("grid", "gridLayout", [
                (0, 0, 2, 1, W("QListWidget", "ListParams",
                               font=font(bold=True, italic=True, family="Trebuchet MS", point=10),
                               editTriggers=qset("QAbstractItemView::NoEditTriggers"),
                               maximumSize=size(230, 16777215))),
                (0, 1, W("QStackedWidget", "stackedWidget",
                         children=[W("QWidget", "page"), W("QWidget", "page_2")])),
                (1, 1, W("QFrame", "line", frameShape=enum("QFrame::HLine"),
                         frameShadow=enum("QFrame::Sunken"))),
                (2, 0, 1, 2, button_row("horizontalLayout", [
                    button("pbOk", "OK"), button("pbApply", "Применить"),
                    button("pbCancel", "Отмена")])),
            ]))
    write_form(os.path.join(FORMS, "PribParWindow.ui"), "PribParWindow", top)


# -------------------------------------------------------------------- wizard
def wizard():
    def page(name, title, layout):
        return W("QWizardPage", name, title=title, layout=layout)

    pages = [
        page("wizardPage1", "Подключение прибора", Layout("grid", "gridLayout_p1", [
            (0, 0, W("QRadioButton", "rbCOM", text="COM-порт", checked=True)),
            (0, 1, W("QComboBox", "cbCOM")),
            (1, 0, W("QRadioButton", "rbUSB", text="USB-порт")),
            (1, 1, W("QComboBox", "cbUSB", enabled=False)),
            (2, 0, W("QRadioButton", "rbVersion", text="Без подключения:")),
            (2, 1, W("QComboBox", "cbTypeDev", enabled=False)),
            (3, 1, W("QComboBox", "cbVersion", enabled=False)),
            (4, 0, 1, 2, label("lTimeOut", "", wordWrap=True)),
            (5, 0, 1, 2, vspacer("verticalSpacer_p1")),
        ])),
        page("wizardPage2", "Ожидание прибора", Layout("vbox", "verticalLayout_p2", [
            label("lWait", "Ожидание подключения прибора...", alignment=CENTER),
            vspacer("verticalSpacer_p2")])),
        page("wizardPageChoose", "Выбор действия", Layout("vbox", "verticalLayout_p3", [
            W("QRadioButton", "rbNewSettings", text="Новые настройки", checked=True),
            W("QRadioButton", "rbChangeSettings", text="Изменить настройки прибора"),
            W("QRadioButton", "rbKeys", text="Настройка ключей"),
            W("QRadioButton", "rbTest", text="Тест прибора"),
            vspacer("verticalSpacer_p3")])),
        page("wizardPageReadEEPROM", "Чтение настроек прибора",
             Layout("vbox", "verticalLayout_p4", [
                 W("QProgressBar", "pbarRead", value=0, maximum=1023),
                 label("lReadError", ""), vspacer("verticalSpacer_p4")])),
        page("wizardPageBase", "Основные настройки", Layout("vbox", "verticalLayout_p5", [
            vspacer("verticalSpacer_p5")])),
        page("wizardPageGPRS", "GPRS и сервер времени", Layout("grid", "gridLayout_p6", [
            (0, 0, label("lOperator1", "Оператор SIM 1:")),
            (0, 1, W("QComboBox", "cbOperators1")),
            (1, 0, label("lOperator2", "Оператор SIM 2:")),
            (1, 1, W("QComboBox", "cbOperators2")),
            (2, 0, 1, 2, vspacer("verticalSpacer_p6"))])),
        page("wizardPageNumbers", "Телефонные номера и SMS", Layout("vbox", "verticalLayout_p7", [
            vspacer("verticalSpacer_p7")])),
        page("wizardPageShlFunc", "Функции шлейфов", Layout("vbox", "verticalLayout_p8", [
            vspacer("verticalSpacer_p8")])),
        page("wizardPageExits", "Выходы", Layout("vbox", "verticalLayout_p9", [
            vspacer("verticalSpacer_p9")])),
        page("wizardPageCams", "Камеры", Layout("vbox", "verticalLayout_p10", [
            vspacer("verticalSpacer_p10")])),
        page("wizardPageSummary", "Итоговые настройки", Layout("vbox", "verticalLayout_p11", [
            W("QTextBrowser", "tbSummary")])),
        page("wizardPageProgramming", "Программирование", Layout("vbox", "verticalLayout_p12", [
            W("QProgressBar", "pbarProgramming", value=0, maximum=700),
            label("lProgStatus", "", alignment=CENTER), vspacer("verticalSpacer_p12")])),
    ]
    top = W("QWizard", "WizardOM", geometry=rect(0, 0, 758, 408), minimumSize=size(758, 408),
            maximumSize=size(758, 408), windowTitle="Мастер настройки прибора",
            windowIcon=icon(":/icons/hardwarechip.png"),
            wizardStyle=enum("QWizard::ModernStyle"),
            options=qset("QWizard::ExtendedWatermarkPixmap|QWizard::HaveCustomButton1|"
                         "QWizard::HaveCustomButton2|QWizard::HaveCustomButton3"),
            children=pages)
    write_form(os.path.join(FORMS, "WizardOM.ui"), "WizardOM", top)


def main():
    os.makedirs(FORMS, exist_ok=True)
    for f in (start_menu, main_window, choose_port, port_options, prib_par_window,
              wizard):
        f()


if __name__ == "__main__":
    main()
