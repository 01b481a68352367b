#include "comms/PultSMS.h"

#include "comms/CommsFields.h"
#include "comms/PultSMSBaseOpt.h"
#include "comms/PultSMSSigOpt.h"
#include "comms/PultSMSTable.h"
#include "ui_PultSMS.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
// Caption of each event's row and which name boxes the event has. The
// captions differ from the table's row headers in one place (9.5 V).
struct EventRow {
    const char* caption;
    bool keyName;
    bool loopNames;
};
constexpr EventRow kEventRows[kConsoleEvents] = {
    {"Постановка на охрану", true, true},
    {"Снятие с охраны", true, true},
    {"Тревога", false, true},
    {"Невзятие", true, true},
    {"Отсутствие 220 В", false, false},
    {"Восстановление 220 В", false, false},
    {"Питание ниже 9.5 В", false, false},
    {"Питание восстановлено", false, false},
    {"Срабатывание тампера", false, false},
};

constexpr int kHeadingWidth = 180;

template <typename T> T* child(const QWidget* parent, const QString& name) {
    return parent->findChild<T*>(name);
}

bool checked(const QWidget* parent, const char* name) {
    return child<QCheckBox>(parent, QLatin1String(name))->isChecked();
}

void setChecked(const QWidget* parent, const char* name, int flag) {
    child<QCheckBox>(parent, QLatin1String(name))->setChecked(flag != 0);
}

QString text(const QWidget* parent, const char* name) {
    return child<QLineEdit>(parent, QLatin1String(name))->text();
}

void setText(const QWidget* parent, const char* name, const QString& value) {
    child<QLineEdit>(parent, QLatin1String(name))->setText(value);
}
} // namespace

PultSMS::PultSMS(QWidget* parent)
    : ParamsPage(parent), ui(new Ui::PultSMS), base(new PultSMSBaseOpt) {
    ui->setupUi(this);
    ui->twPultSMS->setDocumentMode(true);
    ui->twPultSMS->addTab(base, QStringLiteral("Основные настройки"));

    auto* signals_ = new QWidget;
    auto* column = new QVBoxLayout(signals_);
    // Headings over the three columns of the rows; the outer two are as wide
    // as the rows' name and identifier columns.
    auto* heads = new QHBoxLayout;
    const std::pair<const char*, int> headings[] = {{"Наименование события", 0},
                                                    {"Начальные поля SMS сообщений", 1},
                                                    {"Поле идентификаторов", 0}};
    for (const auto& [text, stretch] : headings) {
        auto* head = new QLabel(QString::fromUtf8(text));
        head->setAlignment(Qt::AlignCenter);
        if (!stretch)
            head->setMinimumWidth(kHeadingWidth);
        heads->addWidget(head, stretch);
    }
    heads->addSpacing(kHeadingWidth / 10);
    column->addLayout(heads);
    auto* scroll = new QScrollArea;
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    auto* rows = new QWidget;
    auto* rowsLayout = new QVBoxLayout(rows);
    for (int e = 0; e < kConsoleEvents; ++e) {
        events[e] = new PultSMSSigOpt;
        events[e]->SetEvent(QString::fromUtf8(kEventRows[e].caption), kEventRows[e].keyName,
                            kEventRows[e].loopNames);
        rowsLayout->addWidget(events[e]);
    }
    rowsLayout->addStretch();
    scroll->setWidget(rows);
    column->addWidget(scroll);
    ui->twPultSMS->addTab(signals_, QStringLiteral("Сигналы по событиям"));
}

PultSMS::~PultSMS() {
    delete ui;
}

PultSMSSigOpt* PultSMS::eventRow(int event) const {
    return event >= 0 && event < kConsoleEvents ? events[event] : nullptr;
}

void PultSMS::paintEvent(QPaintEvent*) {}

void PultSMS::ApplyClick() {
    ConsoleSmsSettings& c = *settings().consoleSms;
    for (int k = 1; k <= kMainNumbers; ++k)
        c.number[k - 1] = NumberFromField(child<QLineEdit>(base, QStringLiteral("leNum%1").arg(k)));
    // In the autonomous mode the SMS sending page owns the object name.
    if (!autonomous()) {
        c.cb1 = checked(base, "cbPerNameObj");
        c.objectName = text(base, "leObjName");
    }
    const char* options[] = {"cbPerDate", "cbPerSecs", "cbSMSPostEx", "cbSMSPostFail"};
    for (int i = 0; i < int(c.cb2to5.size()); ++i)
        c.cb2to5[i] = checked(base, options[i]);
    for (int n = 1; n <= kLoops; ++n)
        c.loopName[n - 1] = child<QLineEdit>(base, QStringLiteral("leShl%1").arg(n))->text();

    const PultSMSTable* table = base->table();
    for (int e = 0; e < kConsoleEvents; ++e) {
        for (int k = 0; k < kMainNumbers; ++k)
            c.eventNumber[e][k] = table->check(e, k);
        const PultSMSSigOpt* row = events[e];
        c.eventText[0][e] = text(row, "leZag");
        c.eventText[1][e] = text(row, "leField1");
        c.eventText[2][e] = text(row, "leField2");
        c.withTime[e] = checked(row, "cbTimeDate");
        StoreComboIndex(child<QComboBox>(row, QStringLiteral("combobIdent")), c.eventKind[e]);
        c.withKeyName[e] = checked(row, "cbUseKeyName");
        c.withLoopName[e] = checked(row, "cbUseShlName");
    }
}

void PultSMS::CancelClick() {
    const ConsoleSmsSettings& c = *settings().consoleSms;
    for (int k = 1; k <= kMainNumbers; ++k)
        ShowNumber(child<QLineEdit>(base, QStringLiteral("leNum%1").arg(k)), c.number[k - 1]);
    setChecked(base, "cbPerNameObj", c.cb1);
    const char* options[] = {"cbPerDate", "cbPerSecs", "cbSMSPostEx", "cbSMSPostFail"};
    for (int i = 0; i < int(c.cb2to5.size()); ++i)
        setChecked(base, options[i], c.cb2to5[i]);
    setText(base, "leObjName", c.objectName);
    for (int n = 1; n <= kLoops; ++n)
        child<QLineEdit>(base, QStringLiteral("leShl%1").arg(n))->setText(c.loopName[n - 1]);

    PultSMSTable* table = base->table();
    for (int e = 0; e < kConsoleEvents; ++e) {
        for (int k = 0; k < kMainNumbers; ++k)
            table->setCheck(e, k, c.eventNumber[e][k] != 0);
        const PultSMSSigOpt* row = events[e];
        setText(row, "leZag", c.eventText[0][e]);
        setText(row, "leField1", c.eventText[1][e]);
        setText(row, "leField2", c.eventText[2][e]);
        setChecked(row, "cbTimeDate", c.withTime[e]);
        LoadComboIndex(child<QComboBox>(row, QStringLiteral("combobIdent")), c.eventKind[e]);
        setChecked(row, "cbUseKeyName", c.withKeyName[e]);
        setChecked(row, "cbUseShlName", c.withLoopName[e]);
    }
    table->Reset();
}
