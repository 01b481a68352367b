#include "comms/NetFieldText.h"

#include "settings/LayoutText.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

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

QString PhoneDigits(const QLineEdit* edit) {
    QString digits = edit->displayText();
    digits.replace(QLatin1Char('*'), QLatin1Char('0'));
    digits.remove(QLatin1Char('-'));
    return digits;
}
