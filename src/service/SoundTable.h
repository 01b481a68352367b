#pragma once

#include "service/FixedTableModel.h"
#include "service/SoundFiles.h"

#include <QItemDelegate>
#include <QVector>
#include <QWidget>

class QLineEdit;
class QToolButton;

// The voice-message list: 160 rows of name, WAV path and data size; the
// window shows the rows in use and hides the others.
class SoundTable : public FixedTableModel {
    Q_OBJECT

public:
    explicit SoundTable(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Column 1 takes a path text, column 2 a data size, both by the display role.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Path and size of rows 0 to count - 1.
    QList<SoundRow> Rows(int count) const;

    QVector<QString> names;
    QVector<QString> paths;
    QVector<int> sizes; // -1: no usable file
};

// The editor of a path cell: the path, a button that chooses a WAV file and
// one that plays it.
class PathEditor : public QWidget {
    Q_OBJECT

public:
    explicit PathEditor(QWidget* parent = nullptr);

    QLineEdit* lineEdit;
    QToolButton* openButton;
    QToolButton* listenButton;
    int size = -1; // data size of the file in lineEdit

signals:
    // A usable file was chosen; path and size are in the editor.
    void SigSetNewFileSize(int size);

public slots:
    void ExecOpenFileDialog();
    void ListenSound();
};

// Puts a PathEditor into the path column. A chosen file's path and size go
// into the model together, at once, so the size never belongs to another
// file than the path; closing the editor afterwards changes neither.
class SoundPathDelegate : public QItemDelegate {
    Q_OBJECT

public:
    using QItemDelegate::QItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

signals:
    // Emitted once the chosen file's path and size are in the model.
    void SigSetNewFileSize(int size);
};
