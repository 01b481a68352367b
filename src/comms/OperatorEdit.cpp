#include "comms/OperatorEdit.h"

#include "comms/OperatorsDialog.h"
#include "settings/DeviceSettings.h"
#include "settings/OperatorPresetFile.h"
#include "settings/Prompt.h"
#include "ui_OperatorEdit.h"

OperatorEdit::OperatorEdit(QWidget* parent) : QDialog(parent), ui(new Ui::OperatorEdit) {
    ui->setupUi(this);
    connect(ui->pbApply, &QPushButton::clicked, this, &OperatorEdit::ApplyClick);
}

OperatorEdit::~OperatorEdit() {
    delete ui;
}

bool OperatorEdit::Prepare(bool create, int index) {
    GsmOperator op;
    if (create) {
        op.name = QStringLiteral("Новый оператор");
    } else {
        if (!g_deviceSettings || index < 0 || index >= g_deviceSettings->gsmOperators.size())
            return false;
        op = g_deviceSettings->gsmOperators.at(index);
    }
    m_create = create;
    m_index = index;
    setWindowTitle(create ? QStringLiteral("Создание нового оператора")
                          : QStringLiteral("Редактирование оператора"));
    ui->leOpName->setText(op.name);
    ui->leNumBalance->setText(op.ussd);
    ui->leServer->setText(op.initString);
    ui->leLogin->setText(op.login);
    ui->lePassword->setText(op.password);
    return true;
}

int OperatorEdit::ExecDialog(bool create, int index) {
    if (!Prepare(create, index))
        return QDialog::Rejected;
    return exec();
}

void OperatorEdit::ApplyClick() {
    if (ui->leOpName->text().isEmpty()) {
        prompt().message(Prompt::Warning, this, QStringLiteral("Предупреждение"),
                         QStringLiteral("Заполните поле \"Наименование оператора\"."), Prompt::Ok);
        return;
    }
    if (!g_deviceSettings)
        return;
    QList<GsmOperator>& list = g_deviceSettings->gsmOperators;
    const GsmOperator op{ui->leOpName->text(), ui->leNumBalance->text(), ui->leServer->text(),
                         ui->leLogin->text(), ui->lePassword->text()};
    const OperatorPresetFile file;
    bool written = false;
    if (m_create) {
        written = file.append(&list, op);
        m_index = int(list.size()) - 1;
        m_create = false; // a second apply edits what the first one added
    } else if (m_index >= 0 && m_index < list.size()) {
        list[m_index] = op;
        written = file.writeOperator(m_index, op);
    } else {
        return;
    }
    emit SigUpdateList(m_index);
    if (!written)
        ReportUnwrittenPresetFile(this, file.fileName());
    accept();
}
