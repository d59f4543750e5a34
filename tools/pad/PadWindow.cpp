#include "PadWindow.h"

#include "EngineTable.h"
#include "OxPageFile.h"
#include "PadCanvas.h"
#include "PadExport.h"
#include "StrokeReplay.h"

#include <QAction>
#include <QActionGroup>
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
const QString kPageFilter = QStringLiteral("Pages (*.qmk);;All files (*)");

// A page file's error for the status bar: the path (a file error names it already), what is
// wrong and at which byte.
std::string pageError(const OxStorageError &error, const QString &path)
{
    const QString message = error.kind == OxStorageError::kFile
                                ? error.message
                                : QStringLiteral("%1: %2").arg(path, error.message);
    return message.toStdString();
}

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// A spin box with an object name (the tests find it by it) under a label on bar.
QDoubleSpinBox *addSpinBox(QToolBar *bar, const QString &name, const QString &label,
                           double low, double high, double step)
{
    auto *box = new QDoubleSpinBox(bar);
    box->setObjectName(name);
    box->setRange(low, high);
    box->setSingleStep(step);
    bar->addWidget(new QLabel(label, bar));
    bar->addWidget(box);
    return box;
}
} // namespace

PadWindow::PadWindow(QWidget *parent) : QMainWindow(parent), pad(new PadCanvas(this))
{
    setWindowTitle(QStringLiteral("quillmark-pad"));
    setCentralWidget(pad);
    buildMenus();
    buildPenBar();
    addToolBarBreak();
    buildToolBar();
    connect(pad, &PadCanvas::stepsChanged, this, &PadWindow::updateActions);
    updateActions();
    pad->setFocus();
    statusBar()->showMessage(QStringLiteral(
        "Draw with the mouse or a tablet pen. Eraser: Shift takes whole strokes."));
    resize(1000, 700);
}

PadWindow::~PadWindow() = default;

void PadWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Tools"));
    bar->setMovable(false);
    struct ToolChoice
    {
        const char *label, *key;
        PadCanvas::Tool tool;
    };
    const ToolChoice choices[] = {
        {"Pen", "B", PadCanvas::Tool::kPen},
        {"Eraser", "E", PadCanvas::Tool::kEraser},
        {"Lasso", "L", PadCanvas::Tool::kLasso},
    };
    auto *tools = new QActionGroup(bar);
    for (const ToolChoice &choice : choices) {
        const PadCanvas::Tool tool = choice.tool;
        QAction *action = bar->addAction(QLatin1String(choice.label), pad,
                                         [this, tool] { pad->setTool(tool); });
        action->setObjectName(QString(QLatin1String(choice.label)).toLower());
        action->setShortcut(QKeySequence(QLatin1String(choice.key)));
        action->setToolTip(QStringLiteral("%1 (%2)").arg(QLatin1String(choice.label),
                                                         QLatin1String(choice.key)));
        action->setCheckable(true);
        action->setChecked(tool == pad->tool());
        tools->addAction(action);
    }
    QDoubleSpinBox *radius = addSpinBox(bar, QStringLiteral("eraser"),
                                        QStringLiteral(" Eraser radius "), 1, 100, 1);
    radius->setValue(pad->eraserRadius());
    connect(radius, QOverload<double>::of(&QDoubleSpinBox::valueChanged), pad,
            &PadCanvas::setEraserRadius);
    bar->addSeparator();
    bar->addAction(undoAction);
    bar->addAction(redoAction);
    bar->addAction(clearAction);
}

void PadWindow::buildPenBar()
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

    QDoubleSpinBox *width = addSpinBox(bar, QStringLiteral("width"), QStringLiteral(" Width "),
                                       0.5, 200, 0.5);
    connect(width, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            [this](double value) { pad->setPenWidth(float(value)); });
    width->setValue(pad->penWidth());

    colourButton = new QToolButton(bar);
    colourButton->setToolTip(QStringLiteral("Colour"));
    colourButton->setIcon(swatch(pad->colour()));
    connect(colourButton, &QToolButton::clicked, this, &PadWindow::chooseColour);
    bar->addWidget(colourButton);
    bar->addSeparator();

    QDoubleSpinBox *ahead = addSpinBox(bar, QStringLiteral("prediction"),
                                       QStringLiteral(" Predict ms "), 0, 100, 4);
    ahead->setToolTip(QStringLiteral("Ink drawn ahead of the pen, in milliseconds (0: none)"));
    ahead->setValue(pad->prediction());
    connect(ahead, QOverload<double>::of(&QDoubleSpinBox::valueChanged), pad,
            &PadCanvas::setPrediction);
    QAction *showAhead = bar->addAction(QStringLiteral("Show prediction"), pad,
                                        &PadCanvas::setShowPredicted);
    showAhead->setCheckable(true);
    showAhead->setShortcut(QKeySequence(QStringLiteral("P")));
    showAhead->setToolTip(QStringLiteral("Paint the ink ahead of the pen in orange (P)"));
    QAction *rects = bar->addAction(QStringLiteral("Show repaints"), pad,
                                    &PadCanvas::setShowRepaints);
    rects->setCheckable(true);
    rects->setToolTip(QStringLiteral("Outline the rectangles the engine reported"));
}

void PadWindow::buildMenus()
{
    // Qt 5 and Qt 6 take the shortcut at different places in addAction; set it apart.
    auto add = [&](QMenu *menu, const QString &text, auto slot, const QKeySequence &shortcut) {
        QAction *action = menu->addAction(text, this, slot);
        action->setShortcut(shortcut);
        return action;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, QStringLiteral("&Open page..."), &PadWindow::askForPage, QKeySequence::Open);
    add(file, QStringLiteral("&Save page"), &PadWindow::save, QKeySequence::Save);
    add(file, QStringLiteral("Save page &as..."), &PadWindow::askWhereToSave,
        QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    file->addSeparator();
    add(file, QStringLiteral("&Replay recording..."), &PadWindow::askForRecording,
        QKeySequence(QStringLiteral("Ctrl+R")));
    add(file, QStringLiteral("&Export as SVG or PNG..."), &PadWindow::askWhereToExport,
        QKeySequence(QStringLiteral("Ctrl+E")));
    file->addSeparator();
    add(file, QStringLiteral("&Quit"), &QWidget::close, QKeySequence::Quit);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    undoAction = add(edit, QStringLiteral("&Undo"), [this] { pad->undo(); },
                     QKeySequence(QStringLiteral("Ctrl+Z")));
    redoAction = add(edit, QStringLiteral("&Redo"), [this] { pad->redo(); },
                     QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    clearAction = add(edit, QStringLiteral("&Clear"), [this] { pad->clear(); }, QKeySequence());
}

void PadWindow::updateActions()
{
    undoAction->setEnabled(pad->page().canUndo());
    redoAction->setEnabled(pad->page().canRedo());
    clearAction->setEnabled(pad->page().count() > 0);
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

std::string PadWindow::exportTo(const QString &path)
{
    return exportPad(pad->page(), pad->size(), path);
}

std::string PadWindow::openArgument(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        setPageFile(path);
        return std::string();
    }
    const OxStorageError error = pad->openPage(path);
    if (error.kind == OxStorageError::kNotAPage)
        return replayFile(path);
    if (error.ok())
        setPageFile(path);
    return error.ok() ? std::string() : pageError(error, path);
}

std::string PadWindow::openPage(const QString &path)
{
    const OxStorageError error = pad->openPage(path);
    if (!error.ok())
        return pageError(error, path);
    setPageFile(path);
    return std::string();
}

std::string PadWindow::savePage(const QString &path)
{
    const OxStorageError error = OxPageFile::save(pad->page(), path);
    if (!error.ok())
        return pageError(error, path);
    setPageFile(path);
    return std::string();
}

void PadWindow::setPageFile(const QString &path)
{
    pagePath = path;
    setWindowTitle(QStringLiteral("%1 - quillmark-pad").arg(QFileInfo(path).fileName()));
}

void PadWindow::askForPage()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open a page"),
                                                      pagePath, kPageFilter);
    if (!path.isEmpty())
        report(openPage(path), QStringLiteral("Opened %1").arg(path));
}

void PadWindow::save()
{
    if (pagePath.isEmpty())
        askWhereToSave();
    else
        report(savePage(pagePath), QStringLiteral("Saved %1").arg(pagePath));
}

void PadWindow::askWhereToSave()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save the page"),
                                                pagePath.isEmpty() ? QStringLiteral("page.qmk")
                                                                   : pagePath,
                                                kPageFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".qmk");
    report(savePage(path), QStringLiteral("Saved %1").arg(path));
}

void PadWindow::askForRecording()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Replay recorded strokes"), QString(),
        QStringLiteral("Recorded strokes (*.txt);;All files (*)"));
    if (!path.isEmpty())
        report(replayFile(path), QStringLiteral("Replaying %1").arg(path));
}

void PadWindow::askWhereToExport()
{
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export the drawing"),
                                                QStringLiteral("drawing.svg"),
                                                QStringLiteral("SVG (*.svg);;PNG (*.png)"),
                                                &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += filter.startsWith(QStringLiteral("PNG")) ? QStringLiteral(".png")
                                                         : QStringLiteral(".svg");
    report(exportTo(path), QStringLiteral("Exported %1").arg(path));
}

void PadWindow::report(const std::string &error, const QString &success)
{
    statusBar()->showMessage(error.empty() ? success : QString::fromStdString(error));
}
