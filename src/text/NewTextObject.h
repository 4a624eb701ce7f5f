#pragma once
// The New Text Object dialog: asks for the text of a new text object.
#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;

class TFNewTextObject : public QDialog {
    Q_OBJECT
public:
    explicit TFNewTextObject(QWidget* owner);
    QComboBox* cmbText;
    QCheckBox* cbSaveText;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// Runs the dialog modally with text and the save option as they come in; on OK both
// take the dialog's values (the text as typed, not trimmed). Returns the modal result.
int ShowNewTextDialog(QWidget* owner, QString& text, bool& saveText);

// Tests answer the dialog with a script: it gets the text and save option and
// returns the modal result.
using NewTextDialogScript = std::function<int(QString& text, bool& saveText)>;
void SetNewTextDialogScript(NewTextDialogScript script);
