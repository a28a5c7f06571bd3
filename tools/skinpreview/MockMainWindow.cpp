#include "tools/skinpreview/MockMainWindow.h"

#include "ui/skin/CoolSB.h"
#include "ui/skin/ListViewEx.h"
#include "ui/skin/SkinHeader.h"
#include "ui/skin/SkinPalette.h"
#include "ui/skin/SkinPictures.h"
#include "ui/skin/XGraphic.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>

#include <map>
#include <memory>

namespace kestrova::skinpreview {

namespace {

struct TButtonPlace {
    QLatin1String Stem;
    QPoint Place;
};

const TButtonPlace kButtons[] = {
        {skin::kButtonAdd, {1, 21}},       {skin::kButtonRemove, {81, 21}},
        {skin::kButtonClear, {161, 21}},   {skin::kButtonOptions, {241, 21}},
        {skin::kButtonHelp, {321, 21}},    {skin::kButtonDownload, {401, 21}},
        {skin::kButtonStart, {400, 100}},  {skin::kButtonStop, {460, 100}},
        {skin::kButtonPause, {520, 100}},  {skin::kButtonUp, {580, 100}},
        {skin::kButtonDown, {640, 100}},   {skin::kButtonLocation, {700, 100}},
        {skin::kButtonMinimise, {756, 0}}, {skin::kButtonClose, {778, 0}},
};

struct TRow {
    const char* Input;
    const char* TotalTime;
    const char* FileSize;
    const char* Output;
    const char* OutputDuration;
    const char* OutputSize;
    const char* Status;
};

const TRow kRows[] = {
        {"harbour-timelapse.flv", "0:03:12", "48.20MB", "harbour-timelapse.mp4", "0:03:12", "31.75MB",
         "Completed"},
        {"lecture-week3.mp4", "1:12:40", "612.88MB", "lecture-week3.avi", "0:41:05", "220.14MB", "56%"},
        {"band-live-encore.f4v", "0:07:55", "96.10MB", "band-live-encore.mp4", "0:02:10", "18.02MB", "27%"},
        {"podcast-episode-42.mp3", "0:58:03", "53.17MB", "podcast-episode-42.m4a", "", "", "Waiting"},
        {"kids-recital.flv", "0:24:18", "201.55MB", "kids-recital.mp4", "", "", "Waiting"},
        {"trailer-final.mp4", "0:02:31", "88.40MB", "trailer-final.wmv", "", "", "Waiting"},
        {"voice-memo-0612.wav", "0:04:47", "48.31MB", "voice-memo-0612.mp3", "", "", "Waiting"},
        {"interview-raw.flv", "0:36:09", "310.02MB", "interview-raw.mp4", "", "", "Waiting"},
        {"city-walk-4k.mp4", "0:12:44", "1802.66MB", "city-walk-4k.mp4", "", "", "Waiting"},
        {"radio-show.wma", "1:58:30", "108.47MB", "radio-show.mp3", "", "", "Waiting"},
        {"cooking-basics.flv", "0:19:02", "160.90MB", "cooking-basics.mp4", "", "", "Waiting"},
        {"drone-coast.f4v", "0:06:41", "142.03MB", "drone-coast.mp4", "", "", "Waiting"},
        {"meeting-notes.wav", "0:47:12", "476.66MB", "meeting-notes.mp3", "", "", "Waiting"},
        {"match-highlights.mp4", "0:09:27", "204.18MB", "match-highlights.3gp", "", "", "Waiting"},
        {"guitar-lesson-5.flv", "0:15:36", "121.40MB", "guitar-lesson-5.mp4", "", "", "Waiting"},
        {"birthday-party.mp4", "0:22:50", "390.71MB", "birthday-party.avi", "", "", "Waiting"},
        {"news-clip.flv", "0:01:58", "14.62MB", "news-clip.mp4", "", "", "Waiting"},
        {"audiobook-ch01.mp3", "0:42:19", "38.75MB", "audiobook-ch01.wav", "", "", "Waiting"},
        {"skate-park.f4v", "0:03:48", "61.30MB", "skate-park.mp4", "", "", "Waiting"},
        {"concert-clip.wma", "0:05:26", "5.20MB", "concert-clip.mp3", "", "", "Waiting"},
};

// The mock window: background, title, buttons, list and status line, as the main window
// places them.
class TMockWindow {
public:
    explicit TMockWindow(const TPreviewContext& context);

    QWidget& Window() { return *FWindow; }
    TXGraphic& Button(QLatin1String stem);
    TListViewEx& List() { return *FList; }
    QLabel& StartPanel() { return *FStartPanel; }

private:
    void AddButtons(const TPreviewContext& context);
    void AddList(const TPreviewContext& context);
    void AddStatusLine();

    std::unique_ptr<QWidget> FWindow;
    std::map<QString, TXGraphic*> FButtons;
    TListViewEx* FList = nullptr;
    QLabel* FStartPanel = nullptr;
};

TMockWindow::TMockWindow(const TPreviewContext& context) : FWindow(std::make_unique<QWidget>()) {
    FWindow->setFixedSize(800, 500);
    auto* background = new QLabel(FWindow.get());
    background->setPixmap(context.MainPicture(skin::kMainBackground));
    background->setGeometry(0, 0, 800, 500);
    auto* title = new QLabel(QStringLiteral("Orvanta Kestrova 3.0"), FWindow.get());
    QFont titleFont(QStringLiteral("Tahoma"), 8);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: white"));
    title->move(27, 4);
    title->adjustSize();
    AddButtons(context);
    AddList(context);
    AddStatusLine();
    FStartPanel = new QLabel(FWindow.get());
    FStartPanel->setPixmap(context.MainPicture(skin::kStartPanel));
    FStartPanel->setGeometry(25, 146, 752, 312);
}

void TMockWindow::AddButtons(const TPreviewContext& context) {
    for (const TButtonPlace& place : kButtons) {
        auto* button = new TXGraphic(FWindow.get());
        button->SetAutoSize(true);
        skin::ApplyButtonPictures(*button, skin::LoadButtonPictures(context.ProgramFolder, place.Stem));
        button->move(place.Place);
        FButtons[place.Stem] = button;
    }
}

void TMockWindow::AddList(const TPreviewContext& context) {
    FList = new TListViewEx(FWindow.get());
    FList->setGeometry(24, 145, 754, 314);
    FList->setFrameShape(QFrame::NoFrame);
    FList->setPalette(skin::QueueListPalette(FList->palette()));
    FList->setAlternatingRowColors(true);
    FList->SetRowHeight(skin::kListRowHeight);
    auto* header = new TSkinHeader(context.MainPicture(skin::kHeaderStrip), FList);
    header->Attach(*FList->header());
    auto* bars = new TCoolSB(context.MainPicture(skin::kScrollBarStrip), kQueueStripCells, FList);
    bars->Attach(*FList);
    FList->setHeaderLabels({QStringLiteral("Input"), QStringLiteral("Total Time"),
                            QStringLiteral("File Size"), QStringLiteral("Output"),
                            QStringLiteral("Output Duration"), QStringLiteral("Output Size"),
                            QStringLiteral("Status"), QStringLiteral("Settings")});
    const int widths[] = {150, 68, 76, 156, 90, 80, 80, 63};
    for (int column = 0; column < 8; ++column) FList->header()->resizeSection(column, widths[column]);
    for (const TRow& row : kRows) {
        auto* item = new QTreeWidgetItem(FList);
        const char* texts[] = {row.Input,          row.TotalTime,  row.FileSize, row.Output,
                               row.OutputDuration, row.OutputSize, row.Status,   "Setting"};
        for (int column = 0; column < 8; ++column) item->setText(column, QString::fromLatin1(texts[column]));
        item->setForeground(7, QColor(0xFF, 0xB0, 0x61));
    }
    FList->setCurrentItem(FList->topLevelItem(1));
}

void TMockWindow::AddStatusLine() {
    auto* shutDown = new QCheckBox(
            QStringLiteral(" Automatically shutdown the computer when conversion finished"), FWindow.get());
    QPalette palette = shutDown->palette();
    palette.setColor(QPalette::WindowText, QColor(skin::kMutedText));
    shutDown->setPalette(palette);
    shutDown->adjustSize();
    auto* meter = new QLabel(QStringLiteral("CPU:   23%"), FWindow.get());
    meter->setStyleSheet(QStringLiteral("color: #5BD68A"));
    meter->adjustSize();
    // Both at the right edge, the check box left of the meter, whatever width the font gives.
    meter->move(FWindow->width() - meter->width() - 10, 467);
    shutDown->move(meter->x() - shutDown->width() - 16, 464);
}

TXGraphic& TMockWindow::Button(QLatin1String stem) {
    return *FButtons.at(stem);
}

void Hover(TXGraphic& button) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&button, &enter);
}

void Press(TXGraphic& button) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), button.mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &press);
}

}  // namespace

void RenderMainWindowMocks(const TPreviewContext& context) {
    {
        TMockWindow start(context);
        start.List().clear();
        for (QLatin1String stem : {skin::kButtonRemove, skin::kButtonClear, skin::kButtonStart,
                                   skin::kButtonStop, skin::kButtonPause, skin::kButtonUp, skin::kButtonDown})
            start.Button(stem).SetEnabled(false);
        Hover(start.Button(skin::kButtonAdd));
        context.Save(start.Window().grab(), QStringLiteral("main-start.png"));
    }
    {
        TMockWindow running(context);
        running.StartPanel().hide();
        for (QLatin1String stem : {skin::kButtonAdd, skin::kButtonRemove, skin::kButtonClear,
                                   skin::kButtonStart, skin::kButtonUp, skin::kButtonDown})
            running.Button(stem).SetEnabled(false);
        Hover(running.Button(skin::kButtonPause));
        Press(running.Button(skin::kButtonOptions));
        context.Save(running.Window().grab(), QStringLiteral("main-queue.png"));
    }
}

}  // namespace kestrova::skinpreview
