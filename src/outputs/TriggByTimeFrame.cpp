#include "outputs/TriggByTimeFrame.h"

#include "ui_TriggByTimeFrame.h"

#include <QCheckBox>
#include <QTimeEdit>

namespace {
QString dayName(int day, int event) {
    return QStringLiteral("cbEvDay_%1_%2").arg(day).arg(event);
}
} // namespace

TriggByTimeFrame::TriggByTimeFrame(QWidget* parent)
    : ParamsPage(parent), ui(new Ui::TriggByTimeFrame) {
    ui->setupUi(this);
    const QStringList types{QStringLiteral("0 - выключено"), QStringLiteral("1 - закрытие"),
                            QStringLiteral("2 - открытие"), QStringLiteral("3 - смена состояния")};
    for (int event = 1; event <= kTimeTriggers; ++event) {
        numbered<QComboBox>(QStringLiteral("comboBEvType_%1"), event)->addItems(types);
        auto* allWeek = numbered<QCheckBox>(QStringLiteral("cbEvAllWeek_%1"), event);
        for (int day = 1; day <= kWeekDays; ++day) {
            auto* box = findChild<QCheckBox*>(dayName(day, event));
            connect(box, &QCheckBox::toggled, this, &TriggByTimeFrame::cbDayStateChanged);
            // Only a click spreads to the days; setting the box in code does not.
            connect(allWeek, &QCheckBox::clicked, box, &QCheckBox::setChecked);
        }
    }
}

TriggByTimeFrame::~TriggByTimeFrame() {
    delete ui;
}

void TriggByTimeFrame::ApplyClick() {
    TimeTriggers& t = *settings().timeTriggers;
    for (int event = 1; event <= kTimeTriggers; ++event) {
        const size_t i = size_t(event - 1);
        t.evTime[i] = numbered<QTimeEdit>(QStringLiteral("teEvTime_%1"), event)->time();
        StoreComboIndex(numbered<QComboBox>(QStringLiteral("comboBEvType_%1"), event), t.evType[i]);
        for (int day = 1; day <= kWeekDays; ++day)
            t.evDay[i][size_t(day - 1)] = findChild<QCheckBox*>(dayName(day, event))->isChecked();
    }
}

void TriggByTimeFrame::CancelClick() {
    const TimeTriggers& t = *settings().timeTriggers;
    for (int event = 1; event <= kTimeTriggers; ++event) {
        const size_t i = size_t(event - 1);
        // An unset time shows midnight, as a fresh page does, so no time of an
        // earlier file or device stays on show (and is stored by the next apply).
        const QTime time = t.evTime[i];
        numbered<QTimeEdit>(QStringLiteral("teEvTime_%1"), event)
            ->setTime(time.isValid() ? time : QTime(0, 0));
        auto* type = numbered<QComboBox>(QStringLiteral("comboBEvType_%1"), event);
        const int k = t.evType[i];
        type->setCurrentIndex(k >= 0 && k < type->count() ? k : 0);
        for (int day = 1; day <= kWeekDays; ++day)
            findChild<QCheckBox*>(dayName(day, event))
                ->setChecked(t.evDay[i][size_t(day - 1)] != 0);
    }
}

void TriggByTimeFrame::cbDayStateChanged(bool state) {
    const QObject* from = sender();
    if (!from)
        return;
    for (int event = 1; event <= kTimeTriggers; ++event) {
        bool ours = false;
        bool all = state;
        for (int day = 1; day <= kWeekDays; ++day) {
            const auto* box = findChild<QCheckBox*>(dayName(day, event));
            ours = ours || box == from;
            all = all && box->isChecked();
        }
        if (!ours)
            continue;
        auto* allWeek = numbered<QCheckBox>(QStringLiteral("cbEvAllWeek_%1"), event);
        if (allWeek->isChecked() != all)
            allWeek->setChecked(all);
        return;
    }
}
