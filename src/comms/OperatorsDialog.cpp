#include "comms/OperatorsDialog.h"

#include "comms/OperatorEdit.h"
#include "settings/DeviceSettings.h"
#include "settings/OperatorPresetFile.h"
#include "settings/Prompt.h"
#include "ui_OperatorsDialog.h"

namespace {
QList<GsmOperator>* Operators() {
    return g_deviceSettings ? &g_deviceSettings->gsmOperators : nullptr;
}

bool IsRow(int row) {
    return Operators() && row >= 0 && row < Operators()->size();
}
} // namespace

void ReportUnwrittenPresetFile(QWidget* parent, const QString& fileName) {
    prompt().message(Prompt::Warning, parent, QStringLiteral("Предупреждение"),
                     QStringLiteral("Не удалось записать файл %1.").arg(fileName), Prompt::Ok);
}

OperatorsDialog::OperatorsDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::OperatorsDialog), m_editor(nullptr) {
    ui->setupUi(this);
    m_editor = new OperatorEdit(this);
    connect(ui->lwOperators, &QListWidget::currentRowChanged, this,
            &OperatorsDialog::CurrentIndexChange);
    connect(ui->tbAddNew, &QPushButton::clicked, this, &OperatorsDialog::CreateNewOperator);
    connect(ui->tbEdit, &QPushButton::clicked, this, &OperatorsDialog::EditOperator);
    connect(ui->tbDel, &QPushButton::clicked, this, &OperatorsDialog::DelOperator);
    connect(m_editor, &OperatorEdit::SigUpdateList, this, &OperatorsDialog::UpdateInternalList);
}

OperatorsDialog::~OperatorsDialog() {
    delete ui;
}

void OperatorsDialog::UpdateInternalList(int index) {
    ui->lwOperators->clear();
    int count = 0;
    if (const QList<GsmOperator>* list = Operators()) {
        for (const GsmOperator& op : *list)
            ui->lwOperators->addItem(op.name);
        count = int(list->size());
    }
    ui->lwOperators->setCurrentRow(index);
    ui->tbDel->setEnabled(count > 1);
    emit SigListWasUpdated();
}

void OperatorsDialog::CreateNewOperator() {
    m_editor->ExecDialog(true, 0);
}

void OperatorsDialog::EditOperator() {
    const int row = ui->lwOperators->currentRow();
    if (IsRow(row))
        m_editor->ExecDialog(false, row);
}

void OperatorsDialog::DelOperator() {
    const int row = ui->lwOperators->currentRow();
    // The list never runs empty: the SIM settings and the codec need an
    // operator to point at.
    if (!IsRow(row) || Operators()->size() < 2)
        return;
    const int answer =
        prompt().message(Prompt::Question, this, QStringLiteral("Подтверждение удаления"),
                         QStringLiteral("Вы уверены, что хотите удалить точку доступа %1?")
                             .arg(Operators()->at(row).name),
                         Prompt::Yes | Prompt::No, Prompt::No);
    if (answer != Prompt::Yes)
        return;
    Operators()->removeAt(row);
    // A SIM points at its operator by position: those behind the deleted one
    // moved up, so the SIM follows them and keeps its access point.
    for (i32& chosen : g_deviceSettings->header->simOperator) {
        if (chosen > row)
            --chosen;
    }
    const OperatorPresetFile file;
    const bool written = file.write(*Operators());
    UpdateInternalList(row > 0 ? row - 1 : 0);
    if (!written)
        ReportUnwrittenPresetFile(this, file.fileName());
}

void OperatorsDialog::CurrentIndexChange(int index) {
    if (!IsRow(index))
        return;
    const GsmOperator& op = Operators()->at(index);
    ui->leOpName->setText(op.name);
    ui->leNumBalance->setText(op.ussd);
    ui->leServer->setText(op.initString);
    ui->lePassword->setText(op.password);
    ui->leLogin->setText(op.login);
}
