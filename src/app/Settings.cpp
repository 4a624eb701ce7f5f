#include "app/Settings.h"

#include "platform/LumacetError.h"
#include "platform/Registry.h"

void ReadStringDef(Registry& registry, const QString& name, QString& value, const QString& defaultValue)
{
    value = registry.ValueExists(name) ? registry.ReadString(name) : defaultValue;
}

void ReadIntegerDef(Registry& registry, const QString& name, qint32& value, qint32 defaultValue)
{
    if (registry.ValueExists(name)) {
        value = registry.ReadInteger(name);
    } else {
        value = defaultValue;
        WriteIntegerQuiet(registry, name, defaultValue);
    }
}

void ReadBoolDef(Registry& registry, const QString& name, bool& value, bool defaultValue)
{
    if (registry.ValueExists(name)) {
        value = registry.ReadBool(name);
    } else {
        value = defaultValue;
        WriteBoolQuiet(registry, name, defaultValue);
    }
}

void WriteIntegerQuiet(Registry& registry, const QString& name, qint32 value)
{
    try {
        registry.WriteInteger(name, value);
    } catch (const LumacetError&) {
    }
}

void WriteBoolQuiet(Registry& registry, const QString& name, bool value)
{
    try {
        registry.WriteBool(name, value);
    } catch (const LumacetError&) {
    }
}
