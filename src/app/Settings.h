#pragma once
// Read-with-default helpers over an open registry key. A missing integer or
// boolean is written back with its default at once, so that after the first
// start every key holds all its values.
#include <QString>

class Registry;

void ReadStringDef(Registry& registry, const QString& name, QString& value, const QString& defaultValue);
void ReadIntegerDef(Registry& registry, const QString& name, qint32& value, qint32 defaultValue);
void ReadBoolDef(Registry& registry, const QString& name, bool& value, bool defaultValue);
void WriteIntegerQuiet(Registry& registry, const QString& name, qint32 value);
void WriteBoolQuiet(Registry& registry, const QString& name, bool value);
