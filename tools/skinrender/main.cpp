// kestrova-skinrender: draws every picture of the skin list from its SVG source into the
// program's skin folder, copies the scalable sources the list names and removes pictures the
// list no longer has.
//   kestrova-skinrender <picture list> <source folder> <output folder>
#include "tools/skinrender/PictureList.h"
#include "tools/skinrender/SvgRasteriser.h"
#include "tools/skinrender/SvgTemplate.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <exception>
#include <iostream>
#include <set>
#include <stdexcept>

namespace {

using namespace kestrova::skinrender;

std::set<QString> UniqueOutputs(const TPictureList& list) {
    std::set<QString> outputs;
    auto claim = [&outputs](const QString& output) {
        if (!outputs.insert(QDir::cleanPath(output)).second)
            throw std::runtime_error("two entries write " + output.toStdString());
    };
    for (const TPictureJob& job : list.Pictures) claim(job.Output);
    for (const TCopyJob& job : list.Copies) claim(job.Output);
    return outputs;
}

// A picture dropped from the list leaves the skin folder too, so that nothing loads a stale one.
void RemoveUnlisted(const QDir& outputFolder, const std::set<QString>& outputs) {
    QDirIterator files(outputFolder.path(), {QStringLiteral("*.png"), QStringLiteral("*.svg")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (!outputs.count(QDir::cleanPath(outputFolder.relativeFilePath(path)))) QFile::remove(path);
    }
}

QString PreparedPath(const QDir& outputFolder, const QString& output) {
    const QString path = outputFolder.filePath(output);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw std::runtime_error("cannot create the folder of " + path.toStdString());
    return path;
}

void DrawPicture(const TPictureJob& job, const QDir& sourceFolder, const QDir& outputFolder) {
    const QString svg = ExpandTemplate(ReadSourceFile(sourceFolder, job.Source), job, sourceFolder);
    const QImage picture = RasteriseSvg(svg, job.Size, job.Output);
    const QString path = PreparedPath(outputFolder, job.Output);
    if (!picture.save(path, "PNG")) throw std::runtime_error("cannot write " + path.toStdString());
}

void CopySource(const TCopyJob& job, const QDir& sourceFolder, const QDir& outputFolder) {
    const QString path = PreparedPath(outputFolder, job.Output);
    QFile::remove(path);
    if (!QFile::copy(sourceFolder.filePath(job.Source), path))
        throw std::runtime_error("cannot copy " + job.Source.toStdString() + " to " + path.toStdString());
}

int Run(const QStringList& args) {
    if (args.size() != 4) {
        std::cerr << "usage: kestrova-skinrender <picture list> <source folder> <output folder>\n";
        return 2;
    }
    const QDir sourceFolder(args[2]);
    const QDir outputFolder(QDir(args[3]).absolutePath());
    const TPictureList list = ParsePictureList(ReadSourceFile(QDir(), args[1]), args[1]);
    const std::set<QString> outputs = UniqueOutputs(list);
    for (const TPictureJob& job : list.Pictures) DrawPicture(job, sourceFolder, outputFolder);
    for (const TCopyJob& job : list.Copies) CopySource(job, sourceFolder, outputFolder);
    RemoveUnlisted(outputFolder, outputs);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A build step never needs a screen: fonts and drawing work off screen the same way.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    try {
        return Run(QGuiApplication::arguments());
    } catch (const std::exception& error) {
        std::cerr << "kestrova-skinrender: " << error.what() << "\n";
        return 1;
    }
}
