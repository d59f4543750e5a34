#include "PadWindow.h"

#include "EngineTable.h"
#include "PadCanvas.h"
#include "PadExport.h"
#include "StrokeReplay.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {
QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}
} // namespace

PadWindow::PadWindow(QWidget *parent) : QMainWindow(parent), pad(new PadCanvas(this))
{
    setWindowTitle(QStringLiteral("quillmark-pad"));
    setCentralWidget(pad);
    buildFileMenu();
    buildToolBar();
    statusBar()->showMessage(QStringLiteral("Draw with the mouse or a tablet pen."));
    resize(1000, 700);
}

PadWindow::~PadWindow() = default;

void PadWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Pen"));
    bar->setMovable(false);

    auto *engines = new QComboBox(bar);
    engines->setObjectName(QStringLiteral("engine"));
    for (const EngineAdapter &engine : engineTable())
        engines->addItem(QString::fromStdString(engine.name + ": " + engine.title));
    connect(engines, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { pad->setEngine(engineTable().at(size_t(index))); });
    bar->addWidget(new QLabel(QStringLiteral(" Engine "), bar));
    bar->addWidget(engines);

    auto *width = new QDoubleSpinBox(bar);
    width->setObjectName(QStringLiteral("width"));
    width->setRange(0.5, 200);
    width->setSingleStep(0.5);
    connect(width, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            [this](double value) { pad->setPenWidth(float(value)); });
    width->setValue(pad->penWidth());
    bar->addWidget(new QLabel(QStringLiteral(" Width "), bar));
    bar->addWidget(width);

    colourButton = new QToolButton(bar);
    colourButton->setToolTip(QStringLiteral("Colour"));
    colourButton->setIcon(swatch(pad->colour()));
    connect(colourButton, &QToolButton::clicked, this, &PadWindow::chooseColour);
    bar->addWidget(colourButton);
    bar->addSeparator();

    QAction *undo = bar->addAction(QStringLiteral("Undo"), pad, &PadCanvas::undo);
    undo->setShortcut(QKeySequence::Undo);
    QAction *clear = bar->addAction(QStringLiteral("Clear"), pad, &PadCanvas::clear);
    for (QAction *action : {undo, clear}) {
        action->setEnabled(false);
        connect(pad, &PadCanvas::strokeCountChanged, action,
                [action](int count) { action->setEnabled(count > 0); });
    }
    QAction *rects = bar->addAction(QStringLiteral("Show repaints"), pad,
                                    &PadCanvas::setShowRepaints);
    rects->setCheckable(true);
    rects->setToolTip(QStringLiteral("Outline the rectangles the engine reported"));
}

void PadWindow::buildFileMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    // Qt 5 and Qt 6 take the shortcut at different places in addAction; set it apart.
    auto add = [&](const QString &text, auto slot, QKeySequence::StandardKey shortcut) {
        file->addAction(text, this, slot)->setShortcut(shortcut);
    };
    add(QStringLiteral("&Replay recording..."), &PadWindow::askForRecording, QKeySequence::Open);
    add(QStringLiteral("&Save as SVG or PNG..."), &PadWindow::askWhereToSave, QKeySequence::Save);
    file->addSeparator();
    add(QStringLiteral("&Quit"), &QWidget::close, QKeySequence::Quit);
}

void PadWindow::chooseColour()
{
    const QColor colour = QColorDialog::getColor(pad->colour(), this);
    if (!colour.isValid())
        return;
    pad->setColour(colour);
    colourButton->setIcon(swatch(colour));
}

std::string PadWindow::replayFile(const QString &path)
{
    const StrokeFileResult file = readStrokeFile(path.toStdString());
    if (!file.error.empty())
        return file.error;
    replay.reset();
    replay = std::make_unique<StrokeReplay>(*pad, file.strokes);
    pad->setEnabled(false);
    connect(replay.get(), &StrokeReplay::finished, this, [this] {
        pad->setEnabled(true);
        statusBar()->showMessage(QStringLiteral("Replay finished."));
        emit replayFinished();
    });
    replay->start();
    return std::string();
}

std::string PadWindow::saveTo(const QString &path)
{
    return savePad(pad->strokes(), pad->size(), path);
}

void PadWindow::askForRecording()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Replay recorded strokes"), QString(),
        QStringLiteral("Recorded strokes (*.txt);;All files (*)"));
    if (!path.isEmpty())
        report(replayFile(path), QStringLiteral("Replaying %1").arg(path));
}

void PadWindow::askWhereToSave()
{
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save the drawing"),
                                                QStringLiteral("drawing.svg"),
                                                QStringLiteral("SVG (*.svg);;PNG (*.png)"),
                                                &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += filter.startsWith(QStringLiteral("PNG")) ? QStringLiteral(".png")
                                                         : QStringLiteral(".svg");
    report(saveTo(path), QStringLiteral("Saved %1").arg(path));
}

void PadWindow::report(const std::string &error, const QString &success)
{
    statusBar()->showMessage(error.empty() ? success : QString::fromStdString(error));
}
