#include "comms/CommsFields.h"

#include "settings/LayoutText.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

QString NumberFromField(const QLineEdit* field) {
    QString text = field ? field->displayText() : QString();
    text.replace(QLatin1Char('*'), QLatin1Char('0'));
    text.remove(QLatin1Char('-'));
    return text;
}

void ShowNumber(QLineEdit* field, const QString& digits) {
    if (field)
        field->setText(digits);
}

QByteArray ObjectNumberText(int value) {
    return (QByteArray("0000") + QByteArray::number(value)).right(4);
}

int ObjectNumberValue(const QByteArray& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

void FillYesNo(QComboBox* combo) {
    if (!combo)
        return;
    combo->clear();
    combo->addItems({QStringLiteral("Да"), QStringLiteral("Нет")});
    combo->setCurrentIndex(1);
}

void LoadYesNo(QComboBox* combo, int flag) {
    if (combo && combo->count() > 0)
        combo->setCurrentIndex(flag != 0 ? 0 : 1);
}

void StoreYesNo(const QComboBox* combo, u8& flag) {
    if (combo && combo->currentIndex() >= 0)
        flag = combo->currentIndex() == 0 ? 1 : 0;
}

QValidator* LatinNameValidator(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9a-zA-Z]*")),
                                           parent);
}

QString PortText(int port) {
    return QString::number(port).rightJustified(5, QLatin1Char('0')).right(5);
}

int PortValue(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

QString PaddedIpText(const QString& address) {
    return QString::fromLatin1(layout::text::ServerIpField(address));
}

void SetIpv4Validator(QLineEdit* edit) {
    static const QRegularExpression kIpv4(
        QStringLiteral("^(25[0-5]|2[0-4][0-9]|[0-1][0-9]{2}|[0-9]{2}|[0-9])"
                       "(\\.(25[0-5]|2[0-4][0-9]|[0-1][0-9]{2}|[0-9]{2}|[0-9])){3}$"));
    edit->setValidator(new QRegularExpressionValidator(kIpv4, edit));
}
