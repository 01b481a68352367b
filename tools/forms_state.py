#!/usr/bin/env python3
"""Writes the Designer forms of the journal, restart-cause and voice-message
windows: forms/History.ui, forms/RestartCauses.ui and forms/Sounds.ui.

Run from anywhere: python3 tools/forms_state.py. The .ui files are committed.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uiwriter import Layout, Spacer, Widget, enum, font, icon, qset, rect, size, sizepolicy, write_form

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")

W = Widget
CENTER = qset("Qt::AlignCenter")
MAX = 16777215


def hspacer(name, w=40, h=20):
    return Spacer(name, False, w, h)


def vspacer(name, w=20, h=40):
    return Spacer(name, True, w, h)


def info_label(text):
    return W("QLabel", "lInfo", text=text, font=font(bold=True, point=10), alignment=CENTER)


def state_view(name, extra_attributes, **props):
    """A read-only table over the device state: no editing, selection, tab
    navigation or corner button (the drop indicator is switched off in code)."""
    attributes = dict(extra_attributes)
    return W("QTableView", name, attributes=attributes,
             editTriggers=qset("QAbstractItemView::NoEditTriggers"), tabKeyNavigation=False,
             selectionMode=enum("QAbstractItemView::NoSelection"), cornerButtonEnabled=False,
             **props)


def history():
    journal = state_view("tvJournal", {
        "horizontalHeaderDefaultSectionSize": 25,
        "horizontalHeaderStretchLastSection": True,
        "verticalHeaderVisible": True,
        "verticalHeaderDefaultSectionSize": 23,
        "verticalHeaderMinimumSectionSize": 23,
    }, minimumSize=size(0, 231), maximumSize=size(MAX, 231))
    last = state_view("tvLastState", {
        "horizontalHeaderDefaultSectionSize": 50,
        "horizontalHeaderMinimumSectionSize": 25,
        "horizontalHeaderStretchLastSection": True,
        "verticalHeaderVisible": False,
        "verticalHeaderDefaultSectionSize": 30,
        "verticalHeaderMinimumSectionSize": 25,
    }, sizePolicy=sizepolicy("Expanding", "Minimum"), maximumSize=size(MAX, 51))
    top = W("QDialog", "History", geometry=rect(0, 0, 632, 431), windowTitle="Журнал событий",
            windowModality=enum("Qt::WindowModal"),
            layout=Layout("vbox", "verticalLayout", [
                W("QGroupBox", "groupBox_2", title="Журнал событий", alignment=CENTER,
                  layout=Layout("grid", "gridLayout", [(0, 0, journal)])),
                W("QGroupBox", "groupBox", title="Последнее состояние", alignment=CENTER,
                  layout=Layout("grid", "gridLayout_2", [(0, 0, last)])),
                info_label("Для получения записей журнала выполните чтение EEPROM."),
                Layout("hbox", "horizontalLayout", [
                    hspacer("horizontalSpacer"),
                    W("QPushButton", "BOk", text="OK"),
                    hspacer("horizontalSpacer_2")]),
                vspacer("verticalSpacer"),
            ]))
    write_form(os.path.join(FORMS, "History.ui"), "History", top)


def restart_causes():
    def flag_view(name, w, h, default, minimum):
        return state_view(name, {
            "horizontalHeaderDefaultSectionSize": default,
            "horizontalHeaderMinimumSectionSize": minimum,
            "verticalHeaderVisible": False,
            "verticalHeaderDefaultSectionSize": 23,
            "verticalHeaderMinimumSectionSize": 23,
        }, minimumSize=size(w, h), maximumSize=size(w, h))

    legend = state_view("tvLegend", {
        "verticalHeaderVisible": False,
        "verticalHeaderDefaultSectionSize": 23,
        "verticalHeaderMinimumSectionSize": 23,
    }, minimumSize=size(411, 253), maximumSize=size(411, 253))

    def counter(row, label_name, text, edit):
        return [(row, 0, W("QLabel", label_name, text=text)),
                (row, 1, W("QLineEdit", edit, text="0", readOnly=True, alignment=CENTER,
                           maximumSize=size(48, 20)))]

    counters = Layout("grid", "gridLayout_4",
                      counter(0, "label", "Количество перезапусков:", "leRestCount") +
                      counter(1, "label_2", "Количество переходов в режим сна\n"
                              "при напряжении ниже 9 Вольт:", "leLowU") +
                      counter(2, "label_3", "Количество перезапусков с превышением\n"
                              "напряжением питания уровня 15 Вольт:", "leHighU") +
                      [(3, 0, vspacer("verticalSpacer"))])

    top = W("QDialog", "RestartCauses", geometry=rect(0, 0, 752, 592),
            windowTitle="Причины перезапуска ОП \"Дорна\"",
            windowModality=enum("Qt::WindowModal"),
            layout=Layout("vbox", "verticalLayout", [
                Layout("hbox", "horizontalLayout", [
                    W("QGroupBox", "groupBox", title="Флаги сброса",
                      layout=Layout("grid", "gridLayout", [
                          (0, 0, flag_view("tvRestartCauses", 531, 208, 50, 25))])),
                    W("QGroupBox", "groupBox_2", title="Флаги напряжения питания",
                      layout=Layout("grid", "gridLayout_2", [
                          (0, 0, flag_view("tvNaprFlags", 155, 208, 75, 35))])),
                    hspacer("horizontalSpacer"),
                ]),
                Layout("hbox", "horizontalLayout_2", [
                    W("QGroupBox", "groupBox_3", title="Легенда :",
                      layout=Layout("grid", "gridLayout_3", [(0, 0, legend)])),
                    W("QGroupBox", "groupBox_4", title="Счётчики:", layout=counters),
                ]),
                Layout("hbox", "horizontalLayout_3", [
                    hspacer("horizontalSpacer_2"),
                    info_label("Для получения состояния прибора выполните чтение EEPROM."),
                    W("QPushButton", "BOk", text="OK", minimumSize=size(100, 0),
                      maximumSize=size(100, MAX)),
                ]),
            ]))
    write_form(os.path.join(FORMS, "RestartCauses.ui"), "RestartCauses", top)


def sounds():
    def tool(name, text, tip, path):
        return W("QToolButton", name, text=text, toolTip=tip, icon=icon(path),
                 toolButtonStyle=enum("Qt::ToolButtonTextBesideIcon"))

    def push(name, text, path):
        return W("QPushButton", name, text=text, icon=icon(path))

    table = W("QTableView", "tvSounds", attributes={
        "horizontalHeaderStretchLastSection": True,
        "verticalHeaderStretchLastSection": True,
        "verticalHeaderDefaultSectionSize": 23,
        "verticalHeaderMinimumSectionSize": 23,
    }, verticalScrollBarPolicy=enum("Qt::ScrollBarAlwaysOn"),
        horizontalScrollBarPolicy=enum("Qt::ScrollBarAlwaysOff"),
        editTriggers=qset("QAbstractItemView::CurrentChanged"), alternatingRowColors=True,
        selectionMode=enum("QAbstractItemView::SingleSelection"),
        selectionBehavior=enum("QAbstractItemView::SelectRows"), cornerButtonEnabled=False)

    top = W("QDialog", "Sounds", geometry=rect(0, 0, 727, 513),
            windowTitle="Запись речевых сообщений",
            windowModality=enum("Qt::ApplicationModal"),
            layout=Layout("grid", "gridLayout", [
                (0, 0, 1, 4, W("QGroupBox", "groupBox", title="Таблица речевых сообщений",
                               alignment=CENTER,
                               layout=Layout("vbox", "verticalLayout_2", [table],
                                             margins=[None, 5, None, None]))),
                (1, 0, Layout("grid", "gridLayout_2", [
                    (0, 0, tool("tbSave", "Сохранить", "Сохранить таблицу", ":/icons/save.png")),
                    (0, 1, tool("tbLoad", "Загрузить", "Загрузить таблицу", ":/icons/open.png")),
                    (1, 0, 1, 2, tool("tbCreateImage", "Сформировать образ", "Сохранить таблицу",
                                      ":/icons/DossierBleu Download.png")),
                ])),
                (1, 1, Layout("vbox", "verticalLayout", [
                    push("pbWriteSounds", "Записать звуки в прибор", ":/icons/apply.png"),
                    push("pbTestSize", "Проверить", ":/icons/ChoosePort.png"),
                ])),
                (1, 2, hspacer("horizontalSpacer")),
                (1, 3, push("pbCancel", "Завершить", ":/icons/exit.png")),
            ]))
    write_form(os.path.join(FORMS, "Sounds.ui"), "Sounds", top)


if __name__ == "__main__":
    history()
    restart_causes()
    sounds()
