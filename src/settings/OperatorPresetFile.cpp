#include "settings/OperatorPresetFile.h"

#include "settings/SettingsIniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

const char* const OperatorPresetFile::kFileName = "GSM.cfg";

namespace {

const QString kName = QStringLiteral("name");
const QString kInitString = QStringLiteral("initstring");
const QString kLogin = QStringLiteral("login");
const QString kPassword = QStringLiteral("password");
const QString kUssd = QStringLiteral("Ussd");

void WriteGroup(QSettings& ini, int index, const GsmOperator& op) {
    ini.beginGroup(QString::number(index));
    ini.setValue(kName, op.name);
    ini.setValue(kInitString, op.initString);
    ini.setValue(kLogin, op.login);
    ini.setValue(kPassword, op.password);
    ini.setValue(kUssd, op.ussd);
    ini.endGroup();
}

} // namespace

QString OperatorPresetFile::unknownName() {
    return QStringLiteral("Неизвестный");
}

OperatorPresetFile::OperatorPresetFile(const QString& directory) {
    const QString name = QLatin1String(kFileName);
    if (directory.isEmpty())
        m_fileName = name;
    else if (directory.endsWith(QLatin1Char('/')) || directory.endsWith(QLatin1Char('\\')))
        m_fileName = directory + name;
    else
        m_fileName = directory + QLatin1Char('/') + name;
}

bool OperatorPresetFile::exists() const {
    return QFileInfo(m_fileName).isFile();
}

bool OperatorPresetFile::read(QList<GsmOperator>* list) const {
    if (!list || !exists())
        return false;
    IniFileStore store(m_fileName);
    if (!store.isOpen())
        return false;
    QSettings& ini = *store.settings();
    const int count = qMax(1, int(ini.childGroups().size()));
    QList<GsmOperator> result;
    result.reserve(count);
    for (int i = 0; i < count; ++i) {
        GsmOperator op;
        ini.beginGroup(QString::number(i));
        op.name = IniTextValue(ini, kName);
        op.initString = IniTextValue(ini, kInitString);
        op.login = IniTextValue(ini, kLogin);
        op.password = IniTextValue(ini, kPassword);
        op.ussd = IniTextValue(ini, kUssd);
        ini.endGroup();
        if (op.name.isEmpty())
            op.name = unknownName();
        result.append(op);
    }
    *list = result;
    return true;
}

bool OperatorPresetFile::write(const QList<GsmOperator>& list) const {
    IniFileStore store(m_fileName, IniFileStore::StartEmpty);
    if (!store.isOpen())
        return false;
    for (int i = 0; i < list.size(); ++i)
        WriteGroup(*store.settings(), i, list.at(i));
    return store.commit();
}

bool OperatorPresetFile::writeOperator(int index, const GsmOperator& op) const {
    if (index < 0)
        return false;
    IniFileStore store(m_fileName);
    if (!store.isOpen())
        return false;
    WriteGroup(*store.settings(), index, op);
    return store.commit();
}

bool OperatorPresetFile::append(QList<GsmOperator>* list, const GsmOperator& op) const {
    if (!list)
        return false;
    list->append(op);
    return writeOperator(int(list->size()) - 1, op);
}
