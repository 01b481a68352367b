#include "editor/Zones.h"

#include "editor/ZoneTables.h"
#include "pagebase/KeyLoopMatrix.h"
#include "pagebase/LeDelegate.h"
#include "settings/Prompt.h"
#include "ui_Zones.h"

#include <QItemSelectionModel>

#include <algorithm>

namespace {
const QString kWarningTitle = QStringLiteral("Предупреждение");
} // namespace

Zones::Zones(QWidget* parent)
    : ParamsPage(parent), m_keys(new KeyZone(kOrdinaryKeys, kKeyNameColumns + 1, this)),
      m_loops(new ZoneShl(kLoops, 1, this)), ui(new Ui::Zones) {
    ui->setupUi(this);
    ui->tvKeyZone->setModel(m_keys);
    ui->tvKeyZone->setItemDelegateForColumn(1, new LeDelegate(this));
    ui->tvZoneShl->setModel(m_loops);

    connect(ui->pbAddZone, &QPushButton::clicked, this, &Zones::AddZone);
    connect(ui->pbDelZone, &QPushButton::clicked, this, &Zones::DelZoneClick);
    connect(ui->pbRenZone, &QPushButton::clicked, this, &Zones::RenameZone);

    // Every cell the user toggles and every name typed here rewrites the
    // key-to-loop table at once; the page's own bulk changes reset the models
    // instead and rewrite nothing.
    connect(m_keys, &QAbstractItemModel::dataChanged, this, &Zones::SigTableDataChanged);
    connect(m_keys, &QAbstractItemModel::dataChanged, this, &Zones::ZonesToKeyShl);
    connect(m_loops, &QAbstractItemModel::dataChanged, this, &Zones::ZonesToKeyShl);
    fitColumns();
}

Zones::~Zones() {
    delete ui;
}

int Zones::zoneCount() const {
    return m_loops->zoneCount();
}

int Zones::loopCount() const {
    return std::clamp(m_loops->loopCount(), 0, kLoops);
}

void Zones::setZoneCount(int n) {
    n = std::clamp(n, 1, kZones);
    m_keys->setShownChecks(n);
    m_loops->setShownChecks(n);
}

void Zones::setZoneName(int zone, const QString& name) {
    m_keys->setZoneName(zone, name);
    m_loops->setZoneName(zone, name);
}

void Zones::resetModels() {
    m_keys->reset();
    m_loops->reset();
}

void Zones::fitColumns() {
    ui->tvKeyZone->resizeColumnsToContents();
    ui->tvZoneShl->resizeColumnsToContents();
}

bool Zones::complexObject() const {
    return header().objectType == OBJ_COMPLEX;
}

bool Zones::zoneHasKey(int zone) const {
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        if (m_keys->keyZone(key, zone))
            return true;
    }
    return false;
}

bool Zones::zoneHasLoop(int zone) const {
    for (int loop = 0; loop < loopCount(); ++loop) {
        if (m_loops->loopZone(loop, zone))
            return true;
    }
    return false;
}

void Zones::sendZonesList(int reason) {
    if (m_rebuilding)
        return;
    QStringList names;
    for (int zone = 0; zone < m_keys->zoneCount(); ++zone)
        names << m_keys->zoneName(zone);
    emit sigSendZonesList(names, reason);
}

bool Zones::askYes(const QString& text) {
    return prompt().message(Prompt::Warning, this, kWarningTitle, text, Prompt::Yes | Prompt::No,
                            Prompt::Yes) == Prompt::Yes;
}

void Zones::ZonesToKeyShl() {
    KeyLoopMatrix = {};
    const int loops = loopCount();
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        // A key in two zones would take the higher zone's loops; the tables
        // keep a key in one zone.
        for (int zone = 0; zone < m_keys->zoneCount(); ++zone) {
            if (!m_keys->keyZone(key, zone))
                continue;
            for (int loop = 0; loop < loops; ++loop)
                KeyLoopMatrix[size_t(key)][size_t(loop)] = m_loops->loopZone(loop, zone) ? 1 : 0;
        }
    }
    emit SigNormalizeOk();
}

void Zones::KeyShlToZones() {
    setZoneCount(1);
    for (int row = 0; row < kOrdinaryKeys; ++row) {
        for (int zone = 0; zone < kZones; ++zone)
            m_keys->setKeyZone(row, zone, false);
    }
    for (int row = 0; row < kLoops; ++row) {
        for (int zone = 0; zone < kZones; ++zone)
            m_loops->setLoopZone(row, zone, false);
    }

    const int loops = loopCount();
    bool zoneZeroTaken = false;
    bool added = false; // whether AddZone would have sent the list
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        const auto& set = KeyLoopMatrix[size_t(key)];
        if (std::none_of(set.begin(), set.begin() + loops, [](u8 v) { return v != 0; }))
            continue;
        bool joined = false;
        for (int zone = 0; zone < zoneCount(); ++zone) {
            bool equal = true;
            for (int loop = 0; loop < loops && equal; ++loop)
                equal = m_loops->loopZone(loop, zone) == (set[size_t(loop)] != 0);
            if (equal) {
                m_keys->setKeyZone(key, zone, true);
                joined = true;
            }
        }
        if (joined)
            continue;
        int target = 0;
        if (zoneZeroTaken) {
            // A refused zone (simple object, or as many zones as loops) leaves
            // the last zone to take this key's loops.
            m_rebuilding = true;
            AddZone(true);
            m_rebuilding = false;
            added = added || complexObject();
            target = zoneCount() - 1;
        }
        zoneZeroTaken = true;
        for (int loop = 0; loop < loops; ++loop)
            m_loops->setLoopZone(loop, target, set[size_t(loop)] != 0);
        m_keys->setKeyZone(key, target, true);
    }
    resetModels();
    fitColumns();
    if (added)
        sendZonesList(ReasonAdd);
}

bool Zones::IsSimpleObjectTable() const {
    const int loops = loopCount();
    const int first = techLoop == 0 ? 1 : 0;
    if (first >= loops)
        return true;
    for (const auto& row : KeyLoopMatrix) {
        const u8 reference = row[size_t(first)];
        for (int loop = first + 1; loop < loops; ++loop) {
            if (loop != techLoop && row[size_t(loop)] != reference)
                return false;
        }
    }
    return true;
}

void Zones::NormalizeKeyShlTable() {
    const int loops = loopCount();
    for (auto& row : KeyLoopMatrix) {
        bool bound = false;
        for (int loop = 0; loop < loops && !bound; ++loop)
            bound = loop != techLoop && row[size_t(loop)] != 0;
        if (!bound)
            continue;
        for (int loop = 0; loop < loops; ++loop) {
            if (loop != techLoop)
                row[size_t(loop)] = 1;
        }
    }
    emit SigNormalizeOk();
}

bool Zones::CheckLoopsSingleZone() const {
    for (int loop = 0; loop < loopCount(); ++loop) {
        int zones = 0;
        for (int zone = 0; zone < m_keys->zoneCount(); ++zone)
            zones += m_loops->loopZone(loop, zone) ? 1 : 0;
        if (zones > 1)
            return false;
    }
    return true;
}

void Zones::NormalizeZones() {
    for (int loop = 0; loop < loopCount(); ++loop) {
        bool kept = false;
        for (int zone = 0; zone < kZones; ++zone) {
            if (m_loops->loopZone(loop, zone)) {
                m_loops->setLoopZone(loop, zone, !kept);
                kept = true;
            }
        }
    }
    ZonesToKeyShl();
    for (int zone = zoneCount() - 1; zone >= 1; --zone) {
        if (!zoneHasLoop(zone))
            DelZone(zone);
    }
    resetModels();
}

bool Zones::CheckZonesBound() const {
    if (zoneCount() < 2)
        return true;
    for (int zone = 0; zone < zoneCount(); ++zone) {
        if (!zoneHasKey(zone) || !zoneHasLoop(zone))
            return false;
    }
    return true;
}

void Zones::EnterToFrame() {
    KeyShlToZones();
    if (complexObject()) {
        if (!CheckLoopsSingleZone() &&
            askYes(QStringLiteral("Внимание! Таблица ключ - шлейф некорректна.\n"
                                  "Нормализовать таблицу?")))
            NormalizeZones();
        return;
    }
    if (!IsSimpleObjectTable() &&
        askYes(QStringLiteral("Внимание! Таблица ключ-шлейф не подходит под структуру\n"
                              "простого объекта. Нормализовать таблицу?"))) {
        NormalizeKeyShlTable();
        KeyShlToZones();
    }
}

void Zones::AddZone(bool noResetName) {
    if (!complexObject())
        return;
    const int zones = zoneCount();
    if (zones < loopCount()) {
        setZoneCount(zones + 1);
        if (!noResetName)
            setZoneName(zones, DefaultZoneName(zones));
    }
    const int last = zoneCount() - 1;
    ui->tvKeyZone->selectionModel()->setCurrentIndex(m_keys->index(0, kKeyNameColumns + last),
                                                     QItemSelectionModel::Clear);
    ui->tvZoneShl->selectionModel()->setCurrentIndex(m_loops->index(0, last),
                                                     QItemSelectionModel::Clear);
    sendZonesList(ReasonAdd);
}

void Zones::DelZoneClick() {
    const QModelIndex current = ui->tvZoneShl->currentIndex();
    const int zones = zoneCount();
    if (!current.isValid() || zones < 2)
        return;
    const int zone = current.column();
    if (zone <= 0 || zone >= zones)
        return;
    if ((zoneHasKey(zone) || zoneHasLoop(zone)) &&
        !askYes(QStringLiteral("Внимание! Связи ключей и шлейфов будут удалены. \n Вы уверены, "
                               "что хотите удалить \"%1\"?")
                    .arg(m_loops->zoneName(zone))))
        return;
    DelZone(zone);
    ui->tvZoneShl->selectColumn(std::min(zone, zoneCount() - 1));
    ZonesToKeyShl();
}

void Zones::DelZone(int numZone) {
    const int zones = zoneCount();
    if (zones < 2 || numZone < 0 || numZone >= zones)
        return;
    for (int c = numZone; c < zones - 1; ++c) {
        for (int key = 0; key < kOrdinaryKeys; ++key)
            m_keys->setKeyZone(key, c, m_keys->keyZone(key, c + 1));
        for (int loop = 0; loop < kLoops; ++loop)
            m_loops->setLoopZone(loop, c, m_loops->loopZone(loop, c + 1));
        // Default names stay numbered by position; names the user gave stay.
        QString moved = m_loops->zoneName(c + 1);
        if (moved == DefaultZoneName(c + 1))
            moved = DefaultZoneName(c);
        setZoneName(c, moved);
    }
    for (int key = 0; key < kOrdinaryKeys; ++key)
        m_keys->setKeyZone(key, zones - 1, false);
    for (int loop = 0; loop < kLoops; ++loop)
        m_loops->setLoopZone(loop, zones - 1, false);
    setZoneCount(zones - 1);
    fitColumns();
    sendZonesList(ReasonDelete);
}

void Zones::RenameZone() {
    const QModelIndex current = ui->tvZoneShl->currentIndex();
    if (!current.isValid() || current.column() >= zoneCount())
        return;
    const int zone = current.column();
    bool ok = false;
    const QString name = prompt().text(this, QStringLiteral("Введите имя зоны"),
                                       QStringLiteral("Имя зоны"), m_loops->zoneName(zone), &ok);
    if (ok)
        setZoneName(zone, name);
    resetModels();
    ui->tvKeyZone->resizeColumnToContents(kKeyNameColumns + zone);
    ui->tvZoneShl->resizeColumnToContents(zone);
    sendZonesList(ReasonRename);
}

void Zones::releaseTechLoop() {
    if (techLoop < 0)
        return;
    m_loops->setLockedRow(-1);
    for (int zone = 0; zone < kZones; ++zone)
        m_loops->setLoopZone(techLoop, zone, zone == 0);
}

void Zones::NumTShlChange(int n) {
    if (n < 0 || n > kLoops)
        return;
    ZonesConfig& z = *settings().zones;
    const int modelLoops = LoopCountOf(header().deviceType);
    if (n == 0) {
        if (techLoop < 0)
            return;
        releaseTechLoop();
        techLoop = -1;
        z.loopCount = modelLoops;
        m_loops->reset();
        return;
    }
    releaseTechLoop();
    techLoop = n - 1;
    m_loops->setLockedRow(techLoop);
    for (int zone = 0; zone < kZones; ++zone)
        m_loops->setLoopZone(techLoop, zone, false);
    // The loop taken out costs the last zone only while every loop had one;
    // moving the technological loop elsewhere must not cost a second zone.
    const int zones = zoneCount();
    if (zones == z.loopCount && z.loopCount == modelLoops) {
        ui->tvZoneShl->selectColumn(zones - 1);
        DelZone(zones - 1);
        z.loopCount -= 1;
        ui->tvZoneShl->clearSelection();
    }
    m_loops->reset();
}

void Zones::TPribSlot(int type) {
    const int loops = LoopCountOf(type);
    for (int row = 0; row < kLoops; ++row)
        ui->tvZoneShl->setRowHidden(row, row >= loops);
    m_loops->setLoopCount(loops);
    settings().zones->loopCount = loops;
    while (zoneCount() > loops)
        DelZone(zoneCount() - 1);
    KeyShlToZones();
    sendZonesList(ReasonDeviceType);
}

void Zones::TypeObjChange() {
    const bool complex = complexObject();
    if (!complex) {
        setZoneCount(1);
        fitColumns();
    }
    const QString tip =
        complex ? QString()
                : QStringLiteral("Для использования зон в объекте выберите пункт \"Сложный "
                                 "объект\" в основном окне");
    for (QPushButton* b : {ui->pbAddZone, ui->pbDelZone}) {
        b->setEnabled(complex);
        b->setToolTip(tip);
    }
    ui->lType->setText(complex ? QStringLiteral("Сложный объект")
                               : QStringLiteral("Простой объект"));
    KeyShlToZones();
    sendZonesList(ReasonObjectType);
}

void Zones::CancelClick() {
    const ZonesConfig& z = *settings().zones;
    setZoneCount(z.zoneCount);
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        m_keys->setEepromName(key, z.eepromKeyName[size_t(key)]);
        m_keys->setKeyName(key, z.keyName[size_t(key)]);
        for (int zone = 0; zone < kZones; ++zone)
            m_keys->setKeyZone(key, zone, z.keyZone[size_t(key)][size_t(zone)] != 0);
    }
    for (int i = 0; i < kZones; ++i) {
        setZoneName(i, z.zoneName[size_t(i)]);
        for (int zone = 0; zone < kZones; ++zone)
            m_loops->setLoopZone(i, zone, z.loopZone[size_t(i)][size_t(zone)] != 0);
    }
    resetModels();
    fitColumns();
    // The key-to-loop page has loaded KeyLoopMatrix just before (the window's
    // cancel order); the zones follow from it, the names stay.
    KeyShlToZones();
    sendZonesList(ReasonCancel);
}

void Zones::ApplyClick() {
    ZonesConfig& z = *settings().zones;
    z.zoneCount = zoneCount();
    for (int key = 0; key < kOrdinaryKeys; ++key) {
        for (int zone = 0; zone < kZones; ++zone)
            z.keyZone[size_t(key)][size_t(zone)] = m_keys->keyZone(key, zone) ? 1 : 0;
    }
    for (int i = 0; i < kZones; ++i) {
        z.zoneName[size_t(i)] = m_loops->zoneName(i);
        for (int zone = 0; zone < kZones; ++zone)
            z.loopZone[size_t(i)][size_t(zone)] = m_loops->loopZone(i, zone) ? 1 : 0;
    }
}

void Zones::SetTableDataChange(const QModelIndex& index1, const QModelIndex&) {
    TakeKeyName(m_keys, ui->tvKeyZone, index1);
}
