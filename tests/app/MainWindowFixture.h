#pragma once
// Drives the real main window on the offscreen platform: controls are found by
// their object names, message boxes and file dialogs are answered by script.
#include "TestPictures.h"
#include "app/Lumacet_Main.h"
#include "platform/ColorBox.h"
#include "platform/MessageBox.h"
#include "platform/PictureIO.h"
#include "text/NewTextObject.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Picks a colour in a colour box as the user would, through the custom entry's dialog.
inline void pickColor(ColorBox* box, TColor color)
{
    ColorBox::setColorDialog([color](TColor, TColor& chosen) {
        chosen = color;
        return true;
    });
    box->setCurrentIndex(0);
    Q_EMIT box->activated(0);
    ColorBox::setColorDialog({});
}

class MainWindowTest : public testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<TfrmLumacet_Main> window;
    std::vector<msg::Record> boxes;   // every message box shown, in order
    std::deque<msg::Button> answers;  // answers to give; when empty: OK, else Cancel, else No

    void SetUp() override
    {
        msg::setScript([this](const msg::Record& r) {
            boxes.push_back(r);
            if (!answers.empty()) {
                const msg::Button b = answers.front();
                answers.pop_front();
                return b;
            }
            return (r.buttons & msg::Ok) ? msg::Ok : (r.buttons & msg::Cancel) ? msg::Cancel : msg::No;
        });
    }

    void TearDown() override
    {
        if (window) {
            // Leave without questions: pending changes are dropped.
            msg::setScript([](const msg::Record&) { return msg::No; });
            window.reset();
        }
        msg::setScript({});
        SetFileDialogScript({});
        SetNewTextDialogScript({});
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // Writes a JPEG test picture and returns its path.
    QString writeJpeg(const QString& name, int width = 64, int height = 48)
    {
        const QString p = path(name);
        PictureIO::saveJpeg(p, testpics::gradient(width, height));
        return p;
    }

    TfrmLumacet_Main& open(const QString& file = QString())
    {
        QStringList args{QStringLiteral("Lumacet")};
        if (!file.isEmpty())
            args << file;
        window = std::make_unique<TfrmLumacet_Main>(args);
        window->show();
        QApplication::processEvents();
        return *window;
    }

    template <class T = QWidget>
    T* control(const char* name) const
    {
        T* w = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
        if (!w) // gtest reports the exception as this test's failure
            throw std::runtime_error(std::string("no control named ") + name);
        return w;
    }

    void click(const char* name) { control<QAbstractButton>(name)->click(); }

    // The tab of the properties panel that is showing, by object name ("" for none).
    QString visibleTab() const;

    bool applyEnabled() const { return control<QWidget>("btnApply")->isEnabled(); }

    QStringList boxTexts() const
    {
        QStringList out;
        for (const msg::Record& r : boxes)
            out << r.text;
        return out;
    }
};

#include <QTabWidget>

inline QString MainWindowTest::visibleTab() const
{
    auto* pages = control<QTabWidget>("PageControl1");
    QString shown;
    int count = 0;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i)) {
            shown = pages->widget(i)->objectName();
            ++count;
        }
    EXPECT_LE(count, 1) << "more than one property tab shows";
    return count == 1 && pages->isVisible() ? shown : QString();
}
