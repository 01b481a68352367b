#pragma once

#include <QComboBox>
#include <QStringList>

// The item texts of a combo box, in list order.
inline QStringList ComboItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}
