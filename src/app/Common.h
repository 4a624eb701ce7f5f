#pragma once
// Program-wide values and small helpers shared by the whole editor: version
// strings, folders and paths, screen-dependent sizing and window placement.
#include <QRect>
#include <QString>

class ColorBox;
class QWidget;

struct TVersionNumbers {
    qint32 Major = 0;
    qint32 Minor = 0;
    qint32 Maintenance = 0;
    qint32 Build = 0;
};

extern QString AppVersion;
extern TVersionNumbers AppVersionNumbers;
extern QString AppFolder;

// The per-user data folder ($XDG_DATA_HOME/Tamsel/Lumacet), created on first use.
QString AppDataFolder();

// The version numbers compiled into the program.
TVersionNumbers CompiledVersionNumbers();
// 1.6.1.0 gives "1.6.A"; 1.6.1.3 gives "1.6.b3".
QString VersionString(const TVersionNumbers& v);
// Sets AppVersion and AppVersionNumbers from the compiled version.
void GetVersionStrings();
// "Image Editor Version 1.6.A"; any version not ending in "." and one letter is a beta.
QString MainWindowCaption(const QString& designedCaption, const QString& appVersion);

// The text without leading and trailing blanks and control characters (codes up to 32).
QString TrimBlanks(const QString& text);

QString AddTrailingBackslash(const QString& path);
QString RemoveTrailingBackslash(const QString& path);
QString JoinPath(const QString& folder, const QString& name);
QString GetTempFolder();

// Item height of a colour list for a screen of the given pixels per inch.
int ScaledColorBoxItemHeight(int currentItemHeight, int pixelsPerInch);
void ScaleColorBoxItemHeight(ColorBox* colorBox);

// Moves and shrinks a window rectangle onto the desktop.
void FitBoundsToDesktop(int& left, int& top, int& width, int& height, const QRect& desktop);
// The rectangle that covers all screens.
QRect DesktopRect();
void SetFormBoundsOnDesktop(QWidget* form, int left, int top, int width, int height);

template <class T>
T ChooseVariant(bool condition, const T& whenTrue, const T& whenFalse)
{
    return condition ? whenTrue : whenFalse;
}
