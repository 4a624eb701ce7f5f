#include "platform/MessageBox.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace msg {
namespace {

Script& script()
{
    static Script s;
    return s;
}

InputScript& inputScript()
{
    static InputScript s;
    return s;
}

QMessageBox::Icon iconOf(Type type)
{
    switch (type) {
    case Type::Warning: return QMessageBox::Warning;
    case Type::Error: return QMessageBox::Critical;
    case Type::Information: return QMessageBox::Information;
    case Type::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString captionOf(Type type)
{
    switch (type) {
    case Type::Warning: return QStringLiteral("Warning");
    case Type::Error: return QStringLiteral("Error");
    case Type::Information: return QStringLiteral("Information");
    case Type::Confirmation: return QStringLiteral("Confirm");
    }
    return {};
}

} // namespace

void setScript(Script s) { script() = std::move(s); }
void setInputScript(InputScript s) { inputScript() = std::move(s); }

Button show(Type type, const QString& text, Buttons buttons)
{
    const Record record{type, captionOf(type), text, buttons};
    if (script())
        return script()(record);

    QMessageBox box(iconOf(type), record.caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    struct Map { Button ours; QMessageBox::StandardButton qt; };
    const Map map[] = {{Yes, QMessageBox::Yes}, {No, QMessageBox::No},
                       {Ok, QMessageBox::Ok}, {Cancel, QMessageBox::Cancel}};
    for (const Map& m : map)
        if (buttons & m.ours)
            box.addButton(m.qt);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Map& m : map)
        if (clicked == m.qt)
            return m.ours;
    return (buttons & Cancel) || !(buttons & No) ? Cancel : No;
}

bool input(const QString& caption, const QString& prompt, QString& text)
{
    if (inputScript())
        return inputScript()(caption, prompt, text);
    bool ok = false;
    const QString answer = QInputDialog::getText(QApplication::activeWindow(), caption, prompt,
                                                 QLineEdit::Normal, text, &ok);
    if (ok)
        text = answer;
    return ok;
}

} // namespace msg
