#include "pagebase/LeDelegate.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

LeDelegate::LeDelegate(QObject* parent) : QItemDelegate(parent) {}

QWidget* LeDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                  const QModelIndex&) const {
    auto* editor = new QLineEdit(parent);
    editor->setMaxLength(kMaxLength);
    editor->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9a-zA-Z]*")), editor));
    connect(editor, &QLineEdit::editingFinished, this, &LeDelegate::commitAndCloseEditor);
    return editor;
}

void LeDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(index.model()->data(index, Qt::EditRole).toString());
}

void LeDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                              const QModelIndex& index) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        model->setData(index, line->text(), Qt::DisplayRole);
}

void LeDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                      const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

void LeDelegate::commitAndCloseEditor() {
    auto* editor = qobject_cast<QLineEdit*>(sender());
    if (!editor)
        return;
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}
