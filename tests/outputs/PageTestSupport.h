#pragma once

// A page of the parameters window on a settings object of its own, and clicks
// as a user makes them.

#include "settings/DeviceSettings.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

struct PageSettings {
    PageSettings(int type = DEV_D8M, const QDate& firmware = {}, int build = 1) {
        SetDefaultSettings(&s, false);
        s.header->deviceType = type;
        s.header->firmwareDate = firmware;
        s.header->firmwareSubVersion = build;
        g_deviceSettings = &s;
    }
    ~PageSettings() { g_deviceSettings = nullptr; }
    DeviceSettings s;
};

template <class W = QWidget> W* child(const QWidget* page, const QString& name) {
    W* w = page->findChild<W*>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}
inline bool ticked(const QWidget* page, const QString& name) {
    return child<QAbstractButton>(page, name)->isChecked();
}
// Selects the item whose text starts with the code.
inline void choose(const QWidget* page, const QString& name, int code) {
    auto* box = child<QComboBox>(page, name);
    box->setCurrentIndex(box->findText(QString::number(code), Qt::MatchStartsWith));
}

// A click on a check box's indicator (at its left) or a button's middle.
inline void click(const QWidget* page, const QString& name) {
    QWidget* w = child(page, name);
    const int indicator = w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w);
    QTest::mouseClick(w, Qt::LeftButton, {},
                      qobject_cast<QCheckBox*>(w) ? QPoint(indicator / 2, w->height() / 2)
                                                  : w->rect().center());
}

// A click on the check box of a cell of a shown view.
inline void clickCell(QAbstractItemView* view, const QModelIndex& index) {
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->style()
                          ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view)
                          .center());
}
