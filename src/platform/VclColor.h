#pragma once
// Colours keep their stored form everywhere: 0x00BBGGRR for an RGB colour,
// 0x80000000 plus an index for a system colour (resolved only when painting,
// so it follows the current colour scheme), and clNone for "no colour".
#include <QColor>
#include <QRgb>
#include <QtGlobal>

using TColor = quint32;

inline constexpr TColor clNone = 0x1FFFFFFF;

// The sixteen standard colours.
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clMaroon = 0x00000080;
inline constexpr TColor clGreen = 0x00008000;
inline constexpr TColor clOlive = 0x00008080;
inline constexpr TColor clNavy = 0x00800000;
inline constexpr TColor clPurple = 0x00800080;
inline constexpr TColor clTeal = 0x00808000;
inline constexpr TColor clGray = 0x00808080;
inline constexpr TColor clSilver = 0x00C0C0C0;
inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clLime = 0x0000FF00;
inline constexpr TColor clYellow = 0x0000FFFF;
inline constexpr TColor clBlue = 0x00FF0000;
inline constexpr TColor clFuchsia = 0x00FF00FF;
inline constexpr TColor clAqua = 0x00FFFF00;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clLtGray = clSilver;
inline constexpr TColor clDkGray = clGray;

// The extended colours of the colour boxes.
inline constexpr TColor clMoneyGreen = 0x00C0DCC0;
inline constexpr TColor clSkyBlue = 0x00F0CAA6;
inline constexpr TColor clCream = 0x00F0FBFF;
inline constexpr TColor clMedGray = 0x00A4A0A0;

// System colours: the flag plus the index of the colour in the system's scheme.
inline constexpr TColor clSystemColor = 0x80000000;
inline constexpr TColor clScrollBar = clSystemColor + 0;
inline constexpr TColor clBackground = clSystemColor + 1;
inline constexpr TColor clActiveCaption = clSystemColor + 2;
inline constexpr TColor clInactiveCaption = clSystemColor + 3;
inline constexpr TColor clMenu = clSystemColor + 4;
inline constexpr TColor clWindow = clSystemColor + 5;
inline constexpr TColor clWindowFrame = clSystemColor + 6;
inline constexpr TColor clMenuText = clSystemColor + 7;
inline constexpr TColor clWindowText = clSystemColor + 8;
inline constexpr TColor clCaptionText = clSystemColor + 9;
inline constexpr TColor clActiveBorder = clSystemColor + 10;
inline constexpr TColor clInactiveBorder = clSystemColor + 11;
inline constexpr TColor clAppWorkSpace = clSystemColor + 12;
inline constexpr TColor clHighlight = clSystemColor + 13;
inline constexpr TColor clHighlightText = clSystemColor + 14;
inline constexpr TColor clBtnFace = clSystemColor + 15;
inline constexpr TColor clBtnShadow = clSystemColor + 16;
inline constexpr TColor clGrayText = clSystemColor + 17;
inline constexpr TColor clBtnText = clSystemColor + 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor + 19;
inline constexpr TColor clBtnHighlight = clSystemColor + 20;
inline constexpr TColor cl3DDkShadow = clSystemColor + 21;
inline constexpr TColor cl3DLight = clSystemColor + 22;
inline constexpr TColor clInfoText = clSystemColor + 23;
inline constexpr TColor clInfoBk = clSystemColor + 24;
inline constexpr TColor clHotLight = clSystemColor + 26;
inline constexpr TColor clGradientActiveCaption = clSystemColor + 27;
inline constexpr TColor clGradientInactiveCaption = clSystemColor + 28;
inline constexpr TColor clMenuHighlight = clSystemColor + 29;
inline constexpr TColor clMenuBar = clSystemColor + 30;

constexpr bool isSystemColor(TColor color) { return (color & clSystemColor) != 0; }

// The colour as drawn: a system colour is looked up in the application's current
// palette (an index with no counterpart gives black), then 0x00BBGGRR becomes the
// opaque 0xFFRRGGBB. clNone converts like any other value; callers decide what
// "no colour" means for them.
QRgb colorToARGB(TColor color);

// An RGB colour value for c (its alpha is dropped).
TColor colorFromQColor(const QColor& c);
// The colour as drawn, as a QColor.
QColor toQColor(TColor color);
