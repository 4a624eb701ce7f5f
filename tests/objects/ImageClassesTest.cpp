#include "objects/ImageClasses.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(ImageClasses, ConstructorsSetKindNameAndFieldsInOrder)
{
    TImageArrow arrow(2, clRed, clBlue, 7, 1, 30, 40);
    EXPECT_EQ(arrow.FKind, okArrow);
    EXPECT_EQ(arrow.FKindName, QStringLiteral("Arrow"));
    EXPECT_EQ(arrow.FDirection, 2);
    EXPECT_EQ(arrow.FFillColor, clRed);
    EXPECT_EQ(arrow.FEdgeColor, clBlue);
    EXPECT_EQ(arrow.FWidth, 7);
    EXPECT_EQ(arrow.FHeadSize, 1);
    EXPECT_EQ(arrow.FDimW, 30);
    EXPECT_EQ(arrow.FDimH, 40);

    TImageText text(QStringLiteral("Hi"), QStringLiteral("Arial"), 14, clYellow, clNone, clNone, 0xFF, 0, 0);
    EXPECT_EQ(text.FStyle, 0x0F) << "only the four style bits are kept";
    EXPECT_EQ(text.FTextWidth, 0.0f);
    EXPECT_EQ(text.FTextHeight, 0.0f);

    TImageGrid grid(6, clWhite, 2, 1, 2, clWhite);
    EXPECT_EQ(grid.FDimW, 0);
    EXPECT_EQ(grid.FDimH, 0);
    EXPECT_EQ(grid.FHeadingStyleColumns, 2);

    const struct {
        TImageObjectKind kind;
        const char* name;
    } names[] = {{okArrow, "Arrow"}, {okText, "Text"}, {okBox, "Rectangle"}, {okCircle, "Circle"},
                 {okLine, "Line"}, {okGrid, "Grid"}, {okBitmap, "Image Object"}};
    for (const auto& n : names)
        EXPECT_EQ(KindName(n.kind), QString::fromLatin1(n.name));
}

TEST(ImageClasses, PictureObjectKeepsItsOwnCopy)
{
    QImage source(4, 3, QImage::Format_RGB32);
    source.fill(Qt::red);
    TImageBitmap picture(&source, clWhite, 100, 0);
    source.fill(Qt::blue);
    EXPECT_EQ(picture.FPicture.pixel(0, 0), QColor(Qt::red).rgb());
    TImageBitmap empty(nullptr, clWhite, 100, 0);
    EXPECT_TRUE(empty.FPicture.isNull());
}

TEST(ImageClasses, ListMovesLikeTheLayerCollection)
{
    TImageObjectList list;
    for (int i = 0; i < 4; ++i)
        list.Add(std::make_unique<TImageBox>(TColor(i), clBlack, 0, 0, 0));
    auto order = [&] {
        std::vector<TColor> out;
        for (int i = 0; i < list.Count(); ++i)
            out.push_back(static_cast<TImageShape*>(list.Items(i))->FFillColor);
        return out;
    };
    list.Move(3, 0);
    EXPECT_EQ(order(), (std::vector<TColor>{3, 0, 1, 2}));
    list.Move(0, 3);
    EXPECT_EQ(order(), (std::vector<TColor>{0, 1, 2, 3}));
    list.Delete(1);
    EXPECT_EQ(order(), (std::vector<TColor>{0, 2, 3}));
    EXPECT_THROW(list.Delete(3), std::out_of_range);
    EXPECT_THROW(list.Move(0, 5), std::out_of_range);
    EXPECT_EQ(order(), (std::vector<TColor>{0, 2, 3}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}
