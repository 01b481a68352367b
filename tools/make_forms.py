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
                               minimumSize=size(230, 0), maximumSize=size(230, 16777215))),
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
    from uiwriter import Raw

    def colour(r, g, b):
        return (f'<brush brushstyle="SolidPattern"><color alpha="255"><red>{r}</red>'
                f"<green>{g}</green><blue>{b}</blue></color></brush>")

    # A text colour per palette group: active and inactive, then disabled.
    def text_palette(active, inactive, disabled):
        groups = (("active", active), ("inactive", inactive), ("disabled", disabled))
        body = "".join(f'<{g}><colorrole role="WindowText">{colour(*c)}</colorrole></{g}>'
                       for g, c in groups)
        return Raw(f"<palette>{body}</palette>")

    def page(name, pid, title, subtitle, layout=None, children=()):
        return W("QWizardPage", name, layout=layout, children=children,
                 attributes={"pageId": str(pid)}, title=title, subTitle=subtitle)

    def check(name, text="", **kw):
        return W("QCheckBox", name, text=text, **kw)

    def combo(name, **kw):
        return W("QComboBox", name, **kw)

    def spin(name, lo, hi, value, **kw):
        return W("QSpinBox", name, minimum=lo, maximum=hi, value=value, alignment=CENTER, **kw)

    def form_layout(name, rows):
        lay = Layout("grid", name, rows)
        grid_xml = lay.xml
        lay.xml = lambda ind: [ln.replace('"QGridLayout"', '"QFormLayout"', 1) if i == 0 else ln
                               for i, ln in enumerate(grid_xml(ind))]
        return lay

    error_style = dict(font=font(bold=True, point=9), alignment=CENTER, wordWrap=True,
                       palette=text_palette((255, 0, 0), (255, 0, 0), (118, 116, 108)))
    fixed_pref = sizepolicy("Fixed", "Preferred")

    # Page 0: how the device is reached.
    page0 = page("wizardPage1", 0, "Вас приветствуем мастер настройки!",
                 "Выберете способ подключения устройства (COM или USB)",
                 Layout("grid", "gridLayout_11", [
                     (0, 1, vspacer("verticalSpacer")),
                     (1, 1, label("lTimeOut",
                                  "Произошла ошибка. Повторите последовательность действий.",
                                  **error_style)),
                     (2, 1, label("lMessage_2", "Отключите устройство и выберите порт.",
                                  font=font(bold=True, point=8), alignment=CENTER)),
                     (3, 0, hspacer("horizontalSpacer")),
                     (3, 1, W("QGroupBox", "groupBox", title="Вариант настройки:",
                              layout=form_layout("formLayout", [
                                  (0, 0, W("QRadioButton", "rbCOM", text="COM-порт",
                                           checked=True)),
                                  (0, 1, combo("cbCOM")),
                                  (1, 0, W("QRadioButton", "rbUSB", text="USB-порт")),
                                  (1, 1, combo("cbUSB", enabled=False)),
                                  (2, 0, W("QRadioButton", "rbVersion", text="Не подключено",
                                           toolTip="Укажите версию вручную")),
                                  (2, 1, Layout("hbox", "horizontalLayout_52", [
                                      combo("cbTypeDev", enabled=False),
                                      combo("cbVersion", enabled=False)])),
                              ]))),
                     (3, 2, hspacer("horizontalSpacer_2")),
                     (4, 1, vspacer("verticalSpacer_2")),
                 ]))

    # Page 1: waiting for the device.
    page1 = page("wizardPage2", 1, "Ожидание подключения", "Ожидается подключение устройства",
                 Layout("vbox", "verticalLayout_5", [
                     vspacer("verticalSpacer_3"),
                     label("lMessageDevFind", "Подайте питание на прибор.",
                           font=font(bold=True, point=8), alignment=CENTER, wordWrap=True,
                           palette=text_palette((0, 0, 0), (0, 0, 0), (255, 0, 4))),
                     W("QProgressBar", "progressBar", minimum=0, maximum=0, value=-1,
                       alignment=CENTER, orientation=enum("Qt::Horizontal"), format=""),
                     vspacer("verticalSpacer_4"),
                 ]))

    # Page 2: what to do with the device.
    page2 = page("wizardPageChoose", 2, "Выберите желаемое действие",
                 "Укажите действие, которое вы желаете выполнить с прибором",
                 Layout("vbox", "verticalLayout_12", [
                     W("QGroupBox", "groupBox_7", title="Желаемое действие с объектом:",
                       layout=Layout("vbox", "verticalLayout_7", [
                           W("QRadioButton", "rbChooseNewConfig",
                             text="Создание новой конфигурации", checked=True),
                           W("QRadioButton", "rbChooseChangeConfig",
                             text="Изменение текущей конфигурации"),
                           W("QRadioButton", "rbChoosePassKeyOptions",
                             text="Настройка ключей/паролей"),
                           W("QRadioButton", "rbChooseTest", text="Тест оборудования"),
                       ])),
                     label("lErrReadEEPROM", "Ошибка чтения EEPROM. Повторите попытку.",
                           **error_style),
                 ]))

    # Page 3: reading the device's memory.
    page3 = page("wizardPageReadEEPROM", 3, "Чтение текщих настроек",
                 "Производится чтение текущих настроек",
                 Layout("vbox", "verticalLayout_8", [
                     vspacer("verticalSpacer_5", 20, 128),
                     W("QProgressBar", "pBarRead", font=font(bold=True), minimum=0, maximum=100,
                       value=0, alignment=CENTER, orientation=enum("Qt::Horizontal"),
                       format="Чтение %p%"),
                     vspacer("verticalSpacer_6", 20, 127),
                 ]))

    # Page 4: SIM cards, GPRS, technological loop, object, time.
    def sim_row(r, n):
        return [(r, 0, check(f"cbUseSIM{n}", f"SIM{n}", checked=True)),
                (r, 1, combo(f"CbOperators{n}", minimumSize=size(111, 0))),
                (r, 2, check(f"cbBalance{n}", "Проверять баланс", checked=True))]

    page4 = page("wizardPageBase", 4, "Основные настройки",
                 "Выберите операторов SIM-карт, а также отредактируйте основные настройки "
                 "прибора",
                 Layout("grid", "gridLayout_2", [
                     (0, 0, 2, 1, Layout("vbox", "verticalLayout", [
                         W("QGroupBox", "groupBox_4", title="Операторы SIM-карт:",
                           alignment=qset("Qt::AlignLeading|Qt::AlignLeft|Qt::AlignVCenter"),
                           layout=Layout("grid", "gridLayout_3", sim_row(0, 1) + sim_row(1, 2))),
                         W("QGroupBox", "gbConGPRS", title="Параметры GPRS:",
                           layout=Layout("vbox", "verticalLayout_2", [
                               check("cbConGPRS", "Подключаться к серверу через GPRS"),
                               check("cbConnectSIM2",
                                     "Для подключения по GPRS использовать также SIM2",
                                     checked=True)])),
                         W("QGroupBox", "groupBox_11", title="Технологический шлейф:",
                           layout=Layout("vbox", "verticalLayout_3", [
                               Layout("hbox", "horizontalLayout", [
                                   label("lNumTShl", "Номер технологического шлейфа:"),
                                   combo("cbNTShl", minimumSize=size(100, 0))]),
                               check("cbUseShl1Teh",
                                     "Использовать первый шлейф как технологический")])),
                     ])),
                     (0, 1, W("QGroupBox", "groupBox_2", title="Идентификация объекта:",
                              layout=Layout("vbox", "verticalLayout_4b", [
                                  Layout("hbox", "horizontalLayout_4", [
                                      label("label_9", "Номер объекта:"),
                                      spin("sbNumObj", 0, 9999, 1, minimumSize=size(55, 0)),
                                      hspacer("horizontalSpacer_3")],
                                      spacing=5, margins=[0, None, 0, None]),
                                  Layout("hbox", "horizontalLayout_6", [
                                      check("cbObjName", "Имя объекта", checked=True),
                                      W("QLineEdit", "leObjName", maxLength=8,
                                        maximumSize=size(95, 16777215)),
                                      hspacer("horizontalSpacer_4")], spacing=17),
                              ]))),
                     (1, 1, W("QGroupBox", "groupBox_9", title="Параметры времени:",
                              layout=Layout("vbox", "verticalLayout_9", [
                                  Layout("hbox", "horizontalLayout_11", [
                                      label("label_6", "Часовой пояс:", alignment=CENTER),
                                      combo("comboBPoyas"),
                                      hspacer("horizontalSpacer_5")]),
                                  check("cbUpdateTimeGPS", "Обновлять время из GPS", checked=True),
                                  check("cbUseSNTP", "Использовать синхронизацию времени (SNTP)"),
                              ]))),
                 ]))

    # Page 5: the two GPRS servers and the time server.
    def server_box(box, title, rows, **kw):
        return W("QGroupBox", box, title=title, layout=Layout("grid", "gridLayout_" + box, rows),
                 **kw)

    page5 = page("wizardPageGPRS", 5, "Настройка подключения по GPRS",
                 "Задайте парметры подключения по GPRS и синхронизаци времени.",
                 Layout("grid", "gridLayout_5", [
                     (0, 0, 2, 1, hspacer("horizontalSpacer_6")),
                     (0, 1, server_box("gbServ1", "Сервер 1:", [
                         (0, 0, label("label", "Адрес сервера:")),
                         (0, 1, 1, 2, W("QLineEdit", "leAdress1", text="server.example.org")),
                         (1, 0, label("label_2", "Порт сервера:")),
                         (2, 0, 1, 2, label("label_3", "Попыток подключения по IP / DNS:")),
                         (2, 2, spin("sbPop1", 0, 9, 2)),
                         (1, 1, spin("sbPort1", 0, 99999, 0)),
                     ])),
                     (0, 2, server_box("gbServ2", "Сервер 2:", [
                         (0, 0, label("label_5", "Адрес сервера:")),
                         (0, 1, 1, 2, W("QLineEdit", "leAdress2", text="000.000.000.000")),
                         (1, 0, label("label_4", "Порт сервера:")),
                         (1, 1, spin("sbPort2", 0, 99999, 0)),
                         (2, 0, 1, 2, label("label_7", "Попыток подключения по IP / DNS:")),
                         (2, 2, spin("sbPop2", 0, 9, 0)),
                     ])),
                     (0, 3, hspacer("horizontalSpacer_7")),
                     (1, 1, server_box("gbSNTP", "Настройки сервера синхронизации времени (SNTP):", [
                         (0, 0, label("label_10", "Адрес сервера:")),
                         (1, 0, label("label_11", "Порт сервера:")),
                         (1, 1, spin("sbIPPort", 0, 99999, 0)),
                         (0, 1, 1, 2, W("QLineEdit", "leIPserv", text="pool.ntp.org")),
                     ], alignment=CENTER)),
                 ]))

    # Page 6: a table of fixed cells, one column per main phone number.
    captions = [("label_19", "Номер телефона:"),
                ("label_12", "Попыток дозвона по открытию/закрытию"),
                ("label_13", "Попыток дозвона по тревоге"),
                ("label_14", "SMS при постановке/снятии"),
                ("label_16", "SMS на этот номер при тревоге"),
                ("label_17", "SMS на этот номер при сервисных сигналах"),
                ("label_18", "SMS на этот номер при смене SIM-карты")]
    frames = [["frame_8", "frame_10", "frame_11", "frame_12", "frame_13", "frame_14"],
              ["frame"] + [f"frame_{i}" for i in range(15, 20)],
              ["frame_2"] + [f"frame_{i}" for i in range(21, 25)] + ["frame_45"],
              ["frame_3"] + [f"frame_{i}" for i in range(25, 30)],
              ["frame_5"] + [f"frame_{i}" for i in range(30, 35)],
              ["frame_6"] + [f"frame_{i}" for i in range(36, 40)] + ["frame_35"],
              ["frame_7"] + [f"frame_{i}" for i in range(41, 45)] + ["frame_40"]]
    hl = lambda *n: [f"horizontalLayout_{i}" for i in n]
    layouts = [hl(10, 12, 13, 14, 15, 16), hl(2, 17, 18, 19, 20, 21), hl(3, 23, 24, 25, 26, 47),
               hl(5, 27, 28, 29, 30, 31), hl(7, 32, 33, 34, 35, 36), hl(8, 38, 39, 40, 41, 37),
               hl(9, 43, 44, 45, 46, 42)]
    prefixes = ["leNum", "comboBPopOC", "comboBPopTr", "comboBSmsOC", "cbSmsTr", "cbSmsService",
                "cbSmsSmenaSIM"]
    cells = []
    for r in range(7):
        for c in range(6):
            margins, spacing = 2, None
            if c == 0:
                # A smaller font keeps the longest captions inside the fixed cell.
                inner = label(*captions[r], font=font(point=7))
            elif r == 0:
                inner = W("QLineEdit", f"leNum{c}", inputMask="000-000-00-00;*", maxLength=13,
                          text="000-000-00-00")
            elif r <= 3:
                inner = combo(f"{prefixes[r]}{c}")
                margins = [2, 1, 2, 1]
            else:
                inner = check(f"{prefixes[r]}{c}", sizePolicy=sizepolicy("Fixed", "Fixed"))
                margins, spacing = 0, 0
            geometry = rect(0, 30 + 20 * r, 231, 21) if c == 0 else \
                rect(230 + 100 * (c - 1), 30 + 20 * r, 101, 21)
            cells.append(W("QFrame", frames[r][c], geometry=geometry,
                           frameShape=enum("QFrame::Panel"), frameShadow=enum("QFrame::Plain"),
                           layout=Layout("hbox", layouts[r][c], [inner], spacing=spacing,
                                         margins=margins)))
    page6 = page("wizardPageNumbers", 6, "Телефонные номера",
                 "Укажите номера пользователей, а также выберите по каким номерам необходимо "
                 "информировать о состоянии прибора", children=cells)

    # Page 7: loop functions. Row 1 is built label, box, check; the others
    # label, check, box, and the focus follows that order.
    loop_items = []
    for n in range(1, 9):
        lab = (n - 1, 0, label(f"lShl{n}", f"Шлейф №{n}"))
        box = (n - 1, 1, combo(f"cBoxShl{n}", sizePolicy=sizepolicy("Fixed", "Fixed"),
                               minimumSize=size(120, 0)))
        alarm = (n - 1, 2, check(f"cbTrShl{n}", "Включить тревогу"))
        loop_items += [lab, box, alarm] if n == 1 else [lab, alarm, box]
    loops_grid = Layout("grid", "gridLayout_8", loop_items)
    loops_grid_xml = loops_grid.xml
    loops_grid.xml = lambda ind: loops_grid_xml(ind)[:1] + [
        f'{ind} <property name="horizontalSpacing"><number>20</number></property>'
    ] + loops_grid_xml(ind)[1:]
    page7 = page("wizardPageShlFunc", 7, "Функции шлейфов", "Установка назначения шлейфов",
                 Layout("hbox", "horizontalLayout_48", [
                     hspacer("horizontalSpacer_8"),
                     W("QGroupBox", "groupBox_10", title="Функции шлейфов", alignment=CENTER,
                       layout=loops_grid),
                     hspacer("horizontalSpacer_9")]))

    # Page 8: outputs 1 to 3.
    def output_row(n, row_label, layout_name):
        items = [label(row_label, f"Выход {n}", sizePolicy=fixed_pref),
                 combo(f"CombobV{n}", sizePolicy=sizepolicy("Fixed", "Fixed"),
                       minimumSize=size(141, 20)),
                 label(f"lPass{n}", "Пароль:", sizePolicy=fixed_pref),
                 W("QLineEdit", f"lePass{n}", text="7391", inputMask="0000;#",
                   sizePolicy=sizepolicy("Fixed", "Fixed"), maximumSize=size(50, 16777215),
                   alignment=CENTER),
                 label(f"lPCN{n}", "Шлейфы ПЦН: ", sizePolicy=fixed_pref)]
        items += [check(f"cbPCN{n}{j}", str(j), sizePolicy=sizepolicy("Fixed", "Fixed"))
                  for j in range(1, 9)]
        items.append(hspacer(f"horizontalSpacer_out{n}"))
        return Layout("hbox", layout_name, items)

    page8 = page("wizardPageExits", 8, "Управление выходами",
                 "Настройка типов выходов, установка паролей, установка технологического шлейфа",
                 Layout("grid", "gridLayout", [
                     (0, 0, W("QGroupBox", "groupBox_8", title="Функции выходов:",
                              alignment=qset("Qt::AlignLeading|Qt::AlignLeft|Qt::AlignVCenter"),
                              sizePolicy=sizepolicy("Fixed", "Fixed"),
                              layout=Layout("vbox", "verticalLayout_10", [
                                  output_row(1, "label_15", "horizontalLayout_49"),
                                  output_row(2, "label_20", "horizontalLayout_50"),
                                  output_row(3, "label_21", "horizontalLayout_51")])))]))

    # Page 9: cameras and the loop-by-camera table.
    camera_row = Layout("hbox", "horizontalLayout_53", [
        label("label_8", "Наличие камеры:", alignment=CENTER,
              sizePolicy=sizepolicy("Expanding", "Preferred"))] + [
        check(f"cbUseCam_{c}", str(c), checked=True) for c in range(1, 9)] + [
        hspacer("horizontalSpacer_10")])
    table = W("QTableView", "tvCamerasExec",
              attributes={"horizontalHeaderDefaultSectionSize": 75,
                          "verticalHeaderDefaultSectionSize": 21,
                          "verticalHeaderMinimumSectionSize": 20},
              sizePolicy=sizepolicy("Expanding", "Fixed"), minimumSize=size(0, 200),
              maximumSize=size(16777215, 200),
              editTriggers=qset("QAbstractItemView::NoEditTriggers"),
              selectionMode=enum("QAbstractItemView::NoSelection"), cornerButtonEnabled=False)
    page9 = page("wizardPageCams", 9, "Настройка камер", "Установка параметров камер",
                 Layout("grid", "gridLayout_6", [
                     (0, 0, W("QGroupBox", "groupBox_3", title="Параметры камер", flat=True,
                              alignment=CENTER,
                              layout=Layout("grid", "gridLayout_7", [
                                  (0, 0, camera_row),
                                  (1, 0, W("QGroupBox", "groupBox_5",
                                           title="Таблица соответствия \"Шлейф - Камера\" ",
                                           alignment=CENTER,
                                           layout=Layout("vbox", "verticalLayout_11", [table],
                                                         margins=[8, 3, 8, None]))),
                                  (2, 0, vspacer("verticalSpacer_7")),
                              ])))]))

    # Pages 10 and 11: summary and programming.
    page10 = page("wizardPageSummary", 10, "Завершение работы мастера",
                  "Проверьте выбранные параметры прибора. Если они верны, то для записи их в "
                  "прибор нажмите кнопку \"Программировать\". Для более точной настройки "
                  "нажмимете кнопку \"Кильврайт.\"",
                  Layout("vbox", "verticalLayout_4", [
                      W("QTextEdit", "teSummary", readOnly=True, undoRedoEnabled=False,
                        horizontalScrollBarPolicy=enum("Qt::ScrollBarAlwaysOff"))]))
    page11 = page("wizardPageProgramming", 11, "Программирование прибора",
                  "Дождитесь окончания процесса и нажмите кнопку \"Завершить\"",
                  Layout("vbox", "verticalLayout_6", [
                      Spacer("verticalSpacer_8", True, 20, 40),
                      W("QProgressBar", "pBarProgramming", font=font(bold=True), maximum=700,
                        value=0, alignment=CENTER),
                      label("lStatus", "Прибор успешно запрограммирован!",
                            font=font(bold=True, italic=True, point=10), alignment=CENTER,
                            palette=text_palette((0, 0, 0), (255, 5, 59), (235, 24, 5))),
                      Spacer("verticalSpacer_9", True, 20, 40)]))

    # The outputs page (id 8) is built before the loop-functions page (id 7).
    pages = [page0, page1, page2, page3, page4, page5, page6, page8, page7, page9, page10,
             page11]
    top = W("QWizard", "WizardOM", geometry=rect(0, 0, 758, 408), minimumSize=size(758, 408),
            maximumSize=size(758, 408), windowTitle="Мастер настройки прибора",
            windowIcon=icon(":/icons/hardwarechip.png"),
            wizardStyle=enum("QWizard::ModernStyle"),
            options=qset("QWizard::ExtendedWatermarkPixmap|QWizard::HaveCustomButton1|"
                         "QWizard::HaveCustomButton2|QWizard::HaveCustomButton3"),
            children=pages)
    write_form(os.path.join(FORMS, "WizardOM.ui"), "WizardOM", top,
               connections=[("cbObjName", "toggled(bool)", "leObjName", "setEnabled(bool)")])


def main():
    os.makedirs(FORMS, exist_ok=True)
    for f in (start_menu, main_window, choose_port, port_options, prib_par_window,
              wizard):
        f()


if __name__ == "__main__":
    main()
