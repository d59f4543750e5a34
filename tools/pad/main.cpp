// quillmark-pad: draw with the stroke engines, with the mouse or a tablet pen.
// Usage: quillmark-pad [page.qmk | recorded-strokes.txt]
//   A page file is opened, and a path with no file becomes the file of a new page (Ctrl+S
//   saves it); a text stroke file is replayed at its recorded speed.

#include "PadWindow.h"

#include <QApplication>
#include <QStatusBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    PadWindow window;
    const QStringList args = app.arguments();
    if (args.size() > 1) {
        const std::string error = window.openArgument(args.at(1));
        if (!error.empty())
            window.statusBar()->showMessage(QString::fromStdString(error));
    }
    window.show();
    return app.exec();
}
