// The skinned header, scroll bars, combo box and drop button: each part and state is cut from
// the right place of its strip picture. The strips here are synthetic, one colour per cell,
// so a sampled pixel tells which cell was drawn.
#include "ui/skin/CoolSB.h"
#include "ui/skin/ListViewEx.h"
#include "ui/skin/SkinComboBox.h"
#include "ui/skin/SkinDropButton.h"
#include "ui/skin/SkinHeader.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace kestrova {
namespace {

QRgb CellColour(int position) {
    return qRgb(position % 256, 255 - position % 256, 40 + position / 256 * 100);
}

// Each case shows its window with the pointer elsewhere, so nothing starts out hovered.
void ShowAwayFromThePointer(QWidget& host) {
    QCursor::setPos(2000, 2000);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
}

QRgb PixelOf(QWidget& widget, QPoint point) {
    return widget.grab().toImage().pixel(point) | 0xFF000000;
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

QPixmap ScrollStrip() {
    QPixmap strip(272, kStripCell);
    QPainter painter(&strip);
    for (int x = 0; x < 204; x += kStripCell)
        painter.fillRect(x, 0, kStripCell, kStripCell, QColor(CellColour(x)));
    for (int x = 204; x < 244; x += kHorizontalSlice)
        painter.fillRect(x, 0, kHorizontalSlice, kStripCell, QColor(CellColour(x)));
    painter.fillRect(244, 0, 28, kStripCell, QColor(CellColour(244)));
    return strip;
}

enum class TBarAction { None, HoldAddArrow, HoldSubArrow, HoldAddPage, HoverThumb };

struct TBarCase {
    const char* Name;
    Qt::Orientation Orientation;
    TBarAction Action;
    QPoint Sample;  // in the bar
    int Cell;
};

constexpr int kBarLength = 200;
constexpr TScrollStripCells C = kQueueStripCells;

const TBarCase kBarCases[] = {
        {"UpArrow", Qt::Vertical, TBarAction::None, {8, 8}, C.ArrowUp},
        {"UpArrowIsSeventeenHigh", Qt::Vertical, TBarAction::None, {8, 16}, C.ArrowUp},
        {"ThumbStartsAfterTheArrow", Qt::Vertical, TBarAction::None, {8, 17}, C.VerticalThumb},
        {"DownArrow", Qt::Vertical, TBarAction::None, {8, kBarLength - 8}, C.ArrowDown},
        {"PageArea", Qt::Vertical, TBarAction::None, {8, 150}, C.VerticalPage},
        {"DownArrowPressed", Qt::Vertical, TBarAction::HoldAddArrow, {8, kBarLength - 8}, C.ArrowDownPressed},
        {"UpArrowPressed", Qt::Vertical, TBarAction::HoldSubArrow, {8, 8}, C.ArrowUpPressed},
        {"PageAreaPressed", Qt::Vertical, TBarAction::HoldAddPage, {8, 150}, C.VerticalPageActive},
        {"ThumbUnderThePointer", Qt::Vertical, TBarAction::HoverThumb, {8, 30}, C.VerticalThumbActive},
        {"LeftArrow", Qt::Horizontal, TBarAction::None, {8, 8}, C.ArrowLeft},
        {"RightArrow", Qt::Horizontal, TBarAction::None, {kBarLength - 8, 8}, C.ArrowRight},
        {"HorizontalThumb", Qt::Horizontal, TBarAction::None, {30, 8}, C.HorizontalThumb},
        {"HorizontalPage", Qt::Horizontal, TBarAction::None, {150, 8}, C.HorizontalPage},
        {"RightArrowPressed",
         Qt::Horizontal,
         TBarAction::HoldAddArrow,
         {kBarLength - 8, 8},
         C.ArrowRightPressed},
        {"LeftArrowPressed", Qt::Horizontal, TBarAction::HoldSubArrow, {8, 8}, C.ArrowLeftPressed},
        {"HorizontalPagePressed", Qt::Horizontal, TBarAction::HoldAddPage, {150, 8}, C.HorizontalPageActive},
        {"HorizontalThumbUnderThePointer",
         Qt::Horizontal,
         TBarAction::HoverThumb,
         {30, 8},
         C.HorizontalThumbActive},
};

void PrintTo(const TBarCase& bar, std::ostream* out) {
    *out << bar.Name;
}

class CoolSBTest : public ::testing::TestWithParam<TBarCase> {};

TEST_P(CoolSBTest, DrawsEachPartFromItsCell) {
    const TBarCase& bar = GetParam();
    const bool horizontal = bar.Orientation == Qt::Horizontal;
    auto along = [horizontal](int a, int b) { return horizontal ? QPoint(a, b) : QPoint(b, a); };
    QWidget host;
    host.resize(260, 260);
    TCoolSB style(ScrollStrip(), kQueueStripCells);
    auto* scrollBar = new QScrollBar(bar.Orientation, &host);
    scrollBar->setStyle(&style);
    scrollBar->setRange(0, 100);
    scrollBar->setPageStep(20);
    scrollBar->setGeometry(QRect(QPoint(10, 10),
                                 horizontal ? QSize(kBarLength, kStripCell) : QSize(kStripCell, kBarLength)));
    ShowAwayFromThePointer(host);
    EXPECT_EQ(horizontal ? scrollBar->sizeHint().height() : scrollBar->sizeHint().width(), kStripCell);

    switch (bar.Action) {
        case TBarAction::None:
            break;
        case TBarAction::HoldAddArrow:
            QTest::mousePress(scrollBar, Qt::LeftButton, {}, along(kBarLength - 8, 8));
            break;
        case TBarAction::HoldSubArrow:
            scrollBar->setValue(50);
            QTest::mousePress(scrollBar, Qt::LeftButton, {}, along(8, 8));
            break;
        case TBarAction::HoldAddPage:
            QTest::mousePress(scrollBar, Qt::LeftButton, {}, along(150, 8));
            break;
        case TBarAction::HoverThumb:
            QTest::mouseMove(scrollBar, along(25, 8));
            QTest::mouseMove(scrollBar, along(30, 8));
            break;
    }
    const QRgb sampled = PixelOf(*scrollBar, bar.Sample);
    if (bar.Action == TBarAction::HoldAddArrow || bar.Action == TBarAction::HoldSubArrow ||
        bar.Action == TBarAction::HoldAddPage)
        QTest::mouseRelease(scrollBar, Qt::LeftButton, {}, along(8, 8));
    EXPECT_EQ(sampled, CellColour(bar.Cell)) << "expected the cell at x " << bar.Cell;
}

INSTANTIATE_TEST_SUITE_P(Parts, CoolSBTest, ::testing::ValuesIn(kBarCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(CoolSBAttach, ListBarsTakeTheStripThicknessAndTheCornerIsFilled) {
    QWidget host;
    host.resize(320, 240);
    auto* list = new TListViewEx(&host);
    list->setGeometry(0, 0, 300, 200);
    list->setFrameShape(QFrame::NoFrame);
    list->setHeaderLabels({QStringLiteral("Input"), QStringLiteral("Output")});
    list->header()->resizeSection(0, 300);
    list->header()->resizeSection(1, 300);
    for (int row = 0; row < 50; ++row) new QTreeWidgetItem(list, {QStringLiteral("a"), QStringLiteral("b")});
    TCoolSB style(ScrollStrip(), kQueueStripCells, list);
    style.Attach(*list);
    ShowAwayFromThePointer(host);
    EXPECT_EQ(list->verticalScrollBar()->width(), kStripCell);
    EXPECT_EQ(list->horizontalScrollBar()->height(), kStripCell);
    EXPECT_EQ(PixelOf(*list, QPoint(300 - 8, 200 - 8)), CellColour(kQueueStripCells.Corner));
}

// ---------------------------------------------------------------------------------------------
// Header

// Each 40-pixel cell: a 2-pixel left edge, a body and a 3-pixel divider, in colours of their own.
QRgb HeaderColour(int cell, int part) {
    return qRgb(60 + cell * 60, 30 + part * 70, 200);
}

QPixmap HeaderStrip() {
    QPixmap strip(120, 18);
    QPainter painter(&strip);
    for (int cell = 0; cell < 3; ++cell) {
        const int left = cell * TSkinHeader::kCellWidth;
        painter.fillRect(left, 0, 2, 18, QColor(HeaderColour(cell, 0)));
        painter.fillRect(left + 2, 0, TSkinHeader::kCellWidth - 5, 18, QColor(HeaderColour(cell, 1)));
        painter.fillRect(left + TSkinHeader::kCellWidth - 3, 0, 3, 18, QColor(HeaderColour(cell, 2)));
    }
    return strip;
}

enum class THeaderAction { None, HoverSecond, HoldThird };

struct THeaderCase {
    const char* Name;
    THeaderAction Action;
    int X;
    int Cell;
    int Part;  // 0 left edge, 1 body, 2 divider
};

// Sections: 0..79, 80..179, 180..239; empty area beyond.
const THeaderCase kHeaderCases[] = {
        {"LeftEdge", THeaderAction::None, 0, 0, 0},
        {"BodyStretches", THeaderAction::None, 40, 0, 1},
        {"BodyEndsBeforeTheDivider", THeaderAction::None, 76, 0, 1},
        {"DividerKeepsItsWidth", THeaderAction::None, 77, 0, 2},
        {"DividerAtTheSectionEnd", THeaderAction::None, 79, 0, 2},
        {"HotSection", THeaderAction::HoverSecond, 130, 1, 1},
        {"OtherSectionsStayNormal", THeaderAction::HoverSecond, 40, 0, 1},
        {"PressedSection", THeaderAction::HoldThird, 210, 2, 1},
        {"EmptyAreaHasNoDivider", THeaderAction::None, 300, 0, 1},
};

void PrintTo(const THeaderCase& header, std::ostream* out) {
    *out << header.Name;
}

class SkinHeaderTest : public ::testing::TestWithParam<THeaderCase> {};

TEST_P(SkinHeaderTest, DrawsSectionsFromTheStrip) {
    const THeaderCase& sample = GetParam();
    QWidget host;
    host.resize(360, 120);
    auto* list = new TListViewEx(&host);
    list->setGeometry(0, 0, 340, 100);
    list->setHeaderLabels({QString(), QString(), QString()});
    const int widths[] = {80, 100, 60};
    for (int column = 0; column < 3; ++column) list->header()->resizeSection(column, widths[column]);
    TSkinHeader style(HeaderStrip(), list);
    style.Attach(*list->header());
    ShowAwayFromThePointer(host);
    QWidget* header = list->header()->viewport();
    EXPECT_EQ(list->header()->height(), 18);

    if (sample.Action == THeaderAction::HoverSecond) {
        QTest::mouseMove(header, QPoint(125, 9));
        QTest::mouseMove(header, QPoint(130, 9));
    } else if (sample.Action == THeaderAction::HoldThird) {
        QTest::mousePress(header, Qt::LeftButton, {}, QPoint(210, 9));
    }
    const QRgb sampled = PixelOf(*header, QPoint(sample.X, 1));
    if (sample.Action == THeaderAction::HoldThird)
        QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(210, 9));
    EXPECT_EQ(sampled, HeaderColour(sample.Cell, sample.Part));
}

INSTANTIATE_TEST_SUITE_P(Sections, SkinHeaderTest, ::testing::ValuesIn(kHeaderCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---------------------------------------------------------------------------------------------
// Combo box and drop button faces

QRgb FaceBody(int state) {
    return qRgb(230, 40 + state * 50, 90);
}

QRgb FaceArrow(int state) {
    return qRgb(20, 40 + state * 50, 190);
}

QPixmap FaceStrip() {
    QPixmap strip(TSkinFace::kCellSize.width(), 4 * TSkinFace::kCellSize.height());
    QPainter painter(&strip);
    for (int state = 0; state < 4; ++state) {
        const int top = state * TSkinFace::kCellSize.height();
        painter.fillRect(0, top, 64 - TSkinFace::kArrowZoneWidth, 26, QColor(FaceBody(state)));
        painter.fillRect(64 - TSkinFace::kArrowZoneWidth, top, TSkinFace::kArrowZoneWidth, 26,
                         QColor(FaceArrow(state)));
    }
    return strip;
}

enum class TFaceAction {
    None,
    Hover,
    Hold,
    DrawnPressed,
    Disable,
    OpenList,
    CloseListByEscape,
    CloseListOutside
};

struct TFaceCase {
    const char* Name;
    bool DropButton;
    TFaceAction Action;
    TFaceState Expected;
};

const TFaceCase kFaceCases[] = {
        {"ComboNormal", false, TFaceAction::None, TFaceState::Normal},
        {"ComboHot", false, TFaceAction::Hover, TFaceState::Hot},
        {"ComboDrawnPressedForThePicker", false, TFaceAction::DrawnPressed, TFaceState::Pressed},
        {"ComboWithItsListOpen", false, TFaceAction::OpenList, TFaceState::Pressed},
        {"ComboWithItsListClosedByEscape", false, TFaceAction::CloseListByEscape, TFaceState::Normal},
        {"ComboWithItsListClosedByAClickOutside", false, TFaceAction::CloseListOutside, TFaceState::Normal},
        {"ComboDisabled", false, TFaceAction::Disable, TFaceState::Disabled},
        {"ButtonNormal", true, TFaceAction::None, TFaceState::Normal},
        {"ButtonHot", true, TFaceAction::Hover, TFaceState::Hot},
        {"ButtonHeld", true, TFaceAction::Hold, TFaceState::Pressed},
        {"ButtonDisabled", true, TFaceAction::Disable, TFaceState::Disabled},
};

void PrintTo(const TFaceCase& face, std::ostream* out) {
    *out << face.Name;
}

class SkinFaceTest : public ::testing::TestWithParam<TFaceCase> {};

TEST_P(SkinFaceTest, DrawsTheCellOfItsState) {
    const TFaceCase& face = GetParam();
    QWidget host;
    host.resize(260, 80);
    QWidget* control = nullptr;
    TSkinComboBox* combo = nullptr;
    if (face.DropButton) {
        auto* button = new TSkinDropButton(QString(), &host);
        button->SetFacePicture(FaceStrip());
        control = button;
    } else {
        combo = new TSkinComboBox(&host);
        combo->SetFacePicture(FaceStrip());
        combo->addItems({QString(), QString()});
        control = combo;
    }
    control->setGeometry(10, 10, 200, 26);
    ShowAwayFromThePointer(host);

    switch (face.Action) {
        case TFaceAction::None:
            break;
        case TFaceAction::Hover:
            QTest::mouseMove(control, QPoint(50, 12));
            QTest::mouseMove(control, QPoint(52, 12));
            break;
        case TFaceAction::Hold:
            QTest::mousePress(control, Qt::LeftButton, {}, QPoint(50, 12));
            break;
        case TFaceAction::DrawnPressed:
            combo->SetDrawnPressed(true);
            break;
        case TFaceAction::Disable:
            control->setEnabled(false);
            break;
        case TFaceAction::OpenList:
            combo->showPopup();
            break;
        case TFaceAction::CloseListByEscape:
            combo->showPopup();
            QTest::keyClick(combo->view(), Qt::Key_Escape);
            break;
        case TFaceAction::CloseListOutside:
            combo->showPopup();
            combo->view()->window()->close();  // what a click outside a popup does
            break;
    }
    const QRgb body = PixelOf(*control, QPoint(100, 13));
    const QRgb arrow = PixelOf(*control, QPoint(190, 13));
    if (face.Action == TFaceAction::Hold) QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(50, 12));
    if (face.Action == TFaceAction::OpenList) combo->hidePopup();
    const int state = static_cast<int>(face.Expected);
    EXPECT_EQ(body, FaceBody(state));
    EXPECT_EQ(arrow, FaceArrow(state));
}

INSTANTIATE_TEST_SUITE_P(States, SkinFaceTest, ::testing::ValuesIn(kFaceCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// The profile combo's face: the item's picture in (3,5)-(19,21) with the name from x 21, or
// the name alone from x 17.
struct TComboItemCase {
    const char* Name;
    bool WithPicture;
    int TextFrom;
};

const TComboItemCase kComboItemCases[] = {{"WithPicture", true, 21}, {"WithoutPicture", false, 17}};

void PrintTo(const TComboItemCase& item, std::ostream* out) {
    *out << item.Name;
}

class SkinComboItemTest : public ::testing::TestWithParam<TComboItemCase> {};

TEST_P(SkinComboItemTest, PlacesThePictureAndTheName) {
    const TComboItemCase& item = GetParam();
    QPixmap white(TSkinFace::kCellSize.width(), 4 * TSkinFace::kCellSize.height());
    white.fill(Qt::white);
    QPixmap red(32, 32);
    red.fill(Qt::red);
    TSkinComboBox combo;
    combo.SetFacePicture(white);
    combo.resize(240, 26);
    if (item.WithPicture)
        combo.addItem(QIcon(red), QStringLiteral("MMMM"));
    else
        combo.addItem(QStringLiteral("MMMM"));
    const QImage face = combo.grab().toImage();

    const auto isRed = [&](int x, int y) { return (face.pixel(x, y) | 0xFF000000) == qRgb(255, 0, 0); };
    EXPECT_EQ(isRed(11, 13), item.WithPicture);
    EXPECT_EQ(isRed(3, 5), item.WithPicture);
    EXPECT_EQ(isRed(18, 20), item.WithPicture);
    EXPECT_FALSE(isRed(2, 13));
    EXPECT_FALSE(isRed(19, 13));
    EXPECT_FALSE(isRed(11, 4));

    int firstText = -1;
    for (int x = 0; x < face.width() && firstText < 0; ++x) {
        for (int y = 0; y < face.height(); ++y) {
            if (qGray(face.pixel(x, y)) < 128 && !isRed(x, y)) {
                firstText = x;
                break;
            }
        }
    }
    EXPECT_GE(firstText, item.TextFrom);
    EXPECT_LE(firstText, item.TextFrom + 3);
}

INSTANTIATE_TEST_SUITE_P(Items, SkinComboItemTest, ::testing::ValuesIn(kComboItemCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kestrova
