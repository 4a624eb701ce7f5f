// Not run by default: places every arrow, line, rectangle and ellipse in the real
// main window and saves a picture of the window to $LUMACET_SHOWCASE, for a person
// to look at (run it under Xvfb with LUMACET_TEST_PLATFORM=xcb).
#include "app/MainWindowFixture.h"

#include <QComboBox>
#include <QScrollArea>
#include <QToolButton>

#include <utility>
#include <vector>

TEST_F(MainWindowTest, DISABLED_ShapesOnScreen)
{
    const QString file = path(QStringLiteral("grey.jpg"));
    PictureIO::saveJpeg(file, testpics::filled(760, 600, qRgb(150, 160, 170)));
    open(file);
    window->resize(1064, 733);
    std::vector<std::pair<QPoint, QRgb>> probes;
    auto place = [&](const char* button, QRectF where) {
        click(button);
        window->rubberBand()->setLocation(where);
        return where;
    };
    const QRgb yellow = qRgb(255, 255, 0), grey = qRgb(150, 160, 170);
    auto* heads = control<QComboBox>("cmbArrowHeadSize");
    const char* arrows[] = {"SpBtn_ArrowUR", "SpBtn_ArrowUL", "SpBtn_ArrowDL", "SpBtn_ArrowDR"};
    for (int head = 0; head < 3; ++head) {
        heads->setCurrentIndex(head);
        for (int d = 0; d < 4; ++d)
            probes.push_back({place(arrows[d], QRectF(10 + d * 95, 10 + head * 95, 80, 80)).center().toPoint(), yellow});
    }
    const char* lines[] = {"SpBtn_LineHorz", "SpBtn_LineVert", "SpBtn_LineUp", "SpBtn_LineDown"};
    for (int d = 0; d < 4; ++d)
        place(lines[d], QRectF(10 + d * 95, 310, 80, 80));
    // Widths 0 (closed), 1, 5 and 20, and a band wider than half the shape.
    const int widths[] = {0, 1, 5, 20, 20};
    for (int i = 0; i < 5; ++i) {
        const double w = i == 4 ? 36 : 100, h = i == 4 ? 30 : 70;
        control<QToolButton>("SpBtn_OpenBox")->setProperty("Tag", widths[i]);
        const QRectF box = place("SpBtn_OpenBox", QRectF(400 + (i % 3) * 120, 10 + (i / 3) * 90, w, h));
        if (i < 4)
            probes.push_back({box.center().toPoint(), i == 0 ? yellow : grey});
        control<QToolButton>("SpBtn_OpenCircle")->setProperty("Tag", widths[i]);
        place("SpBtn_OpenCircle", QRectF(400 + (i % 3) * 120, 200 + (i / 3) * 90, w, h));
    }
    QApplication::processEvents();
    window->rubberBand()->setVisible(false);
    QImage merged(window->view()->bitmap().size(), QImage::Format_RGB32);
    window->view()->paintInto(merged, merged.rect());
    for (const auto& [at, colour] : probes) // JPEG leaves the grey a little off
        EXPECT_TRUE(testpics::samePixels(merged.copy(QRect(at, QSize(1, 1))), testpics::filled(1, 1, colour), 6))
            << "at (" << at.x() << ", " << at.y() << ")";
    window->rubberBand()->setVisible(true);
    const QString out = qEnvironmentVariable("LUMACET_SHOWCASE", dir.filePath(QStringLiteral("shapes.png")));
    ASSERT_TRUE(window->grab().save(out));
}
