#include "link/StatusMessages.h"

const QColor StatusColourOk(213, 253, 216);
const QColor StatusColourInfo(158, 211, 255);
const QColor StatusColourWarning(255, 255, 176);
const QColor StatusColourError(255, 179, 179);

const QMap<int, QString>& DeviceTypeNames() {
    static const QMap<int, QString> names{
        {0, QStringLiteral("Дорна-4М")},
        {1, QStringLiteral("Дорна-8М")},
        {2, QStringLiteral("Миврел")},
        {3, QStringLiteral("Миврел-К")},
    };
    return names;
}

const QMap<int, StatusMessage>& StatusMessages() {
    static const QMap<int, StatusMessage> table = [] {
        const struct {
            int code;
            const char* text;
            const QColor& colour;
        } rows[] = {
            {100, "Прибор \"%1\" версии %2/%3 готов к программированию", StatusColourOk},
            {110, "COM-порт COM%1 успешно открыт", StatusColourOk},
            {111, "COM-порт COM%1 успешно закрыт", StatusColourOk},
            {112, "USB-устройство %1 подключено", StatusColourOk},
            {113, "USB-устройство %1 отключено", StatusColourOk},
            {114, "Обнаружено USB-устройство %1", StatusColourInfo},
            {120, "Прибор успешно запрограммирован", StatusColourOk},
            {121, "Память прибора успешно прочитана", StatusColourOk},
            {122, "Прибор перешёл в режим \"Тест\"", StatusColourOk},
            {123, "Прибор вышел из режима \"Тест\"", StatusColourOk},
            {124, "Прибор перешёл в режим программирования ключей", StatusColourOk},
            {125, "Прибор вышел из режима программирования ключей", StatusColourOk},
            {126, "Прибор готов к настройке времени", StatusColourOk},
            {127, "Выполняется перевод прибора в режим настройки времени", StatusColourOk},
            {128, "Программирование прибора", StatusColourOk},
            {129, "Чтение памяти прибора", StatusColourOk},
            {130, "Команда на перезапуск прибора подана", StatusColourOk},
            {200, "USB-устройство %1 потеряно", StatusColourWarning},
            {210, "Прибор ещё не был запрограммирован. Чтение невозможно", StatusColourWarning},
            {211, "Выполняется перезапуск прибора", StatusColourWarning},
            {212, "Прибор \"%1\" %2 не поддерживается", StatusColourWarning},
            {213, "Прибор данного типа(%1) не поддерживается", StatusColourWarning},
            {300, "Ошибка программирования", StatusColourError},
            {301, "Ошибка приёма", StatusColourError},
            {302, "Ошибка чтения памяти прибора", StatusColourError},
            {310, "Не удалось открыть COM-порт, код ошибки: %1", StatusColourError},
            {311, "Не удалось подключить USB-устройство %1", StatusColourError},
        };
        QMap<int, StatusMessage> t;
        for (const auto& r : rows)
            t.insert(r.code, StatusMessage{r.code, QString::fromUtf8(r.text), r.colour});
        return t;
    }();
    return table;
}

StatusMessage LookupStatus(int code) {
    return StatusMessages().value(code);
}

QString DeviceTypeName(int devType) {
    return DeviceTypeNames().value(devType);
}

QString FormatStatus(int code, const QVariantList& args) {
    const QString text = LookupStatus(code).text;
    // One pass over the text: a placeholder with no value stays as written,
    // and a value that itself contains "%2" is never substituted again.
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('%') && i + 1 < text.size()) {
            const int n = text.at(i + 1).digitValue();
            if (n >= 1 && n <= 3 && n <= args.size()) {
                out += args.at(n - 1).toString();
                ++i;
                continue;
            }
        }
        out += text.at(i);
    }
    return out;
}
