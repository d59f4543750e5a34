#include "OutputFile.h"

#include <QBuffer>
#include <QSaveFile>

std::string writeFileAtomically(const std::string &path, const QByteArray &bytes)
{
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return path + ": cannot write file: " + file.errorString().toStdString();
    return std::string();
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return QByteArray();
    return bytes;
}
