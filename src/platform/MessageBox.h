#pragma once
#include <QString>

#include <functional>
#include <vector>

// The message box and the input box of the editor, as single functions over Qt
// dialogs. Tests replace the dialogs with a script that answers and records them.
namespace msg {

enum class Type { Warning, Error, Information, Confirmation };

enum Button : unsigned { Ok = 1, Cancel = 2, Yes = 4, No = 8 };
using Buttons = unsigned;

struct Record {
    Type type;
    QString caption;
    QString text;
    Buttons buttons;
};

// Shows a modal box and returns the button pressed; Cancel when closed (No when
// the box has no Cancel button).
Button show(Type type, const QString& text, Buttons buttons);

// Input box: returns true on OK, text holds what was typed.
bool input(const QString& caption, const QString& prompt, QString& text);

// Scripting for tests: while a script is set, no dialog appears; the script gets
// each box and returns the answer. The input script returns false for Cancel.
using Script = std::function<Button(const Record&)>;
using InputScript = std::function<bool(const QString& caption, const QString& prompt, QString& text)>;
void setScript(Script script);
void setInputScript(InputScript script);

} // namespace msg
