// kestrova-screengrab OUT.png: writes the whole screen of the X display in $DISPLAY as a PNG
// file. Exits 0 when written.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrova-screengrab OUT.png\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "kestrova-screengrab: cannot grab the screen into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
