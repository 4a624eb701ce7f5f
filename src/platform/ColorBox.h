#pragma once
// A colour drop-down list: the standard, extended and system colours with their
// names, a custom entry that opens a colour dialog, and optionally "None".
// Values are VCL colour values (0x00BBGGRR, system colours, clNone).
#include "platform/VclColor.h"

#include <QComboBox>

#include <functional>

class ColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColorBox(bool withNone, QWidget* parent = nullptr);

    TColor selected() const;
    // A colour that is in no list shows as the custom entry; boxes with "None" keep
    // each custom colour as an entry of its own.
    void setSelected(TColor color);
    bool hasNone() const { return m_withNone; }
    // Height of the entries in the drop-down list, in pixels.
    int itemHeight() const { return m_itemHeight; }
    void setItemHeight(int height);

    // Tests replace the colour dialog: it gets the current colour and returns the chosen
    // one, or nothing for Cancel.
    using ColorDialog = std::function<bool(TColor current, TColor& chosen)>;
    static void setColorDialog(ColorDialog dialog);

Q_SIGNALS:
    // The user picked a colour (not emitted by setSelected).
    void colorSelected(TColor color);

private:
    void onActivated(int index);
    int indexOf(TColor color) const;
    void setCustom(TColor color);
    bool m_withNone;
    int m_customIndex = -1;
    int m_lastIndex = -1;
    int m_itemHeight = 16;
};
