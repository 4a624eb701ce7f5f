#include "platform/Registry.h"

#include "platform/LumacetError.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString normalizedPath(QString path)
{
    while (path.startsWith(u'\\'))
        path.remove(0, 1);
    while (path.endsWith(u'\\'))
        path.chop(1);
    return path;
}

QString quoted(const QString& s)
{
    QString out = s;
    out.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    out.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
    return u'"' + out + u'"';
}

// Reads a quoted string starting at pos; returns false when it is not well formed.
bool unquote(const QString& line, qsizetype& pos, QString& out)
{
    if (pos >= line.size() || line[pos] != u'"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == u'"') {
            ++pos;
            return true;
        }
        if (c == u'\\') {
            if (++pos >= line.size())
                return false;
            const QChar e = line[pos];
            out += e == u'n' ? QChar(u'\n') : e == u'r' ? QChar(u'\r') : e;
        } else {
            out += c;
        }
    }
    return false;
}

} // namespace

Registry::Registry()
{
    QFile file(filePath());
    if (file.open(QIODevice::ReadOnly))
        m_store = parse(file.read(4 * 1024 * 1024)); // settings are small; a huge file is damage
}

Registry::~Registry()
{
    try {
        Flush();
    } catch (const LumacetError&) {
        // Release must not fail; the caller flushes explicitly where an error matters.
    }
}

QString Registry::filePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Tamsel/registry.reg");
}

bool Registry::OpenKey(const QString& path, bool create)
{
    const QString p = normalizedPath(path);
    const QString lower = p.toLower();
    if (!m_store.contains(lower)) {
        if (!create)
            return false;
        m_store.insert(lower, Key{p, {}});
        m_dirty = true;
    }
    m_current = lower;
    return true;
}

const Registry::Value* Registry::find(const QString& name) const
{
    auto key = m_store.constFind(m_current);
    if (key == m_store.constEnd())
        return nullptr;
    auto it = key->values.constFind(name.toLower());
    return it == key->values.constEnd() ? nullptr : &it->second;
}

Registry::Key& Registry::currentKey()
{
    auto it = m_store.find(m_current);
    if (it == m_store.end())
        throw LumacetError(QStringLiteral("No registry key is open."));
    return *it;
}

bool Registry::ValueExists(const QString& name) const { return find(name) != nullptr; }

qint32 Registry::ReadInteger(const QString& name) const
{
    const Value* v = find(name);
    if (!v || v->type != Value::Type::Integer)
        throw LumacetError(QStringLiteral("Invalid data type for '%1'").arg(name));
    return v->integer;
}

QString Registry::ReadString(const QString& name) const
{
    const Value* v = find(name);
    if (!v || v->type != Value::Type::String)
        throw LumacetError(QStringLiteral("Invalid data type for '%1'").arg(name));
    return v->string;
}

void Registry::WriteInteger(const QString& name, qint32 value)
{
    Value v;
    v.integer = value;
    currentKey().values.insert(name.toLower(), {name, v});
    m_dirty = true;
}

void Registry::WriteString(const QString& name, const QString& value)
{
    Value v;
    v.type = Value::Type::String;
    v.string = value;
    currentKey().values.insert(name.toLower(), {name, v});
    m_dirty = true;
}

void Registry::Flush()
{
    if (!m_dirty)
        return;
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFileReplacing(path, serialize(m_store));
    m_dirty = false;
}

QByteArray Registry::serialize(const Store& store)
{
    QString text = QStringLiteral("Tamsel registry 1\r\n");
    for (const Key& key : store) {
        text += QStringLiteral("\r\n[%1]\r\n").arg(key.path);
        for (const auto& [name, value] : key.values) {
            text += quoted(name) + u'=';
            if (value.type == Value::Type::Integer)
                text += QStringLiteral("dword:%1").arg(quint32(value.integer), 8, 16, QChar(u'0'));
            else
                text += quoted(value.string);
            text += QStringLiteral("\r\n");
        }
    }
    return text.toUtf8();
}

Registry::Store Registry::parse(const QByteArray& bytes)
{
    // Lines that cannot be read are skipped: a damaged file loses only what is damaged.
    Store store;
    Key* key = nullptr;
    const QStringList lines = QString::fromUtf8(bytes).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString path = normalizedPath(line.mid(1, line.size() - 2));
            if (path.isEmpty()) {
                key = nullptr;
                continue;
            }
            key = &store[path.toLower()];
            key->path = path;
            continue;
        }
        if (!key || !line.startsWith(u'"'))
            continue;
        qsizetype pos = 0;
        QString name;
        if (!unquote(line, pos, name) || pos >= line.size() || line[pos] != u'=')
            continue;
        ++pos;
        Value value;
        if (line.mid(pos).startsWith(QStringLiteral("dword:"))) {
            bool ok = false;
            const QString hex = line.mid(pos + 6);
            const quint32 n = hex.size() <= 8 ? hex.toUInt(&ok, 16) : 0;
            if (!ok)
                continue;
            value.integer = qint32(n);
        } else {
            value.type = Value::Type::String;
            if (!unquote(line, pos, value.string) || pos != line.size())
                continue;
        }
        key->values.insert(name.toLower(), {name, value});
    }
    return store;
}
