#include "text/NewTextObject.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {
NewTextDialogScript& script()
{
    static NewTextDialogScript s;
    return s;
}
} // namespace

void SetNewTextDialogScript(NewTextDialogScript s) { script() = std::move(s); }

TFNewTextObject::TFNewTextObject(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FNewTextObject"));
    setWindowTitle(QStringLiteral("New Text Object"));
    auto* v = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Text:"), this);
    cmbText = new QComboBox(this);
    cmbText->setObjectName(QStringLiteral("cmbText"));
    cmbText->setEditable(true);
    cmbText->setInsertPolicy(QComboBox::NoInsert);
    cmbText->setMinimumWidth(320);
    label->setBuddy(cmbText);
    cbSaveText = new QCheckBox(QStringLiteral("Save text to use again later"), this);
    cbSaveText->setObjectName(QStringLiteral("cbSaveText"));
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    v->addWidget(label);
    v->addWidget(cmbText);
    v->addWidget(cbSaveText);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    v->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint());
}

int ShowNewTextDialog(QWidget* owner, QString& text, bool& saveText)
{
    if (script())
        return script()(text, saveText);
    TFNewTextObject dialog(owner);
    dialog.cmbText->setEditText(text);
    dialog.cbSaveText->setChecked(saveText);
    const int result = dialog.exec();
    if (result != QDialog::Accepted)
        return result;
    text = dialog.cmbText->currentText();
    saveText = dialog.cbSaveText->isChecked();
    return result;
}
