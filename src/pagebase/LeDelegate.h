#pragma once

#include <QItemDelegate>

// The editor of a key's name as the device stores it: a one-line field of at
// most 8 Latin letters and digits, committed and closed when editing ends.
// The text goes back with the display role, so a model edited through it
// accepts that role for its name columns.
class LeDelegate : public QItemDelegate {
    Q_OBJECT

public:
    static constexpr int kMaxLength = 8;

    explicit LeDelegate(QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private slots:
    void commitAndCloseEditor();
};
