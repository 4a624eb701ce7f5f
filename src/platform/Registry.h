#pragma once
// The per-user registry: typed values (32-bit integers and strings kept apart)
// under backslash-separated key paths, kept in one human-readable file under
// $XDG_CONFIG_HOME/Tamsel. A missing, empty or damaged file starts from
// nothing; the file is replaced atomically whenever a registry object flushes.
#include <QByteArray>
#include <QMap>
#include <QString>

class Registry {
public:
    struct Value {
        enum class Type { Integer, String } type = Type::Integer;
        qint32 integer = 0;
        QString string;
    };
    // key path (case-insensitive) -> value name (case-insensitive) -> value
    struct Key {
        QString path;
        QMap<QString, QPair<QString, Value>> values; // lower-case name -> (name, value)
    };
    using Store = QMap<QString, Key>;

    Registry(); // reads the file
    ~Registry(); // writes pending changes, ignoring failures
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    static QString filePath();

    // Opens a key (leading backslash optional); with create, a missing key is made.
    bool OpenKey(const QString& path, bool create);
    bool ValueExists(const QString& name) const;
    // Reads fail with LumacetError when the value is missing or has the other type.
    qint32 ReadInteger(const QString& name) const;
    QString ReadString(const QString& name) const;
    bool ReadBool(const QString& name) const { return ReadInteger(name) != 0; }
    void WriteInteger(const QString& name, qint32 value);
    void WriteString(const QString& name, const QString& value);
    void WriteBool(const QString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

    // Writes the file now if anything changed; throws LumacetError on failure.
    void Flush();

    static QByteArray serialize(const Store& store);
    static Store parse(const QByteArray& text);

private:
    const Value* find(const QString& name) const;
    Key& currentKey();

    Store m_store;
    QString m_current; // lower-case path of the open key
    bool m_dirty = false;
};
