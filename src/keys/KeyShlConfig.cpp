#include "keys/KeyShlConfig.h"

#include "keys/KeyShlTable.h"
#include "pagebase/KeyLoopMatrix.h"
#include "pagebase/LeDelegate.h"
#include "ui_KeyShlConfig.h"

#include <QHeaderView>

namespace {
constexpr int kTableColumns = kKeyNameColumns + kLoops;
constexpr int kRowHeight = 18;
} // namespace

KeyShlConfig::KeyShlConfig(QWidget* parent)
    : ParamsPage(parent), m_model(new KeyShlTable(kOrdinaryKeys, kTableColumns, this)),
      ui(new Ui::KeyShlConfig) {
    ui->setupUi(this);
    ui->tvKeyShl->setModel(m_model);
    ui->tvKeyShl->setItemDelegateForColumn(1, new LeDelegate(this));
    for (int row = 0; row < kOrdinaryKeys; ++row)
        ui->tvKeyShl->setRowHeight(row, kRowHeight);
    ui->tvKeyShl->resizeColumnsToContents();
    ui->tvKeyShl->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->tvKeyShl->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    connect(m_model, &QAbstractItemModel::dataChanged, this, &KeyShlConfig::SigTableDataChanged);
    connect(ui->tbSetAll, &QToolButton::clicked, m_model, &KeyShlTable::SetAll);
    connect(ui->tbUnsetAll, &QToolButton::clicked, m_model, &KeyShlTable::UnsetAll);
}

KeyShlConfig::~KeyShlConfig() {
    delete ui;
}

void KeyShlConfig::TDevChange(int type) {
    // Unlike the other pages, a type this page does not know shows all eight.
    const int loops = type == DEV_D4M                                ? 4
                      : (type == DEV_VororaZ || type == DEV_VoduzeR) ? 6
                                                                     : kLoops;
    for (int loop = 0; loop < kLoops; ++loop)
        ui->tvKeyShl->setColumnHidden(kKeyNameColumns + loop, loop >= loops);
}

void KeyShlConfig::ApplyClick() {
    ZonesConfig& z = *settings().zones;
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        z.eepromKeyName[size_t(key)] = m_model->eepromName(key);
        z.keyName[size_t(key)] = m_model->keyName(key);
        for (int loop = 0; loop < kLoops; ++loop) {
            const u8 on = m_model->check(key, loop) ? 1 : 0;
            z.keyLoop[size_t(key)][size_t(loop)] = on;
            KeyLoopMatrix[size_t(key)][size_t(loop)] = on;
        }
    }
}

void KeyShlConfig::CancelClick() {
    const ZonesConfig& z = *settings().zones;
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        m_model->setEepromName(key, z.eepromKeyName[size_t(key)]);
        m_model->setKeyName(key, z.keyName[size_t(key)]);
        for (int loop = 0; loop < kLoops; ++loop) {
            const bool on = z.keyLoop[size_t(key)][size_t(loop)] != 0;
            m_model->setCheck(key, loop, on);
            KeyLoopMatrix[size_t(key)][size_t(loop)] = on ? 1 : 0;
        }
    }
    m_model->reset();
}

void KeyShlConfig::NumTShlChange(int n) {
    if (n < 0 || n > kLoops)
        return;
    if (n == 0) {
        if (techLoopIndex >= 0) {
            m_model->setTechColumn(-1);
            techLoopIndex = -1;
        }
        return;
    }
    techLoopIndex = n - 1;
    m_model->setTechColumn(n + 1);
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        m_model->setCheck(key, techLoopIndex, false);
        KeyLoopMatrix[size_t(key)][size_t(techLoopIndex)] = 0;
    }
    m_model->reset();
}

void KeyShlConfig::SetTableDataChange(const QModelIndex& index1, const QModelIndex&) {
    TakeKeyName(m_model, ui->tvKeyShl, index1);
}

void KeyShlConfig::RewriteNormilizedChecks() {
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        for (int loop = 0; loop < kLoops; ++loop)
            m_model->setCheck(key, loop, KeyLoopMatrix[size_t(key)][size_t(loop)] != 0);
    }
    m_model->reset();
}
