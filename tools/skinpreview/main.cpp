// kestrova-skinpreview <output folder>: draws mock-ups of the skinned windows from the skin
// pictures beside this program (its folder is the program folder) into the output folder.
#include "tools/skinpreview/MockDialogs.h"
#include "tools/skinpreview/MockMainWindow.h"
#include "tools/skinpreview/MockPicker.h"
#include "tools/skinpreview/PictureSheets.h"

#include <QApplication>
#include <QFont>
#include <QPainter>

#include <exception>
#include <iostream>
#include <stdexcept>

namespace kestrova::skinpreview {

QPixmap TPreviewContext::MainPicture(const QString& name) const {
    return QPixmap(ProgramFolder + QStringLiteral("skin/main/") + name);
}

QPixmap TPreviewContext::IconPicture(const QString& name) const {
    return QPixmap(ProgramFolder + QStringLiteral("skin/icon/") + name);
}

void TPreviewContext::Save(const QPixmap& picture, const QString& name) const {
    const QString path = OutputFolder.filePath(name);
    if (!picture.save(path, "PNG")) throw std::runtime_error("cannot write " + path.toStdString());
    std::cout << path.toStdString() << "\n";
}

}  // namespace kestrova::skinpreview

int main(int argc, char** argv) {
    using namespace kestrova::skinpreview;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::cerr << "usage: kestrova-skinpreview <output folder>\n";
        return 2;
    }
    try {
        TPreviewContext context{QApplication::applicationDirPath() + u'/', QDir(args[1])};
        if (!QDir().mkpath(args[1])) throw std::runtime_error("cannot create " + args[1].toStdString());
        RenderMainWindowMocks(context);
        RenderDialogMocks(context);
        RenderPickerMock(context);
        RenderPictureSheets(context);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "kestrova-skinpreview: " << error.what() << "\n";
        return 1;
    }
}
