// The queue list's own events and queries: hit test, horizontal offset, divider tracking,
// dropped files and scrolling, driven by synthetic mouse, wheel and drag-and-drop events.
#include "ui/skin/CoolSB.h"
#include "ui/skin/ListViewEx.h"
#include "ui/skin/TrackingHeader.h"

#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace kestrova {
namespace {

constexpr int kRowHeight = 20;
const int kWidths[] = {100, 150, 200};

class ListViewExTest : public ::testing::Test {
protected:
    void MakeList(QSize size, int rows) {
        FHost.resize(size + QSize(40, 40));
        FList = new TListViewEx(&FHost);
        FList->setFrameShape(QFrame::NoFrame);
        FList->setGeometry(QRect(QPoint(10, 10), size));
        FList->SetRowHeight(kRowHeight);
        FList->setHeaderLabels(
                {QStringLiteral("Input"), QStringLiteral("Total Time"), QStringLiteral("Output")});
        for (int column = 0; column < 3; ++column) FList->header()->resizeSection(column, kWidths[column]);
        for (int row = 0; row < rows; ++row)
            new QTreeWidgetItem(FList, {QStringLiteral("clip%1.flv").arg(row), QStringLiteral("0:00:10"),
                                        QStringLiteral("clip%1.mp4").arg(row)});
        FHost.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&FHost));
    }

    QPoint Origin() const { return FList->viewport()->geometry().topLeft(); }
    static int ColumnLeft(int column) {
        int left = 0;
        for (int before = 0; before < column; ++before) left += kWidths[before];
        return left;
    }
    static int RowMiddle(int row) { return row * kRowHeight + kRowHeight / 2; }

    QWidget FHost;
    TListViewEx* FList = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Hit test

struct THitCase {
    const char* Name;
    int Scroll;    // horizontal scroll offset
    QPoint Point;  // in the viewport (below the header)
    int Row;       // expected; -1 = none
    int Column;    // expected column (sub-item + 1) when there is a row
};

constexpr int kBelowRows = 5 * kRowHeight + 4;

const THitCase kHitCases[] = {
        {"InsideTheCaptionColumn", 0, {50, 10}, 0, 0},
        {"SharedEdgeBelongsToTheLeftColumn", 0, {100, 30}, 1, 0},
        {"PastTheEdgeIsTheNextColumn", 0, {101, 30}, 1, 1},
        {"LastColumnIncludesItsRightEdge", 0, {450, 90}, 4, 2},
        {"PastTheLastColumnHitsNothing", 0, {451, 90}, -1, -1},
        {"BelowTheLastRowHitsNothing", 0, {50, kBelowRows}, -1, -1},
        {"ScrolledBy50TenPixelsInIsAt60", 50, {10, 50}, 2, 0},
        {"ScrolledBy50SixtyPixelsInIsAt110", 50, {60, 50}, 2, 1},
};

void PrintTo(const THitCase& hit, std::ostream* out) {
    *out << hit.Name;
}

class ListViewExHitTest : public ListViewExTest, public ::testing::WithParamInterface<THitCase> {};

TEST_P(ListViewExHitTest, FindsRowSubItemAndCell) {
    const THitCase& hit = GetParam();
    // Narrow enough to scroll 50 pixels, wide enough to reach past the last column unscrolled.
    MakeList(hit.Scroll ? QSize(300, 200) : QSize(520, 200), 5);
    FList->horizontalScrollBar()->setValue(hit.Scroll);
    ASSERT_EQ(FList->HorizontalScrollOffset(), hit.Scroll);

    const TListHit found = FList->HitTestAt(hit.Point + Origin());
    EXPECT_EQ(found.Row, hit.Row);
    if (hit.Row < 0) {
        EXPECT_EQ(found.SubItem, -1);
        EXPECT_TRUE(found.Cell.isEmpty());
        return;
    }
    EXPECT_EQ(found.SubItem, hit.Column - 1);
    const QRect cell(ColumnLeft(hit.Column) + Origin().x(), hit.Row * kRowHeight + Origin().y(),
                     kWidths[hit.Column], kRowHeight);
    EXPECT_EQ(found.Cell, cell);
}

INSTANTIATE_TEST_SUITE_P(Points, ListViewExHitTest, ::testing::ValuesIn(kHitCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// The queue places its in-place editor at the cell's left minus the scroll offset: that must
// cover the cell as drawn, however far the list is scrolled.
TEST_F(ListViewExTest, CellMinusTheOffsetCoversTheCellOnScreen) {
    MakeList(QSize(300, 200), 5);
    for (const int offset : {0, 37, FList->horizontalScrollBar()->maximum()}) {
        FList->horizontalScrollBar()->setValue(offset);
        for (int column = 0; column < 3; ++column) {
            const QModelIndex index = FList->model()->index(3, column);
            const QRect onScreen = FList->visualRect(index).translated(Origin());
            const QRect visiblePart = onScreen.intersected(FList->viewport()->geometry());
            if (visiblePart.isEmpty()) continue;
            const TListHit hit = FList->HitTestAt(visiblePart.center());
            EXPECT_EQ(hit.Row, 3);
            EXPECT_EQ(hit.SubItem, column - 1);
            EXPECT_EQ(hit.Cell.translated(-FList->HorizontalScrollOffset(), 0), onScreen)
                    << "offset " << offset << ", column " << column;
        }
    }
}

TEST_F(ListViewExTest, HitTestFollowsTheMouseCursor) {
    MakeList(QSize(520, 200), 5);
    const QPoint point = Origin() + QPoint(180, RowMiddle(2));
    QCursor::setPos(FList->mapToGlobal(point));
    const TListHit atCursor = FList->HitTest();
    EXPECT_EQ(atCursor.Row, 2);
    EXPECT_EQ(atCursor.SubItem, 0);
    EXPECT_EQ(atCursor.Cell, FList->HitTestAt(point).Cell);
}

// ---------------------------------------------------------------------------------------------
// Column divider tracking

struct TCaptionCase {
    const char* Name;
    int Position;
    const char* Text;
    QStringList Captions;
    int Expected;
};

const TCaptionCase kCaptionCases[] = {
        {"TextOfThePosition", 1, "Size", {"Input", "Size", "Size"}, 1},
        {"FirstColumnWithTheText", 0, "Size", {"Input", "Size", "Size"}, 1},
        {"NoColumnWithTheText", 2, "Status", {"Input", "Size", "Size"}, -1},
        {"PositionOutsideTheColumns", 5, "Input", {"Input", "Size"}, 0},
        {"CaptionsCompareExactly", 0, "input", {"Input", "Size"}, -1},
};

void PrintTo(const TCaptionCase& rule, std::ostream* out) {
    *out << rule.Name;
}

class ColumnByCaptionTest : public ::testing::TestWithParam<TCaptionCase> {};

TEST_P(ColumnByCaptionTest, FindsTheNotifiedColumn) {
    const TCaptionCase& rule = GetParam();
    EXPECT_EQ(ColumnIndexByCaption(rule.Position, QString::fromLatin1(rule.Text), rule.Captions),
              rule.Expected);
}

INSTANTIATE_TEST_SUITE_P(Captions, ColumnByCaptionTest, ::testing::ValuesIn(kCaptionCases),
                         [](const auto& info) { return std::string(info.param.Name); });

enum class TResize { Begin, Track, End };

struct TResizeEvent {
    TResize Kind;
    int Column;
    int Width;
    bool operator==(const TResizeEvent&) const = default;
};

struct TDragCase {
    const char* Name;
    int Section;
    int Grab;                // where the divider is taken, relative to it
    std::vector<int> Moves;  // pointer positions relative to the divider, in order
    int FinalWidth;          // -1: the header's minimum section size
};

const TDragCase kDragCases[] = {
        {"WideningTheFirstColumn", 0, 0, {10, 25, 40}, 140},
        {"NarrowingTheMiddleColumn", 1, 0, {-20, -60}, 90},
        {"TakenJustInsideItsSection", 1, -2, {8}, 160},
        {"TakenJustPastTheLastColumn", 2, 2, {12}, 210},
        {"BackWhereItStarted", 2, 0, {30, 0}, 200},
        {"NoNarrowerThanTheMinimum", 2, 0, {-195}, -1},
};

void PrintTo(const TDragCase& drag, std::ostream* out) {
    *out << drag.Name;
}

class ListViewExDragTest : public ListViewExTest, public ::testing::WithParamInterface<TDragCase> {};

TEST_P(ListViewExDragTest, RaisesBeginOnceTrackPerMoveEndOnceAndResizesOnRelease) {
    const TDragCase& drag = GetParam();
    MakeList(QSize(520, 200), 3);
    TTrackingHeader& header = *FList->TrackingHeader();
    const int minimum = header.minimumSectionSize();
    const int start = kWidths[drag.Section];
    std::vector<TResizeEvent> events;
    std::vector<int> widthsWhileTracking;
    QObject::connect(FList, &TListViewEx::OnBeginColumnResize, FList,
                     [&](TListViewEx*, int column, int width) {
                         events.push_back({TResize::Begin, column, width});
                     });
    QObject::connect(FList, &TListViewEx::OnColumnResize, FList, [&](TListViewEx*, int column, int width) {
        events.push_back({TResize::Track, column, width});
        widthsWhileTracking.push_back(header.sectionSize(drag.Section));
    });
    QObject::connect(FList, &TListViewEx::OnEndColumnResize, FList, [&](TListViewEx*, int column, int width) {
        events.push_back({TResize::End, column, width});
    });

    const int divider = header.sectionViewportPosition(drag.Section) + start;
    QTest::mousePress(header.viewport(), Qt::LeftButton, {}, QPoint(divider + drag.Grab, 5));
    std::vector<TResizeEvent> expected{{TResize::Begin, drag.Section, start}};
    for (const int move : drag.Moves) {
        QTest::mouseMove(header.viewport(), QPoint(divider + move, 5));
        expected.push_back({TResize::Track, drag.Section, std::max(minimum, start + move - drag.Grab)});
    }
    QTest::mouseRelease(header.viewport(), Qt::LeftButton, {}, QPoint(divider + drag.Moves.back(), 5));
    const int finalWidth = drag.FinalWidth < 0 ? minimum : drag.FinalWidth;
    expected.push_back({TResize::End, drag.Section, finalWidth});

    EXPECT_EQ(events, expected);
    EXPECT_EQ(widthsWhileTracking, std::vector<int>(drag.Moves.size(), start)) << "columns resize on release";
    EXPECT_EQ(header.sectionSize(drag.Section), finalWidth);
}

INSTANTIATE_TEST_SUITE_P(Dividers, ListViewExDragTest, ::testing::ValuesIn(kDragCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ListViewExTest, DraggingASectionAwayFromItsDividerResizesNothing) {
    MakeList(QSize(520, 200), 3);
    QSignalSpy begun(FList, &TListViewEx::OnBeginColumnResize);
    QSignalSpy ended(FList, &TListViewEx::OnEndColumnResize);
    QWidget* headerViewport = FList->header()->viewport();
    QTest::mousePress(headerViewport, Qt::LeftButton, {}, QPoint(160, 5));
    QTest::mouseMove(headerViewport, QPoint(200, 5));
    QTest::mouseRelease(headerViewport, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_EQ(begun.count(), 0);
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(FList->header()->sectionSize(1), kWidths[1]);
}

TEST_F(ListViewExTest, ADividerLineFollowsThePointerWhileHeld) {
    MakeList(QSize(520, 200), 3);
    QWidget* headerViewport = FList->header()->viewport();
    QTest::mousePress(headerViewport, Qt::LeftButton, {}, QPoint(100, 5));
    QTest::mouseMove(headerViewport, QPoint(130, 5));
    const auto visibleLines = [this] {
        std::vector<QWidget*> lines;
        for (QWidget* child : FList->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->isVisible() && child->width() <= 2 && child->height() > FList->header()->height())
                lines.push_back(child);
        }
        return lines;
    };
    const std::vector<QWidget*> held = visibleLines();
    ASSERT_EQ(held.size(), 1u);
    EXPECT_NEAR(held.front()->geometry().center().x(), FList->header()->mapTo(FList, QPoint(130, 0)).x(), 1);
    QTest::mouseRelease(headerViewport, Qt::LeftButton, {}, QPoint(130, 5));
    EXPECT_TRUE(visibleLines().empty());
}

// ---------------------------------------------------------------------------------------------
// Dropped files

struct TDropCase {
    const char* Name;
    QByteArray UriList;  // empty: a plain text drag
    bool Accepted;
    QString FileName;
};

const QString kLongFolder = QStringLiteral("/tmp/") + QString(240, u'x');

const TDropCase kDropCases[] = {
        {"OneFile", "file:///home/ana/clip.flv\r\n", true, QStringLiteral("/home/ana/clip.flv")},
        {"TwoFilesGiveTheFirst", "file:///home/ana/a.flv\r\nfile:///home/ana/b.mp4\r\n", true,
         QStringLiteral("/home/ana/a.flv")},
        {"RemoteAddressesArePassedOver", "https://example.org/v.flv\r\nfile:///home/ana/c.mp3\r\n", true,
         QStringLiteral("/home/ana/c.mp3")},
        {"OnlyRemoteAddressesAreRefused", "https://example.org/v.flv\r\n", false, {}},
        {"EscapedNamesAreDecoded", "file:///home/ana/Holiday%20Clips/M%C3%BCnchen.flv\r\n", true,
         QStringLiteral("/home/ana/Holiday Clips/M\u00FCnchen.flv")},
        {"LongNamesStayWhole",
         (QStringLiteral("file://") + kLongFolder + QStringLiteral("/clip.wav\r\n")).toUtf8(), true,
         kLongFolder + QStringLiteral("/clip.wav")},
        {"PlainTextIsRefused", {}, false, {}},
};

void PrintTo(const TDropCase& drop, std::ostream* out) {
    *out << drop.Name;
}

class ListViewExDropTest : public ListViewExTest, public ::testing::WithParamInterface<TDropCase> {};

TEST_P(ListViewExDropTest, RaisesOneDropFileWithTheFirstLocalFile) {
    const TDropCase& drop = GetParam();
    MakeList(QSize(520, 200), 2);
    QMimeData data;
    if (drop.UriList.isEmpty())
        data.setText(QStringLiteral("/home/ana/clip.flv"));
    else
        data.setData(QStringLiteral("text/uri-list"), drop.UriList);
    QSignalSpy dropped(FList, &TListViewEx::OnDropFile);
    QWidget* target = FList->viewport();
    const QPoint at(40, 30);

    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_EQ(enter.isAccepted(), drop.Accepted);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    EXPECT_EQ(move.isAccepted(), drop.Accepted);
    QDropEvent release(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);

    if (!drop.Accepted) {
        EXPECT_EQ(dropped.count(), 0);
        return;
    }
    EXPECT_TRUE(release.isAccepted());
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.front().at(0).value<TListViewEx*>(), FList);
    EXPECT_EQ(dropped.front().at(1).toString(), drop.FileName);
}

INSTANTIATE_TEST_SUITE_P(Drops, ListViewExDropTest, ::testing::ValuesIn(kDropCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// ---------------------------------------------------------------------------------------------
// Scrolling

enum class TScrollAction {
    VerticalArrow,
    VerticalPage,
    VerticalThumbDrag,
    HorizontalArrow,
    Wheel,
    Programmatic
};

struct TScrollCase {
    const char* Name;
    TScrollAction Action;
    bool Raised;
};

const TScrollCase kScrollCases[] = {
        {"VerticalArrow", TScrollAction::VerticalArrow, true},
        {"VerticalPageArea", TScrollAction::VerticalPage, true},
        {"VerticalThumbDragged", TScrollAction::VerticalThumbDrag, true},
        {"HorizontalArrow", TScrollAction::HorizontalArrow, true},
        {"MouseWheel", TScrollAction::Wheel, true},
        {"ScrolledByTheProgram", TScrollAction::Programmatic, false},
};

void PrintTo(const TScrollCase& scroll, std::ostream* out) {
    *out << scroll.Name;
}

class ListViewExScrollTest : public ListViewExTest, public ::testing::WithParamInterface<TScrollCase> {};

TEST_P(ListViewExScrollTest, RaisesOnScrollBeforeTheListMoves) {
    const TScrollCase& scroll = GetParam();
    MakeList(QSize(300, 200), 60);
    QPixmap strip(272, 17);
    strip.fill(Qt::gray);
    TCoolSB bars(strip, kQueueStripCells);
    bars.Attach(*FList);
    QScrollBar* vertical = FList->verticalScrollBar();
    QScrollBar* horizontal = FList->horizontalScrollBar();
    QScrollBar* moved = scroll.Action == TScrollAction::HorizontalArrow ? horizontal : vertical;
    ASSERT_TRUE(vertical->isVisible());
    ASSERT_TRUE(horizontal->isVisible());

    std::vector<int> valuesSeen;
    QObject::connect(FList, &TListViewEx::OnScroll, FList, [&] { valuesSeen.push_back(moved->value()); });
    const int before = moved->value();
    const int height = vertical->height();
    switch (scroll.Action) {
        case TScrollAction::VerticalArrow:
            QTest::mouseClick(vertical, Qt::LeftButton, {}, QPoint(8, height - 8));
            break;
        case TScrollAction::VerticalPage:
            QTest::mouseClick(vertical, Qt::LeftButton, {}, QPoint(8, height - kStripCell - 4));
            break;
        case TScrollAction::VerticalThumbDrag:
            QTest::mousePress(vertical, Qt::LeftButton, {}, QPoint(8, kStripCell + 4));
            QTest::mouseMove(vertical, QPoint(8, kStripCell + 44));
            QTest::mouseRelease(vertical, Qt::LeftButton, {}, QPoint(8, kStripCell + 44));
            break;
        case TScrollAction::HorizontalArrow:
            QTest::mouseClick(horizontal, Qt::LeftButton, {}, QPoint(horizontal->width() - 8, 8));
            break;
        case TScrollAction::Wheel: {
            const QPointF at(40, 40);
            QWheelEvent wheel(at, FList->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(FList->viewport(), &wheel);
            break;
        }
        case TScrollAction::Programmatic:
            vertical->setValue(10);
            break;
    }

    EXPECT_NE(moved->value(), before) << "the list scrolled";
    if (!scroll.Raised) {
        EXPECT_TRUE(valuesSeen.empty());
        return;
    }
    ASSERT_FALSE(valuesSeen.empty());
    EXPECT_EQ(valuesSeen.front(), before) << "OnScroll comes before the list moves";
}

INSTANTIATE_TEST_SUITE_P(Actions, ListViewExScrollTest, ::testing::ValuesIn(kScrollCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kestrova
