#include "service/SoundTable.h"

#include "service/SoundPlayer.h"
#include "settings/Prompt.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

namespace {
constexpr int kNameColumn = 0;
constexpr int kPathColumn = 1;
constexpr int kSizeColumn = 2;
constexpr int kCentred = Qt::AlignHCenter | Qt::AlignVCenter;
} // namespace

// ---------------------------------------------------------------- model

SoundTable::SoundTable(QObject* parent)
    : FixedTableModel(kMaxSounds, 3, parent), names(kMaxSounds), paths(kMaxSounds),
      sizes(kMaxSounds, -1) {}

QVariant SoundTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rows)
        return {};
    const int r = index.row();
    if (role == Qt::TextAlignmentRole) {
        if (index.column() == kPathColumn)
            return int(Qt::AlignVCenter);
        return kCentred;
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case kNameColumn:
        return names.at(r);
    case kPathColumn:
        return paths.at(r);
    case kSizeColumn:
        return sizes.at(r) == -1 ? QStringLiteral("Ошибка!")
                                 : QString::number(sizes.at(r)) + QStringLiteral(" байт");
    }
    return {};
}

bool SoundTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rows || role != Qt::DisplayRole)
        return false;
    if (index.column() == kPathColumn)
        paths[index.row()] = value.toString();
    else if (index.column() == kSizeColumn)
        sizes[index.row()] = value.toInt();
    else
        return false;
    emit dataChanged(index, index);
    return true;
}

QVariant SoundTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole)
        return kCentred;
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case kNameColumn:
        return QStringLiteral("Наименование");
    case kPathColumn:
        return QStringLiteral("Путь");
    case kSizeColumn:
        return QStringLiteral("Размер");
    }
    return {};
}

Qt::ItemFlags SoundTable::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == kPathColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

QList<SoundRow> SoundTable::Rows(int count) const {
    QList<SoundRow> out;
    for (int r = 0; r < qMin(count, rows); ++r)
        out.append({paths.at(r), sizes.at(r)});
    return out;
}

// ---------------------------------------------------------------- editor

PathEditor::PathEditor(QWidget* parent)
    : QWidget(parent), lineEdit(new QLineEdit(this)), openButton(new QToolButton(this)),
      listenButton(new QToolButton(this)) {
    lineEdit->setReadOnly(true);
    openButton->setIcon(QIcon(QStringLiteral(":/icons/open.png")));
    openButton->setMinimumWidth(50);
    listenButton->setIcon(QIcon(QStringLiteral(":/icons/Sounds.png")));
    listenButton->setMinimumWidth(50);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    layout->addWidget(lineEdit);
    layout->addWidget(openButton);
    layout->addWidget(listenButton);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(openButton, &QToolButton::clicked, this, &PathEditor::ExecOpenFileDialog);
    connect(listenButton, &QToolButton::clicked, this, &PathEditor::ListenSound);
}

void PathEditor::ExecOpenFileDialog() {
    // The dialog runs its own event loop: a new list loaded meanwhile (the
    // device family changed) closes and deletes this editor.
    const QPointer<PathEditor> alive(this);
    const QString path = prompt().openFileName(
        nullptr, QStringLiteral("Загрузка речевого сообщения"), QStringLiteral("./sound"),
        QStringLiteral("Файлы речевых сообщений (*.wav);;Все файлы (*.*)"));
    if (!alive || path.isEmpty())
        return;
    const int chosen = IsWavFile(path);
    if (chosen == -1) {
        prompt().message(Prompt::Warning, this, QStringLiteral("Предупреждение"),
                         QStringLiteral("Данный формат файла не поддерживается."), Prompt::Ok);
        return;
    }
    lineEdit->setText(path);
    size = chosen;
    emit SigSetNewFileSize(chosen);
}

void PathEditor::ListenSound() {
    soundPlayer().play(lineEdit->text());
}

// ---------------------------------------------------------------- delegate

QWidget* SoundPathDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex&) const {
    auto* editor = new PathEditor(parent);
    auto* self = const_cast<SoundPathDelegate*>(this);
    connect(editor, &PathEditor::SigSetNewFileSize, self, [self, editor](int size) {
        emit self->commitData(editor);
        emit self->SigSetNewFileSize(size);
    });
    return editor;
}

void SoundPathDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* e = qobject_cast<PathEditor*>(editor);
    if (!e)
        return;
    e->lineEdit->setText(index.data(Qt::DisplayRole).toString());
    const auto* table = qobject_cast<const SoundTable*>(index.model());
    e->size = table && index.row() < table->rows ? table->sizes.at(index.row()) : -1;
    e->openButton->setFocus();
}

void SoundPathDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
    const auto* e = qobject_cast<const PathEditor*>(editor);
    if (!e)
        return;
    // The size first: a change of the path cell reloads the open editor from
    // the model, which must then already hold the new size.
    const int size = e->size;
    const QString path = e->lineEdit->text();
    model->setData(index.siblingAtColumn(kSizeColumn), size, Qt::DisplayRole);
    model->setData(index, path, Qt::DisplayRole);
}

void SoundPathDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex&) const {
    editor->setGeometry(option.rect);
}
