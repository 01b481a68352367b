#!/usr/bin/env python3
"""Writes the Designer forms of the phone-link and SMS pages.

Run from anywhere: python3 tools/forms_comms.py. The .ui files are committed;
this script is kept so that the numbered rows (numbers, stations, yes/no
columns, loop names) can be regenerated consistently.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from uiwriter import Layout, Raw, Spacer, Widget, enum, qset, rect, size, sizepolicy, write_form

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FORMS = os.path.join(ROOT, "forms")

W = Widget
CENTER = qset("Qt::AlignCenter")
PHONE_MASK = "000-000-00-00;*"


class L(Layout):
    """A layout with extra layout properties (e.g. horizontalSpacing) and the
    form kind, whose items are (row, column, item) with column 0 the label."""

    def __init__(self, kind, name, items, props=None, **kw):
        super().__init__("grid" if kind == "form" else kind, name, items, **kw)
        self.form = kind == "form"
        self.props = props or {}

    def xml(self, ind):
        out = super().xml(ind)
        if self.form:
            out[0] = out[0].replace("QGridLayout", "QFormLayout")
        extra = [f'{ind} <property name="{k}"><number>{v}</number></property>'
                 for k, v in self.props.items()]
        return out[:1] + extra + out[1:]


def label(name, text, **kw):
    return W("QLabel", name, text=text, **kw)


def check(name, text="", **kw):
    return W("QCheckBox", name, text=text, **kw)


def spin(name, lo, hi, value=0, **kw):
    return W("QSpinBox", name, minimum=lo, maximum=hi, value=value, alignment=CENTER, **kw)


def phone(name, **kw):
    props = {"maxLength": 13}
    props.update(kw)
    props["inputMask"] = PHONE_MASK
    props["text"] = "---"
    return W("QLineEdit", name, **props)


def hspacer(name, w=40, h=20):
    return Spacer(name, False, w, h)


def vspacer(name, w=20, h=40):
    return Spacer(name, True, w, h)


def vline(name, shadow="QFrame::Sunken", **kw):
    return W("QFrame", name, frameShape=enum("QFrame::VLine"), frameShadow=enum(shadow), **kw)


def group(name, title, layout, centred=True, **kw):
    if centred:
        kw["alignment"] = CENTER
    return W("QGroupBox", name, title=title, layout=layout, **kw)


def page(cls, w, h, layout, shape="QFrame::StyledPanel", shadow="QFrame::Raised", **kw):
    return W("QFrame", cls, geometry=rect(0, 0, w, h), frameShape=enum(shape),
             frameShadow=enum(shadow), windowTitle="Frame", layout=layout, **kw)


def header_palette():
    """Blue text of the column headings; the usual grey when disabled."""
    def role(r, g, b):
        return (f'<colorrole role="WindowText"><brush brushstyle="SolidPattern">'
                f'<color alpha="255"><red>{r}</red><green>{g}</green><blue>{b}</blue></color>'
                f"</brush></colorrole>")
    blue = role(40, 77, 197)
    return Raw(f"<palette><active>{blue}</active><inactive>{blue}</inactive>"
               f"<disabled>{role(118, 116, 108)}</disabled></palette>")


def yes_no(name):
    return W("QComboBox", name, minimumSize=size(50, 0))


# Designer properties without a setter of that name.
NON_STANDARD = ("showDropIndicator",)


def save(top, connections=()):
    path = os.path.join(FORMS, top.name + ".ui")
    write_form(path, top.name, top, connections=connections)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    for name in NON_STANDARD:
        text = text.replace(f'<property name="{name}">', f'<property name="{name}" stdset="0">')
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


# ------------------------------------------------------------- console link
def connect_params():
    stations = [check(f"cbUsePPM{n}", str(n)) for n in range(9, 16)]
    top = page("ConnectParams", 719, 394, L("grid", "gridLayout_4", [
        (0, 0, group("groupBox", "Параметры связи:", L("grid", "gridLayout_3", [
            (0, 0, 1, 2, L("hbox", "horizontalLayout_2", [
                label("label", "Номер объекта:", frameShape=enum("QFrame::NoFrame"),
                      frameShadow=enum("QFrame::Plain")),
                spin("sbNumObj", 0, 9999, 1, minimumSize=size(55, 0),
                     sizePolicy=sizepolicy("Expanding", "Fixed")),
                check("cbIncNum", "Автоматически инкрементировать номер объекта"),
                hspacer("horizontalSpacer"),
            ])),
            (1, 0, check("cbIshCSD", "Исходящая детализация по CSD")),
            (1, 1, check("cbRezPPM", "Изначально звонить на резервные ППМ (5 - 8)")),
            (2, 0, check("cbUseAsyncTrans", "Асинхронная передача сигналов")),
            (2, 1, check("cbDelMsgs", "Удалять сообщения после исчерпания попыток отправки")),
        ]), centred=False)),
        (1, 0, group("groupBox_2", "Исходящее тестирование:", L("grid", "gridLayout_2", [
            (0, 0, check("cbIshTestOpen", "Исходящее тестирование в состоянии \"Открыто\"")),
            (0, 1, 2, 1, L("grid", "gridLayout", [
                (0, 0, label("label_2", "Интервал тестирования:")),
                (0, 1, W("QComboBox", "coBInterTest")),
                (1, 0, label("label_4", "Попыток тестирования:")),
                (1, 1, spin("sbPopTest", 1, 9, 1)),
                (0, 2, hspacer("horizontalSpacer_2")),
            ])),
            (1, 0, check("cbIshTestClose", "Исходящее тестирование в состоянии \"Закрыто\"")),
            (2, 0, label("label_5", "Использовать для исходящего тестирования ППМ:")),
            (2, 1, L("hbox", "horizontalLayout", stations + [hspacer("horizontalSpacer_3")])),
        ]), centred=False)),
        (2, 0, group("groupBox_3", "Группа быстрого реагирования:", L("hbox", "horizontalLayout_3", [
            label("label_6", "Попыток дозвона при оповещении о прибытии ГБР:"),
            spin("sbPopGBR", 0, 9, 0, minimumSize=size(50, 0), suffix=""),
            hspacer("horizontalSpacer_4"),
        ]), centred=False)),
        (3, 0, vspacer("verticalSpacer")),
    ]), midLineWidth=0)
    save(top)


# ---------------------------------------------------------- autonomous link
def au_connect_params():
    numbers = [(0, 1, Spacer("verticalSpacer_2", True, 20, 20, "QSizePolicy::Fixed"))]
    for k in range(1, 6):
        numbers += [
            (k, 0, label(f"label_{k + 1}", str(k), alignment=CENTER,
                         sizePolicy=sizepolicy("Fixed", "Preferred"))),
            (k, 1, phone(f"leNum{k}")),
        ]
    top = page("AuConnectParams", 644, 390, L("grid", "gridLayout_4", [
        (0, 0, L("hbox", "horizontalLayout_2", [
            group("groupBox", "Телефонные номера",
                  L("grid", "gridLayout", numbers, props={"horizontalSpacing": 15},
                    margins=(20, None, None, None))),
            group("groupBox_2", "Количество попыток дозвона", L("grid", "gridLayout_3", [
                (0, 0, L("vbox", "verticalLayout_2", [
                    L("vbox", "verticalLayout", [
                        label("label_7", "При постановке на охрану/"),
                        label("label_8", "снятии с охраны", alignment=CENTER),
                    ], spacing=0),
                ] + [spin(f"sbPOSO{k}", 0, 9) for k in range(1, 6)], spacing=5)),
                (0, 1, vline("line")),
                (0, 2, L("vbox", "verticalLayout_3", [
                    label("label_10", "При тревоге на объекте"),
                ] + [spin(f"sbT{k}", 0, 9) for k in range(1, 6)], spacing=5)),
            ], margins=(None, 3, None, None))),
        ])),
        (1, 0, group("groupBox_3", "Параметры объекта:", L("grid", "gridLayout_2", [
            (0, 0, L("hbox", "horizontalLayout", [
                label("label_9", "Номер объекта:", frameShape=enum("QFrame::NoFrame"),
                      frameShadow=enum("QFrame::Plain")),
                spin("sbNumObj", 0, 9999, 1, minimumSize=size(55, 0),
                     sizePolicy=sizepolicy("Preferred", "Fixed")),
                hspacer("horizontalSpacer"),
            ], spacing=5, margins=(0, None, 0, None))),
            # Creation (and focus) order differs from the rows on purpose.
            (3, 0, check("cbDelMsgs", "Удалять сообщения после исчерпания попыток отправки")),
            (1, 0, check("cbDozvon", "При тревоге звонить до первого удачного соединения")),
            (2, 0, check("cbUseAsyncTrans", "Асинхронная передача сигналов")),
        ]), centred=False)),
        (2, 0, 1, 2, vspacer("verticalSpacer")),
    ]))
    save(top)


# ---------------------------------------------------------- federal numbers
def use_boxes(name, numbers):
    """Use check boxes centred in a column, one per row."""
    items = []
    for r, n in enumerate(numbers):
        items += [(r, 0, hspacer(f"hs_{name}_{r}a", 10)), (r, 1, check(f"cbUse{n}")),
                  (r, 2, hspacer(f"hs_{name}_{r}b", 10))]
    return L("grid", name, items)


def federal_phone(n):
    return phone(f"leNum{n}", cursorPosition=13, frame=True)


def federal_nums():
    head = ("№ ППМ", "Номер телефона")
    main = [(0, 0, label("label_2", head[0], alignment=CENTER)),
            (0, 1, label("label_25", head[1], alignment=CENTER)),
            (0, 2, label("label_26", "Попыток дозвона", alignment=CENTER))]
    for k, lab in zip(range(1, 5), ("label_20", "label_22", "label_23", "label_24")):
        main += [(k, 0, label(lab, str(k), alignment=CENTER)), (k, 1, federal_phone(k)),
                 (k, 2, spin(f"sbPop{k}", 0, 9))]

    # Stations 9..12; the item order keeps the focus order of the page.
    test_a = [(0, 0, label("label_27", head[0], alignment=CENTER)),
              (0, 1, label("label_32", head[1], alignment=CENTER)),
              (0, 2, 1, 2, label("label_33", "Использовать", alignment=CENTER))]
    rows_a = {9: ("label_28", 1), 10: ("label_29", 2), 11: ("label_30", 3), 12: ("label_31", 4)}
    test_a += [(rows_a[n][1], 1, federal_phone(n)) for n in (11, 9, 12, 10)]
    test_a += [(1, 2, 4, 2, use_boxes("gridLayout_3", range(9, 13)))]
    test_a += [(r, 0, label(lab, str(n), alignment=CENTER)) for n, (lab, r) in rows_a.items()]

    rows_b = {13: ("label_37", 1), 14: ("label_39", 2), 15: ("label_38", 3)}
    test_b = [(1, 3, 3, 1, use_boxes("gridLayout_5", range(13, 16))),
              (0, 0, 1, 2, label("label_34", head[0], alignment=CENTER)),
              (0, 2, label("label_35", head[1], alignment=CENTER)),
              (0, 3, label("label_36", "Использовать", alignment=CENTER))]
    test_b += [(r, 0, 1, 2, label(lab, str(n), alignment=CENTER)) for n, (lab, r) in rows_b.items()]
    test_b += [(rows_b[n][1], 2, federal_phone(n)) for n in (13, 15, 14)]
    test_b += [(4, 0, 1, 4, vspacer("verticalSpacer_2"))]

    reserve = [(0, 0, label("label_40", head[0], alignment=CENTER)),
               (0, 1, label("label_41", head[1], alignment=CENTER)),
               (0, 2, label("label_42", "Использовать", alignment=CENTER)),
               (1, 1, federal_phone(5)),
               (1, 2, 4, 1, use_boxes("gridLayout_2", range(5, 9)))]
    for n, lab in zip(range(5, 9), ("label_43", "label_44", "label_45", "label_46")):
        if n > 5:
            reserve.append((n - 4, 1, federal_phone(n)))
        reserve.append((n - 4, 0, label(lab, str(n), alignment=CENTER)))

    top = page("FederalNums", 883, 435, L("grid", "gridLayout_8", [
        (0, 0, group("groupBox_4", "Основные ППМ:", L("grid", "gridLayout", main),
                     centred=False)),
        (1, 0, 1, 2, group("groupBox_5", "Тестовые ППМ:", L("hbox", "horizontalLayout", [
            L("grid", "gridLayout_6", test_a),
            vline("line_2", "QFrame::Raised", lineWidth=1, midLineWidth=0),
            L("grid", "gridLayout_7", test_b),
        ]), centred=False, alignment=qset("Qt::AlignLeading|Qt::AlignLeft|Qt::AlignVCenter"))),
        (0, 1, group("groupBox_6", "Резервные ППМ:", L("grid", "gridLayout_4", reserve),
                     centred=False)),
        (0, 2, 2, 1, hspacer("horizontalSpacer")),
        (2, 0, 1, 2, vspacer("verticalSpacer")),
    ]))
    save(top)


# ------------------------------------------------------- SMS options (DopSMS)
def column(name, widgets, **kw):
    return L("vbox", name, widgets, **kw)


def dop_sms():
    top = page("DopSMS", 657, 323, L("grid", "gridLayout", [
        (0, 1, group("groupBox_5", "События, при которых отправляется SMS", L(
            "hbox", "horizontalLayout", [
                group("groupBox_6", "Сервисные", column("verticalLayout_12", [
                    label("label_10", "", alignment=CENTER, palette=header_palette()),
                    column("verticalLayout_13", [yes_no(f"cbServ{k}") for k in range(1, 6)]),
                ])),
                group("groupBox_7", "Смена SIM-карты", column("verticalLayout_14", [
                    label("label_11", "", alignment=CENTER),
                    column("verticalLayout_15", [yes_no(f"cbSIM{k}") for k in range(1, 6)]),
                ])),
                group("groupBox_3", "При размыкании", column("verticalLayout_9", [
                    L("hbox", "horizontalLayout_4", [
                        label("label_8", "Польз. вых. 1", minimumSize=size(70, 0)),
                        label("label_12", "Польз. вых. 2", minimumSize=size(70, 0)),
                    ]),
                    L("hbox", "horizontalLayout_3", [
                        column("verticalLayout_7", [yes_no(f"cbRazm1{k}") for k in range(1, 6)]),
                        vline("line_2"),
                        column("verticalLayout_8", [yes_no(f"cbRazm2{k}") for k in range(1, 6)]),
                    ]),
                ])),
            ], spacing=0, margins=(0, None, 0, 0)))),
        (1, 0, 1, 2, group("groupBox_8", "Дополнительные параметры:", column("verticalLayout", [
            check("cboxpersleep", "Отправлять SMS перед переходом в режим \"SLEEP\" "
                                  "(питающее напряжение ниже 9,5 В)"),
            check("cboxposlsleep", "Отправлять SMS после выхода из режима \"SLEEP\"",
                  tristate=False),
        ]), centred=False)),
        (0, 0, group("groupBox", "Сотовый телефон", L("grid", "gridLayout_2", [
            (0, 0, 1, 2, label("label", "№       Номер телефона")),
            (1, 0, column("verticalLayout_2",
                          [label(f"label_{k + 1}", str(k)) for k in range(1, 6)])),
            (1, 1, column("verticalLayout_3",
                          [phone(f"leNum{k}", readOnly=True) for k in range(1, 6)])),
        ], props={"verticalSpacing": 0}))),
        (0, 2, hspacer("horizontalSpacer")),
        (2, 1, vspacer("verticalSpacer")),
    ]))
    save(top)


# ------------------------------------------------------ SMS sending (OtprSMS)
def key_phone_group(name, title, stem, key, phone_col, key_head, phone_head):
    """An arming or disarming group: a key column and a phone column."""
    return group(name, title, column(f"vl_{stem}", [
        L("hbox", f"hl_{stem}Heads", [
            label(key_head, "ключом", alignment=CENTER),
            label(phone_head, "телефоном", alignment=CENTER),
        ]),
        L("hbox", f"hl_{stem}Columns", [
            column(f"vl_{stem}Key", [yes_no(f"{key}{k}") for k in range(1, 6)]),
            vline(f"line_{stem}"),
            column(f"vl_{stem}Phone", [yes_no(f"{phone_col}{k}") for k in range(1, 6)]),
        ]),
    ]))


def otpr_sms():
    top = page("OtprSMS", 719, 330, L("grid", "gridLayout", [
        (0, 0, group("groupBox", "Сотовый телефон", L("grid", "gridLayout_2", [
            (0, 0, 1, 2, label("label", "№  Номер телефона")),
            (1, 0, column("verticalLayout_2",
                          [label(f"label_{k + 1}", str(k)) for k in range(1, 6)])),
            (1, 1, column("verticalLayout_3", [phone(f"leNum{k}") for k in range(1, 6)])),
        ], props={"verticalSpacing": 0}))),
        (0, 1, group("groupBox_5", "События, при которых отправляется SMS", L(
            "hbox", "horizontalLayout", [
                key_phone_group("gbArm", "При постановке на охрану", "Arm", "CbPK", "CbPT",
                                "lArmByKey", "lArmByPhone"),
                key_phone_group("gbDisarm", "При снятии с охраны", "Disarm", "CbSK", "CbST",
                                "lDisarmByKey", "lDisarmByPhone"),
                group("gbAlarm", "Тревога/сервисные", column("vl_Alarm", [
                    label("lAlarm", "Тревога/сервисные", alignment=CENTER,
                          palette=header_palette()),
                    column("vl_AlarmColumn", [yes_no(f"cbTr{k}") for k in range(1, 6)]),
                ])),
            ], spacing=0, margins=(0, None, 0, 0)))),
        (1, 0, 1, 2, group("groupBox_8", "Дополнительные параметры:", L("grid", "gridLayout_3", [
            (0, 0, check("cbObjName", "Передавать имя объекта в SMS", checked=True)),
            (0, 1, W("QLineEdit", "leObjName", maxLength=8)),
            (0, 2, hspacer("horizontalSpacer_2")),
            (1, 0, check("cboxpnumobj", "Передавать номер объекта в SMS")),
        ]), centred=False)),
        (0, 2, hspacer("horizontalSpacer")),
        (2, 1, vspacer("verticalSpacer")),
    ]))
    save(top, connections=[("cbObjName", "toggled(bool)", "leObjName", "setEnabled(bool)")])


# --------------------------------------------------------------- console SMS
def pult_sms():
    # The tabs are made by the page; the tab widget shows no frame of its own.
    top = W("QFrame", "PultSMS", geometry=rect(0, 0, 719, 520), windowTitle="TabWidget",
            layout=L("vbox", "verticalLayout", [W("QTabWidget", "twPultSMS")], margins=0))
    save(top)


def pult_sms_base_opt():
    numbers = [(0, 0, label("label", "№")), (0, 1, label("label_7", "Номер SIM-карты"))]
    for k in range(1, 6):
        numbers += [(k, 0, label(f"label_{k + 1}", str(k), alignment=CENTER)),
                    (k, 1, phone(f"leNum{k}"))]

    def shl(n):
        return W("QLineEdit", f"leShl{n}", text=f"shl{n}")

    def num(name, text):
        return label(name, text, alignment=CENTER)

    loops = [(0, 0, num("label_9", "№1:")), (0, 1, shl(1)), (0, 2, num("label_13", "№5:")),
             (0, 3, shl(5)), (1, 1, shl(2)), (1, 0, num("label_10", "№2:")), (1, 3, shl(6)),
             (1, 2, num("label_14", " №6:")), (2, 1, shl(3)), (2, 0, num("label_11", "№3:")),
             (2, 3, shl(7)), (2, 2, num("label_15", "№7:")), (3, 0, num("label_12", "№4:")),
             (3, 1, shl(4)), (3, 3, shl(8)), (3, 2, num("label_16", "№8:")),
             (4, 2, Spacer("verticalSpacer", True, 20, 40))]

    top = page("PultSMSBaseOpt", 719, 420, L("vbox", "verticalLayout_2", [
        L("hbox", "horizontalLayout_2", [
            group("groupBox", "Телефонные номера",
                  L("grid", "gridLayout_4", numbers, props={"verticalSpacing": 3})),
            group("groupBox_4", "Специальные настройки:", column("verticalLayout", [
                check("cbPerNameObj", "Передавать имя объекта"),
                check("cbPerDate", "Передавать дату"),
                check("cbPerSecs", "Передавать секунды"),
                check("cbSMSPostEx", "Передавать SMS после принудительных действий с пульта"),
                check("cbSMSPostFail", "Передавать SMS только при неудаче дозвонов на пульт"),
            ]), centred=False),
        ]),
        L("hbox", "horizontalLayout_3", [
            group("groupBox_3", "Отправлять SMS по номерам в случае:", L("hbox", "horizontalLayout", [
                W("QTableView", "tvSMS",
                  editTriggers=qset("QAbstractItemView::AnyKeyPressed|"
                                    "QAbstractItemView::CurrentChanged|"
                                    "QAbstractItemView::EditKeyPressed|"
                                    "QAbstractItemView::SelectedClicked"),
                  showDropIndicator=False,
                  selectionMode=enum("QAbstractItemView::NoSelection"),
                  cornerButtonEnabled=False, minimumSize=size(330, 0)),
            ])),
            group("groupBox_2", "Установка наименований", L("grid", "gridLayout_3", [
                (0, 0, label("label_8", "Имя объекта:", alignment=CENTER)),
                (0, 1, W("QLineEdit", "leObjName")),
                (1, 0, 1, 2, group("groupBox_5", "Имена шлейфов",
                                   L("grid", "gridLayout", loops, props={"verticalSpacing": 3}),
                                   flat=True)),
            ])),
        ]),
    ], spacing=3), shape="QFrame::Panel", shadow="QFrame::Sunken")
    save(top)


# Width of the event name column, the same in every row.
EVENT_WIDTH = 170


def pult_sms_sig_opt():
    top = page("PultSMSSigOpt", 700, 90, L("grid", "gridLayout", [
        (0, 0, 2, 1, column("verticalLayout", [
            label("lEvent", "Событие", alignment=CENTER, minimumSize=size(EVENT_WIDTH, 0),
                  maximumSize=size(EVENT_WIDTH, 16777215), wordWrap=True),
            label("lEventDop", "", alignment=CENTER, maximumSize=size(EVENT_WIDTH, 16777215)),
        ], spacing=3)),
        (0, 1, check("cbTimeDate", "Время-дата")),
        (0, 2, 2, 1, column("verticalLayout_2", [
            W("QComboBox", "combobIdent"),
            check("cbUseKeyName", "Имя ключа TM"),
            check("cbUseShlName", "Имена шлейфов"),
        ])),
        (1, 1, L("form", "formLayout", [
            (0, 0, label("label_5", "Заголовок", alignment=CENTER)),
            (0, 1, W("QLineEdit", "leZag")),
            (1, 0, label("label_6", "Поле 1", alignment=CENTER)),
            (1, 1, W("QLineEdit", "leField1")),
            (2, 0, label("label_7", "Поле 2", alignment=CENTER)),
            (2, 1, W("QLineEdit", "leField2")),
        ])),
    ], columnstretch="0,1,0"), sizePolicy=sizepolicy("Expanding", "Fixed"))
    save(top)


def main():
    os.makedirs(FORMS, exist_ok=True)
    for f in (connect_params, au_connect_params, federal_nums, dop_sms, otpr_sms, pult_sms,
              pult_sms_base_opt, pult_sms_sig_opt):
        f()


if __name__ == "__main__":
    main()
