#!/usr/bin/env python3
"""Writes the Designer forms of the key windows: the key programming window,
the key editor and the key-loading table (twenty numbered rows).

Run from anywhere: python3 tools/forms_keys.py. The .ui files are committed;
this script is kept so that the numbered rows can be regenerated.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uiwriter import QRC, Layout, Raw, Spacer, Widget, enum, font, icon, qset, rect, size, write_form

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")

W = Widget
CENTER = qset("Qt::AlignCenter")
STATUS_FONT = font(bold=True, italic=True, point=10)
KEY_MASK = ">HH-HH-HH-HH-HH-HH;F"


def palette(role, enabled, disabled):
    """One colour role: `enabled` in the active and inactive groups,
    `disabled` in the disabled group."""
    def brush(rgb):
        r, g, b = rgb
        return (f'<colorrole role="{role}"><brush brushstyle="SolidPattern"><color alpha="255">'
                f"<red>{r}</red><green>{g}</green><blue>{b}</blue></color></brush></colorrole>")
    return Raw(f"<palette><active>{brush(enabled)}</active><inactive>{brush(enabled)}</inactive>"
               f"<disabled>{brush(disabled)}</disabled></palette>")


def pixmap(path):
    return Raw(f'<pixmap resource="{QRC}">{path}</pixmap>')


class Grid(Layout):
    """A grid with separate horizontal and vertical spacing."""

    def __init__(self, name, items, hspacing, vspacing):
        super().__init__("grid", name, items)
        self.hspacing, self.vspacing = hspacing, vspacing

    def xml(self, ind):
        out = super().xml(ind)
        out[1:1] = [
            f'{ind} <property name="horizontalSpacing"><number>{self.hspacing}</number></property>',
            f'{ind} <property name="verticalSpacing"><number>{self.vspacing}</number></property>',
        ]
        return out


def label(name, text, **kw):
    return W("QLabel", name, text=text, **kw)


def button(name, text, **kw):
    return W("QPushButton", name, text=text, **kw)


def hspacer(name):
    return Spacer(name, False, 40, 20)


def vspacer(name):
    return Spacer(name, True, 20, 40)


def led(name, w, h, enabled, disabled):
    """A boxed frame whose background shows whether it is enabled."""
    return W("QFrame", name, enabled=False, minimumSize=size(w, h), maximumSize=size(w, h),
             autoFillBackground=True, frameShape=enum("QFrame::Box"),
             palette=palette("Window", enabled, disabled))


def status_label(name, text, **kw):
    return label(name, text, font=STATUS_FONT, alignment=CENTER, **kw)


LED_ON, LED_OFF = (45, 227, 13), (157, 157, 157)
BLACK, RED = (0, 0, 0), (255, 0, 0)


# ------------------------------------------------------- key programming window
def keys_options():
    regim = label("lRegim", "", enabled=False, minimumSize=size(0, 20), font=font(point=9),
                  autoFillBackground=True, frameShape=enum("QFrame::Box"),
                  frameShadow=enum("QFrame::Sunken"), alignment=CENTER,
                  palette=palette("Window", (55, 236, 0), (139, 139, 139)))
    master = W("QGroupBox", "gbMaster", title="Меню мастер ключа", layout=Layout(
        "hbox", "horizontalLayout_master", [
            label("label", "Режим меню:"),
            W("QLCDNumber", "lcdRegim", digitCount=2, segmentStyle=enum("QLCDNumber::Flat")),
            label("lMasterKey", "Мастер-меню:"),
            led("wLedMaster", 37, 15, LED_ON, LED_OFF),
            hspacer("horizontalSpacer_master"),
        ]))
    table = W("QGroupBox", "gbTable", title="Таблица текущих данных", layout=Layout(
        "vbox", "verticalLayout_table", [
            W("QTableView", "tvCurKeys",
              editTriggers=qset("QAbstractItemView::NoEditTriggers"),
              selectionMode=enum("QAbstractItemView::SingleSelection"),
              selectionBehavior=enum("QAbstractItemView::SelectRows")),
        ]))
    menu = W("QGroupBox", "gbMenu", title="Панель управления", layout=Layout(
        "hbox", "horizontalLayout_menu", [
            button("pbChangeKey", "Редактировать"),
            button("pbDelKey", "Удалить"),
            button("pbDelAllKeys", "Удалить все"),
            button("pbDelNoMasterKeys", "Удалить все не мастер-ключи"),
        ]))
    touch = W("QGroupBox", "gbTouch", title="Контроль прикладывания ключа", layout=Layout(
        "hbox", "horizontalLayout_touch", [
            label("label_22", "Номер ключа:"),
            W("QLCDNumber", "lcdNumKey", digitCount=2, minimumSize=size(48, 24),
              segmentStyle=enum("QLCDNumber::Flat")),
            led("wLedKas", 15, 15, LED_ON, LED_OFF),
            label("lKasanie", "Касание", font=font(point=8)),
        ]))

    def tool(name, text, tip, path):
        return W("QToolButton", name, text=text, toolTip=tip, icon=icon(path),
                 toolButtonStyle=enum("Qt::ToolButtonTextBesideIcon"))

    top = W("QDialog", "KeysOptions", geometry=rect(0, 0, 627, 525),
            windowTitle="Настройка ключей/паролей",
            layout=Layout("vbox", "verticalLayout", [
                regim,
                master,
                Layout("hbox", "horizontalLayout_touch_files", [
                    touch,
                    hspacer("horizontalSpacer_files"),
                    tool("tbSave", "Сохранить", "Сохранить таблицу", ":/icons/save.png"),
                    tool("tbLoad", "Загрузить", "Загрузить таблицу", ":/icons/open.png"),
                ]),
                table,
                menu,
                status_label("lStatus", "Данные приняты успешно!"),
                status_label("lWrStatus", "Запись успешна!"),
                status_label("lDelStatus", "Удаление успешно!"),
                Layout("hbox", "horizontalLayout_buttons", [
                    button("pbZapros", "Запрос данных", icon=icon(":/icons/ReadEEPROM.png")),
                    hspacer("horizontalSpacer_buttons"),
                    button("pbCancel", "Завершить", icon=icon(":/icons/exit.png")),
                ]),
            ]))
    write_form(os.path.join(FORMS, "KeysOptions.ui"), "KeysOptions", top,
               connections=[("pbCancel", "clicked()", "KeysOptions", "accept()")])


# ------------------------------------------------------------------ key editor
def edit_key():
    top = W("QDialog", "EditKey", geometry=rect(0, 0, 411, 124), minimumSize=size(308, 94),
            windowTitle="Редактирование ключа",
            layout=Layout("vbox", "verticalLayout", [
                Layout("hbox", "horizontalLayout_mode", [
                    hspacer("horizontalSpacer_modeLeft"),
                    W("QRadioButton", "rbKey", text="Ключ Touch Memory", checked=True),
                    W("QRadioButton", "rbPass", text="Пароль"),
                    hspacer("horizontalSpacer_modeRight"),
                ]),
                Layout("hbox", "horizontalLayout_value", [
                    hspacer("horizontalSpacer_valueLeft"),
                    label("lKeyPass", "ID ключа"),
                    W("QLineEdit", "leIDKey", inputMask=KEY_MASK, alignment=CENTER,
                      minimumSize=size(150, 0)),
                    W("QCheckBox", "cbGBR", text="Признак ГБР"),
                    hspacer("horizontalSpacer_valueRight"),
                ]),
                status_label("lWrStatus", "Ошибка записи!",
                             palette=palette("WindowText", BLACK, RED)),
                vspacer("verticalSpacer"),
                Layout("hbox", "horizontalLayout_buttons", [
                    button("pbWrite", "Записать"),
                    button("pbCancel", "Отмена"),
                ]),
            ]))
    write_form(os.path.join(FORMS, "EditKey.ui"), "EditKey", top,
               connections=[("pbCancel", "clicked()", "EditKey", "close()")])


# ----------------------------------------------------------- key-loading table
def keys_load_dialog():
    closed = ":/icons/closeport.png"

    def picture(name):
        return label(name, "", pixmap=pixmap(closed), scaledContents=True,
                     minimumSize=size(16, 16), maximumSize=size(16, 16))

    def flag_text(name):
        return label(name, "Нет", maximumSize=size(16777215, 18), alignment=CENTER)

    items = [
        (0, 0, label("lHeadNumber", "Номер", alignment=CENTER)),
        (0, 1, label("lHeadValue", "Значение", alignment=CENTER)),
        (0, 2, 1, 2, label("lHeadPresent", "Наличие", alignment=CENTER)),
        (0, 4, 1, 2, label("lHeadGBR", "Признак ГБР", alignment=CENTER)),
        (0, 6, label("lHeadWrite", "Записать", alignment=CENTER)),
    ]
    for n in range(1, 21):
        number = str(n) if n <= 18 else f"Мастер-ключ {n - 18}"
        items += [
            (n, 0, label(f"lNumber_{n}", number, alignment=CENTER)),
            (n, 1, W("QLineEdit", f"leKeyId_{n}", readOnly=True, alignment=CENTER,
                     inputMask="HH-HH-HH-HH-HH-HH;F")),
            (n, 2, picture(f"lNalFlag_{n}")),
            (n, 3, flag_text(f"lNalText_{n}")),
        ]
        if n <= 18:
            items += [(n, 4, picture(f"lGBRFlag_{n}")), (n, 5, flag_text(f"lGBRText_{n}"))]
        items.append((n, 6, W("QCheckBox", f"cbWrite_{n}", text="")))

    top = W("QDialog", "KeysLoadDialog", geometry=rect(0, 0, 632, 600),
            windowTitle="Загрузка таблицы ключей",
            layout=Layout("vbox", "verticalLayout", [
                W("QGroupBox", "gbLoadTable", title="Таблица загрузки ключей/паролей",
                  alignment=CENTER, layout=Grid("gridLayout", items, 20, 3)),
                status_label("lWrStatus", "Ошибка записи!", enabled=False,
                             palette=palette("WindowText", BLACK, RED)),
                Layout("hbox", "horizontalLayout_buttons", [
                    hspacer("horizontalSpacer_left"),
                    button("pbWrite", "Записать отмеченные", icon=icon(":/icons/apply.png")),
                    button("pbCancel", "Отмена", icon=icon(":/icons/cancel.png")),
                    hspacer("horizontalSpacer_right"),
                ]),
                vspacer("verticalSpacer"),
            ]))
    write_form(os.path.join(FORMS, "KeysLoadDialog.ui"), "KeysLoadDialog", top,
               connections=[("pbCancel", "clicked()", "KeysLoadDialog", "reject()")])


if __name__ == "__main__":
    keys_options()
    edit_key()
    keys_load_dialog()
