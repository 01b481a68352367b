#pragma once

#include <QDialog>
#include <QModelIndex>
#include <QString>

namespace Ui {
class EditKey;
}

// Edits one row of the key table: a Touch-Memory key with its ГБР attribute,
// or, on an ordinary row, a password in its place. The key window reads the
// value back from "leIDKey", "cbGBR" and keyMode when the user writes.
class EditKey : public QDialog {
    Q_OBJECT

public:
    explicit EditKey(QWidget* parent = nullptr);
    ~EditKey() override;

    bool keyMode = true;                                        // a key (true) or a password
    QString savedKeyText = QStringLiteral("FF-FF-FF-FF-FF-FF"); // the key behind a password

signals:
    void SigWriteKeyClick();
    void SigRejectEditClick();

public slots:
    // Prepares the dialog for the row of `index` (a key when `key`) and runs it.
    void ExecWin(QModelIndex index, bool key);
    void ToggleKeyPass(bool key);
    void SetWriteStatus(bool show, bool ok);

private:
    Ui::EditKey* ui;
};
