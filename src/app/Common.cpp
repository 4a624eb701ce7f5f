#include "app/Common.h"

#include "platform/ColorBox.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

QString AppVersion;
TVersionNumbers AppVersionNumbers;
QString AppFolder;

namespace {
// This platform's folder separator; the helpers keep their historic names.
constexpr QChar Separator = u'/';

QString environmentFolder(const char* name)
{
    // At most 255 characters are taken from the variable.
    return qEnvironmentVariable(name).left(255);
}
} // namespace

QString AppDataFolder()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = base + QStringLiteral("/Tamsel/Lumacet");
    QDir().mkpath(folder);
    return folder;
}

TVersionNumbers CompiledVersionNumbers()
{
    return {LUMACET_VERSION_MAJOR, LUMACET_VERSION_MINOR, LUMACET_VERSION_PATCH, LUMACET_VERSION_TWEAK};
}

QString VersionString(const TVersionNumbers& v)
{
    // The letter is one 8-bit character: 'a' + maintenance for builds, 'A' - 1 + maintenance for releases.
    if (v.Build > 0) {
        const QChar letter(uchar((v.Maintenance + 97) & 0xFF));
        return QStringLiteral("%1.%2.%3%4").arg(v.Major).arg(v.Minor).arg(letter).arg(v.Build);
    }
    const QChar letter(uchar((v.Maintenance + 64) & 0xFF));
    return QStringLiteral("%1.%2.%3").arg(v.Major).arg(v.Minor).arg(letter);
}

void GetVersionStrings()
{
    AppVersionNumbers = CompiledVersionNumbers();
    AppVersion = VersionString(AppVersionNumbers);
}

QString MainWindowCaption(const QString& designedCaption, const QString& appVersion)
{
    QString caption = designedCaption + QStringLiteral(" Version ") + appVersion;
    if (appVersion.size() < 2 || appVersion.at(appVersion.size() - 2) != u'.')
        caption += QStringLiteral(" Beta");
    return caption;
}

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString AddTrailingBackslash(const QString& path)
{
    if (!path.isEmpty() && path.back() == Separator)
        return path;
    return path + Separator;
}

QString RemoveTrailingBackslash(const QString& path)
{
    if (!path.isEmpty() && path.back() == Separator)
        return path.left(path.size() - 1);
    return path;
}

QString JoinPath(const QString& folder, const QString& name)
{
    if (!name.isEmpty() && name.front() == Separator)
        return RemoveTrailingBackslash(folder) + name;
    return AddTrailingBackslash(folder) + name;
}

QString GetTempFolder()
{
    QString folder = environmentFolder("TEMP");
    if (!QFileInfo(folder).isDir())
        folder = environmentFolder("TMP");
    if (!QFileInfo(folder).isDir())
        folder = JoinPath(AppDataFolder(), QStringLiteral("Temp"));
    folder = AddTrailingBackslash(folder);
    if (!QFileInfo(folder).isDir())
        QDir().mkdir(folder); // a failure shows in the caller's next file operation
    return folder;
}

int ScaledColorBoxItemHeight(int currentItemHeight, int pixelsPerInch)
{
    switch (pixelsPerInch) {
    case 96: return 16;
    case 120: return 20;
    case 144: return 30;
    default: return int(std::lround(double(currentItemHeight) * pixelsPerInch / 96.0)) + 2;
    }
}

void ScaleColorBoxItemHeight(ColorBox* colorBox)
{
    colorBox->setItemHeight(ScaledColorBoxItemHeight(colorBox->itemHeight(), colorBox->logicalDpiY()));
}

void FitBoundsToDesktop(int& left, int& top, int& width, int& height, const QRect& desktop)
{
    // The right and bottom limits are the desktop's width and height, not its far edges.
    auto fit = [](int& pos, int& size, int origin, int extent) {
        if (pos > extent || pos < origin)
            pos = origin;
        if (pos + size > extent) {
            pos = extent - size;
            if (pos < origin) {
                pos = origin;
                size = extent;
            }
        }
    };
    fit(left, width, desktop.left(), desktop.width());
    fit(top, height, desktop.top(), desktop.height());
}

QRect DesktopRect()
{
    QRect all;
    for (QScreen* screen : QGuiApplication::screens())
        all = all.united(screen->geometry());
    return all;
}

void SetFormBoundsOnDesktop(QWidget* form, int left, int top, int width, int height)
{
    FitBoundsToDesktop(left, top, width, height, DesktopRect());
    form->move(left, top);
    form->resize(width, height);
}
