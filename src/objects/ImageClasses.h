#pragma once
// The annotation objects: plain records of properties, one class per kind.
// Code that handles an object dispatches on FKind, never on the class. An object
// knows nothing of its place: that is its layer's (same index in the view).
#include "platform/VclColor.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

enum TImageObjectKind : std::uint8_t { okArrow, okText, okBox, okCircle, okLine, okGrid, okBitmap };

class TImageObject {
public:
    virtual ~TImageObject() = default;
    TImageObjectKind FKind;
    qint32 FDimW = 0;
    qint32 FDimH = 0;
    QString FKindName;

protected:
    explicit TImageObject(TImageObjectKind kind);
};

class TImageArrow : public TImageObject {
public:
    TImageArrow(qint32 direction, TColor fillColor, TColor edgeColor, qint32 width, qint32 headSize,
                qint32 dimW, qint32 dimH);
    qint32 FDirection;
    TColor FFillColor;
    TColor FEdgeColor;
    qint32 FWidth;
    qint32 FHeadSize;
};

class TImageText : public TImageObject {
public:
    TImageText(const QString& text, const QString& fontName, qint32 size, TColor color, TColor bkColor,
               TColor outlineColor, std::uint8_t style, qint32 dimW, qint32 dimH);
    QString FText;
    QString FFontName;
    TColor FColor;
    TColor FBkColor;
    TColor FOutlineColor;
    qint32 FSize;
    std::uint8_t FStyle; // 1 bold, 2 italic, 4 underline, 8 strike-out
    float FTextHeight = 0;
    float FTextWidth = 0;
};

// Rectangles and ellipses share their fields: width 0 is a closed shape.
class TImageShape : public TImageObject {
public:
    TColor FFillColor;
    TColor FEdgeColor;
    qint32 FWidth;

protected:
    TImageShape(TImageObjectKind kind, TColor fillColor, TColor edgeColor, qint32 width, qint32 dimW,
                qint32 dimH);
};

class TImageBox : public TImageShape {
public:
    TImageBox(TColor fillColor, TColor edgeColor, qint32 width, qint32 dimW, qint32 dimH)
        : TImageShape(okBox, fillColor, edgeColor, width, dimW, dimH) {}
};

class TImageCircle : public TImageShape {
public:
    TImageCircle(TColor fillColor, TColor edgeColor, qint32 width, qint32 dimW, qint32 dimH)
        : TImageShape(okCircle, fillColor, edgeColor, width, dimW, dimH) {}
};

class TImageLine : public TImageObject {
public:
    TImageLine(qint32 direction, TColor fillColor, TColor edgeColor, qint32 width, qint32 dimW, qint32 dimH);
    qint32 FDirection;
    TColor FFillColor;
    TColor FEdgeColor;
    qint32 FWidth;
};

class TImageGrid : public TImageObject {
public:
    TImageGrid(qint32 dimensions, TColor lineColor, qint32 lineWidth, std::uint8_t headingStyleRows,
               std::uint8_t headingStyleColumns, TColor headingColor);
    qint32 FDimensions;
    TColor FLineColor;
    qint32 FLineWidth;
    qint32 FHeadingStyleRows;    // 0 None, 1 Alpha, 2 Numeric
    qint32 FHeadingStyleColumns;
    TColor FHeadingColor;
};

class TImageBitmap : public TImageObject {
public:
    // The object keeps its own copy of the picture; a null source gives an empty one.
    TImageBitmap(const QImage* source, TColor transparentColor, qint32 dimW, qint32 dimH);
    QImage FPicture;
    TColor FTransparentColor;
};

// The objects on the picture, in stacking order (index 0 is the bottom); owns them.
class TImageObjectList {
public:
    int Count() const { return int(m_items.size()); }
    TImageObject* Items(int index) const; // throws std::out_of_range
    int Add(std::unique_ptr<TImageObject> object);
    void Move(int from, int to);
    void Delete(int index);
    void Clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<TImageObject>> m_items;
};

// Display name stored in FKindName.
QString KindName(TImageObjectKind kind);
