#include "settings/OperatorPresetFile.h"

#include "settings/SettingsIniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <utility>

const char* const OperatorPresetFile::kFileName = "GSM.cfg";

namespace {

const QString kName = QStringLiteral("name");
const QString kInitString = QStringLiteral("initstring");
const QString kLogin = QStringLiteral("login");
const QString kPassword = QStringLiteral("password");
const QString kUssd = QStringLiteral("Ussd");

void WriteGroup(QSettings& ini, const QString& group, const GsmOperator& op) {
    ini.beginGroup(group);
    ini.setValue(kName, op.name);
    ini.setValue(kInitString, op.initString);
    ini.setValue(kLogin, op.login);
    ini.setValue(kPassword, op.password);
    ini.setValue(kUssd, op.ussd);
    ini.endGroup();
}

// Whether a group holds an operator: its name is a decimal number in its one
// spelling (no sign, no leading zero), so two names never share a number.
// Any length is taken, so no number is too large to order or to follow.
bool IsOperatorGroup(const QString& name) {
    if (name.isEmpty() || (name.size() > 1 && name.at(0) == QLatin1Char('0')))
        return false;
    for (const QChar c : name) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// Numeric order of two such names: the shorter is smaller, else the digits.
bool NumberBefore(const QString& a, const QString& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// The operator groups of the file in list order.
QStringList OperatorGroups(const QSettings& ini) {
    QStringList groups;
    for (const QString& g : ini.childGroups()) {
        if (IsOperatorGroup(g))
            groups << g;
    }
    std::sort(groups.begin(), groups.end(), NumberBefore);
    return groups;
}

// The name of a group after every operator group of the file: the last
// number plus one, counted in its digits.
QString NextGroup(const QStringList& groups) {
    if (groups.isEmpty())
        return QStringLiteral("0");
    QString n = groups.last();
    int i = int(n.size()) - 1;
    for (; i >= 0 && n.at(i) == QLatin1Char('9'); --i)
        n[i] = QLatin1Char('0');
    if (i < 0)
        n.prepend(QLatin1Char('1'));
    else
        n[i] = QChar(n.at(i).unicode() + 1);
    return n;
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
    QList<GsmOperator> result;
    for (const QString& group : OperatorGroups(ini)) {
        GsmOperator op;
        ini.beginGroup(group);
        op.name = IniTextValue(ini, kName);
        op.initString = IniTextValue(ini, kInitString);
        op.login = IniTextValue(ini, kLogin);
        op.password = IniTextValue(ini, kPassword);
        op.ussd = IniTextValue(ini, kUssd);
        ini.endGroup();
        result.append(op);
    }
    // The list is never empty: a file without operators gives one.
    if (result.isEmpty())
        result.append(GsmOperator());
    for (GsmOperator& op : result) {
        if (op.name.isEmpty())
            op.name = unknownName();
    }
    *list = result;
    return true;
}

bool OperatorPresetFile::write(const QList<GsmOperator>& list) const {
    // Everything outside the operator groups is carried over key by key and
    // the operators are written anew. Removing the old groups from the file
    // instead would miss keys QSettings cannot address once read (a "\" in a
    // key), and removing a group by name also takes a key of that name above
    // the first group.
    QList<std::pair<QString, QVariant>> kept;
    if (exists()) {
        const IniFileStore old(m_fileName);
        if (!old.isOpen())
            return false;
        const QSettings& in = *old.settings();
        const QStringList groups = OperatorGroups(in);
        for (const QString& key : in.allKeys()) {
            // A line without a name ("=x") lists a key that QSettings can
            // neither read nor write: there is nothing to carry.
            const QVariant value = key.isEmpty() ? QVariant() : in.value(key);
            if (!value.isValid())
                continue;
            if (!key.contains(QLatin1Char('/')) ||
                !groups.contains(key.section(QLatin1Char('/'), 0, 0)))
                kept.append({key, value});
        }
    }
    IniFileStore store(m_fileName, IniFileStore::StartEmpty);
    if (!store.isOpen())
        return false;
    QSettings& ini = *store.settings();
    for (const auto& [key, value] : std::as_const(kept))
        ini.setValue(key, value);
    for (int i = 0; i < list.size(); ++i)
        WriteGroup(ini, QString::number(i), list.at(i));
    return store.commit();
}

bool OperatorPresetFile::writeOperator(int index, const GsmOperator& op) const {
    if (index < 0)
        return false;
    IniFileStore store(m_fileName);
    if (!store.isOpen())
        return false;
    QSettings& ini = *store.settings();
    const QStringList groups = OperatorGroups(ini);
    WriteGroup(ini, index < groups.size() ? groups.at(index) : NextGroup(groups), op);
    return store.commit();
}

bool OperatorPresetFile::append(QList<GsmOperator>* list, const GsmOperator& op) const {
    if (!list)
        return false;
    list->append(op);
    IniFileStore store(m_fileName);
    if (!store.isOpen())
        return false;
    QSettings& ini = *store.settings();
    QStringList groups = OperatorGroups(ini);
    // Normally only op is missing; a file that holds fewer operators than
    // the list also gets the ones before it, in order.
    const int first = qMin(int(groups.size()), int(list->size()) - 1);
    for (int i = first; i < list->size(); ++i) {
        const QString group = NextGroup(groups);
        WriteGroup(ini, group, list->at(i));
        groups << group;
    }
    return store.commit();
}
