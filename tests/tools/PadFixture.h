#ifndef QUILLMARK_TESTS_PADFIXTURE_H
#define QUILLMARK_TESTS_PADFIXTURE_H

// A shown pad window and strokes drawn into its canvas with simulated mouse input. The mouse
// events go through the window, as a user's do.

#define QTEST_QPA_MOUSE_HANDLING
#include "EngineTable.h"
#include "PadCanvas.h"
#include "PadWindow.h"

#include <QComboBox>
#include <QtTest>
#include <gtest/gtest.h>

class PadFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(640, 480);
        window.show();
        QCoreApplication::processEvents();
    }

    void chooseEngine(const std::string &name)
    {
        auto *chooser = window.findChild<QComboBox *>(QStringLiteral("engine"));
        for (size_t i = 0; i < engineTable().size(); ++i)
            if (engineTable()[i].name == name)
                chooser->setCurrentIndex(int(i));
    }

    // A wave through the canvas, a sample every 4 pixels.
    void drawWave(int top)
    {
        QWidget *target = &canvas();
        QTest::mousePress(target, Qt::LeftButton, {}, QPoint(40, top + 20));
        for (int x = 44; x < 400; x += 4)
            QTest::mouseMove(target, QPoint(x, top + 20 + int(15 * std::sin(x / 25.0))));
        QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(400, top + 20));
    }

    QImage grab() { return canvas().grab().toImage(); }
    PadCanvas &canvas() { return window.canvas(); }
    const std::vector<FinishedStroke> &strokes() { return canvas().strokes().strokes(); }

    PadWindow window;
};

#endif
