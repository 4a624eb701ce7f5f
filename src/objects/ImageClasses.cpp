#include "objects/ImageClasses.h"

#include <stdexcept>

QString KindName(TImageObjectKind kind)
{
    switch (kind) {
    case okArrow: return QStringLiteral("Arrow");
    case okText: return QStringLiteral("Text");
    case okBox: return QStringLiteral("Rectangle");
    case okCircle: return QStringLiteral("Circle");
    case okLine: return QStringLiteral("Line");
    case okGrid: return QStringLiteral("Grid");
    case okBitmap: return QStringLiteral("Image Object");
    }
    return {};
}

TImageObject::TImageObject(TImageObjectKind kind) : FKind(kind), FKindName(KindName(kind)) {}

TImageArrow::TImageArrow(qint32 direction, TColor fillColor, TColor edgeColor, qint32 width,
                         qint32 headSize, qint32 dimW, qint32 dimH)
    : TImageObject(okArrow), FDirection(direction), FFillColor(fillColor), FEdgeColor(edgeColor),
      FWidth(width), FHeadSize(headSize)
{
    FDimW = dimW;
    FDimH = dimH;
}

TImageText::TImageText(const QString& text, const QString& fontName, qint32 size, TColor color,
                       TColor bkColor, TColor outlineColor, std::uint8_t style, qint32 dimW, qint32 dimH)
    : TImageObject(okText), FText(text), FFontName(fontName), FColor(color), FBkColor(bkColor),
      FOutlineColor(outlineColor), FSize(size), FStyle(style & 0x0F)
{
    FDimW = dimW;
    FDimH = dimH;
}

TImageShape::TImageShape(TImageObjectKind kind, TColor fillColor, TColor edgeColor, qint32 width,
                         qint32 dimW, qint32 dimH)
    : TImageObject(kind), FFillColor(fillColor), FEdgeColor(edgeColor), FWidth(width)
{
    FDimW = dimW;
    FDimH = dimH;
}

TImageLine::TImageLine(qint32 direction, TColor fillColor, TColor edgeColor, qint32 width, qint32 dimW,
                       qint32 dimH)
    : TImageObject(okLine), FDirection(direction), FFillColor(fillColor), FEdgeColor(edgeColor),
      FWidth(width)
{
    FDimW = dimW;
    FDimH = dimH;
}

TImageGrid::TImageGrid(qint32 dimensions, TColor lineColor, qint32 lineWidth, std::uint8_t headingStyleRows,
                       std::uint8_t headingStyleColumns, TColor headingColor)
    : TImageObject(okGrid), FDimensions(dimensions), FLineColor(lineColor), FLineWidth(lineWidth),
      FHeadingStyleRows(headingStyleRows), FHeadingStyleColumns(headingStyleColumns),
      FHeadingColor(headingColor)
{
}

TImageBitmap::TImageBitmap(const QImage* source, TColor transparentColor, qint32 dimW, qint32 dimH)
    : TImageObject(okBitmap), FPicture(source ? source->copy() : QImage()),
      FTransparentColor(transparentColor)
{
    FDimW = dimW;
    FDimH = dimH;
}

TImageObject* TImageObjectList::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("List index out of bounds");
    return m_items[size_t(index)].get();
}

int TImageObjectList::Add(std::unique_ptr<TImageObject> object)
{
    m_items.push_back(std::move(object));
    return Count() - 1;
}

void TImageObjectList::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count())
        throw std::out_of_range("List index out of bounds");
    auto item = std::move(m_items[size_t(from)]);
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, std::move(item));
}

void TImageObjectList::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("List index out of bounds");
    m_items.erase(m_items.begin() + index);
}
