#include "platform/ColorBox.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace {

struct NamedColor {
    TColor color;
    const char* name;
};

// Standard, extended and system colours, in the order the lists show them.
const NamedColor Colors[] = {
    {clBlack, "Black"}, {clMaroon, "Maroon"}, {clGreen, "Green"}, {clOlive, "Olive"},
    {clNavy, "Navy"}, {clPurple, "Purple"}, {clTeal, "Teal"}, {clGray, "Gray"},
    {clSilver, "Silver"}, {clRed, "Red"}, {clLime, "Lime"}, {clYellow, "Yellow"},
    {clBlue, "Blue"}, {clFuchsia, "Fuchsia"}, {clAqua, "Aqua"}, {clWhite, "White"},
    {clMoneyGreen, "Money Green"}, {clSkyBlue, "Sky Blue"}, {clCream, "Cream"}, {clMedGray, "Medium Gray"},
    {clScrollBar, "Scroll Bar"}, {clBackground, "Background"}, {clActiveCaption, "Active Caption"},
    {clInactiveCaption, "Inactive Caption"}, {clMenu, "Menu"}, {clWindow, "Window"},
    {clWindowFrame, "Window Frame"}, {clMenuText, "Menu Text"}, {clWindowText, "Window Text"},
    {clCaptionText, "Caption Text"}, {clActiveBorder, "Active Border"}, {clInactiveBorder, "Inactive Border"},
    {clAppWorkSpace, "Application Workspace"}, {clHighlight, "Highlight"}, {clHighlightText, "Highlight Text"},
    {clBtnFace, "Button Face"}, {clBtnShadow, "Button Shadow"}, {clGrayText, "Gray Text"},
    {clBtnText, "Button Text"}, {clInactiveCaptionText, "Inactive Caption Text"},
    {clBtnHighlight, "Button Highlight"}, {cl3DDkShadow, "3D Dark Shadow"}, {cl3DLight, "3D Light"},
    {clInfoText, "Info Text"}, {clInfoBk, "Info Background"}, {clHotLight, "Hot Light"},
    {clGradientActiveCaption, "Gradient Active Caption"},
    {clGradientInactiveCaption, "Gradient Inactive Caption"}, {clMenuHighlight, "Menu Highlight"},
    {clMenuBar, "Menu Bar"},
};

constexpr int ColorRole = Qt::UserRole + 1;

ColorBox::ColorDialog& dialogHook()
{
    static ColorBox::ColorDialog hook;
    return hook;
}

QIcon swatch(TColor color)
{
    QPixmap pixmap(16, 12);
    if (color == clNone) {
        pixmap.fill(Qt::white);
        QPainter p(&pixmap);
        p.setPen(Qt::red);
        p.drawLine(0, 11, 15, 0);
    } else {
        pixmap.fill(toQColor(color));
    }
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

} // namespace

void ColorBox::setColorDialog(ColorDialog dialog) { dialogHook() = std::move(dialog); }

void ColorBox::setItemHeight(int height)
{
    m_itemHeight = height;
    for (int i = 0; i < count(); ++i)
        setItemData(i, QSize(0, height), Qt::SizeHintRole);
}

ColorBox::ColorBox(bool withNone, QWidget* parent) : QComboBox(parent), m_withNone(withNone)
{
    setEditable(false);
    // Narrow enough for a row of boxes; the drop-down list shows the long names in full.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(11);
    view()->setMinimumWidth(200);
    m_customIndex = 0;
    addItem(QStringLiteral("Custom..."));
    setItemData(0, QVariant::fromValue<quint32>(clBlack), ColorRole);
    setItemIcon(0, swatch(clBlack));
    if (withNone) {
        addItem(swatch(clNone), QStringLiteral("None"));
        setItemData(count() - 1, QVariant::fromValue<quint32>(clNone), ColorRole);
    }
    for (const NamedColor& c : Colors) {
        addItem(swatch(c.color), QString::fromLatin1(c.name));
        setItemData(count() - 1, QVariant::fromValue<quint32>(c.color), ColorRole);
    }
    setMaxVisibleItems(16);
    setCurrentIndex(indexOf(withNone ? clNone : clBlack));
    m_lastIndex = currentIndex();
    connect(this, &QComboBox::activated, this, &ColorBox::onActivated);
}

TColor ColorBox::selected() const
{
    const int i = currentIndex();
    return i < 0 ? clBlack : itemData(i, ColorRole).value<quint32>();
}

int ColorBox::indexOf(TColor color) const
{
    for (int i = 0; i < count(); ++i)
        if (i != m_customIndex && itemData(i, ColorRole).value<quint32>() == color)
            return i;
    return -1;
}

void ColorBox::setCustom(TColor color)
{
    setItemData(m_customIndex, QVariant::fromValue<quint32>(color), ColorRole);
    setItemIcon(m_customIndex, swatch(color));
}

void ColorBox::setSelected(TColor color)
{
    int i = indexOf(color);
    if (i < 0 && m_withNone) {
        // These boxes keep every custom colour as an entry of its own.
        i = m_customIndex + 1;
        insertItem(i, swatch(color), toQColor(color).name().toUpper());
        setItemData(i, QVariant::fromValue<quint32>(color), ColorRole);
        setItemData(i, QSize(0, m_itemHeight), Qt::SizeHintRole);
    } else if (i < 0) {
        setCustom(color);
        i = m_customIndex;
    }
    setCurrentIndex(i);
    m_lastIndex = i;
}

void ColorBox::onActivated(int index)
{
    if (index == m_customIndex) {
        const TColor current = selected();
        TColor chosen = current;
        bool ok = false;
        if (dialogHook()) {
            ok = dialogHook()(current, chosen);
        } else {
            const QColor c = QColorDialog::getColor(toQColor(current), this, QStringLiteral("Color"));
            ok = c.isValid();
            if (ok)
                chosen = colorFromQColor(c);
        }
        if (!ok) {
            setCurrentIndex(m_lastIndex);
            return;
        }
        setSelected(chosen);
    }
    m_lastIndex = currentIndex();
    Q_EMIT colorSelected(selected());
}
