#pragma once

// A page of the parameters window on a settings object of its own.

#include "settings/DeviceSettings.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QDate>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QWidget>

class PageSettings {
public:
    PageSettings() {
        SetDefaultSettings(&s, false);
        previous = g_deviceSettings;
        g_deviceSettings = &s;
    }
    ~PageSettings() { g_deviceSettings = previous; }
    void device(int type, const QDate& firmware = {}, int build = 1) {
        s.header->deviceType = type;
        s.header->firmwareDate = firmware;
        s.header->firmwareSubVersion = build;
    }

    DeviceSettings s;
    DeviceSettings* previous = nullptr;
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

// A click on a check box's indicator (at its left) or a button's middle.
inline void click(const QWidget* page, const QString& name) {
    QWidget* w = child(page, name);
    const int indicator = w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w);
    const QPoint at =
        qobject_cast<QCheckBox*>(w) ? QPoint(indicator / 2, w->height() / 2) : w->rect().center();
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
}

// A click on the check box of a cell of a shown view.
inline void clickCell(QAbstractItemView* view, const QModelIndex& index) {
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
}
