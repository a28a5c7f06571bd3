// The picture button's state rules, driven by synthetic pointer and mouse events.
#include "ui/skin/XGraphic.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

namespace kestrova {
namespace {

enum class TStep {
    Enter,
    Leave,
    Press,
    Release,
    ReleaseOutside,
    RightPress,
    RightRelease,
    DoubleClick,
    Check,
    Uncheck,
    Enable,
    Disable,
    EnableAgain,
    NewNormal,
    NewOver
};
enum class TShown { Normal, Over, Click, Disabled, NewNormal };

struct TCounts {
    int Enter = 0;
    int Leave = 0;
    int Click = 0;
    int DblClick = 0;
};

struct TRuleCase {
    const char* Name;
    std::vector<TStep> Steps;
    TShown Expected;
    TCounts Counts;
};

QPixmap Solid(QRgb colour) {
    QPixmap picture(40, 30);
    picture.fill(QColor(colour));
    return picture;
}

class XGraphicTest : public ::testing::Test {
protected:
    XGraphicTest() {
        FHost.resize(200, 120);
        FButton = new TXGraphic(&FHost);
        FButton->setGeometry(20, 20, 40, 30);
        FButton->SetPictureOver(FOver);
        FButton->SetPictureClick(FClick);
        FButton->SetPictureDisabled(FDisabled);
        FButton->SetPictureNormal(FNormal);
        FHost.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&FHost));
        QTest::mouseMove(&FHost, kOutside);
    }

    ~XGraphicTest() override {
        // Cases may end with a button held; the next one starts with none.
        for (Qt::MouseButton held : {Qt::LeftButton, Qt::RightButton}) {
            if (QGuiApplication::mouseButtons() & held) QTest::mouseRelease(&FHost, held, {}, kOutside);
        }
    }

    void Run(TStep step) {
        switch (step) {
            case TStep::Enter:
                QTest::mouseMove(&FHost, kInside);
                break;
            case TStep::Leave:
                QTest::mouseMove(&FHost, kOutside);
                break;
            case TStep::Press:
                QTest::mousePress(FButton, Qt::LeftButton, {}, kButtonPoint);
                break;
            case TStep::Release:
                QTest::mouseRelease(FButton, Qt::LeftButton, {}, kButtonPoint);
                break;
            case TStep::ReleaseOutside:
                QTest::mouseRelease(FButton, Qt::LeftButton, {}, QPoint(120, 70));
                break;
            case TStep::RightPress:
                QTest::mousePress(FButton, Qt::RightButton, {}, kButtonPoint);
                break;
            case TStep::RightRelease:
                QTest::mouseRelease(FButton, Qt::RightButton, {}, kButtonPoint);
                break;
            // Press, release and the second press; the second release is a step of its own.
            case TStep::DoubleClick:
                QTest::mouseClick(FButton, Qt::LeftButton, {}, kButtonPoint);
                QTest::mouseDClick(FButton, Qt::LeftButton, {}, kButtonPoint);
                break;
            case TStep::Check:
                FButton->SetChecked(true);
                break;
            case TStep::Uncheck:
                FButton->SetChecked(false);
                break;
            case TStep::Enable:
                FButton->setEnabled(true);
                break;
            case TStep::Disable:
                FButton->setEnabled(false);
                break;
            case TStep::EnableAgain:
                FButton->SetEnabled(true);
                break;
            case TStep::NewNormal:
                FButton->SetPictureNormal(FNewNormal);
                break;
            case TStep::NewOver:
                FButton->SetPictureOver(Solid(0xFF00FFFF));
                break;
        }
    }

    TShown Shown() const {
        const qint64 shown = FButton->Picture().cacheKey();
        if (shown == FNormal.cacheKey()) return TShown::Normal;
        if (shown == FOver.cacheKey()) return TShown::Over;
        if (shown == FClick.cacheKey()) return TShown::Click;
        if (shown == FDisabled.cacheKey()) return TShown::Disabled;
        if (shown == FNewNormal.cacheKey()) return TShown::NewNormal;
        ADD_FAILURE() << "the button shows none of its pictures";
        return TShown::Normal;
    }

    static constexpr QPoint kInside{30, 30};  // host coordinates, on the button
    static constexpr QPoint kOutside{150, 90};
    static constexpr QPoint kButtonPoint{10, 10};

    QWidget FHost;
    TXGraphic* FButton = nullptr;
    QPixmap FNormal = Solid(0xFF101010);
    QPixmap FOver = Solid(0xFF202020);
    QPixmap FClick = Solid(0xFF303030);
    QPixmap FDisabled = Solid(0xFF404040);
    QPixmap FNewNormal = Solid(0xFF505050);
};

using S = TStep;
using P = TShown;

const TRuleCase kRuleCases[] = {
        {"PointerEntering", {S::Enter}, P::Over, {1, 0, 0, 0}},
        {"PointerLeaving", {S::Enter, S::Leave}, P::Normal, {1, 1, 0, 0}},
        {"ButtonHeld", {S::Enter, S::Press}, P::Click, {1, 0, 0, 0}},
        {"ButtonReleased", {S::Enter, S::Press, S::Release}, P::Over, {1, 0, 1, 0}},
        {"ReleasedOutsideDoesNotClick", {S::Enter, S::Press, S::ReleaseOutside}, P::Over, {1, 0, 0, 0}},
        {"RightButtonPressesWithoutClick", {S::Enter, S::RightPress}, P::Click, {1, 0, 0, 0}},
        {"RightButtonReleased", {S::Enter, S::RightPress, S::RightRelease}, P::Over, {1, 0, 0, 0}},
        {"DoubleClickClicksOnce", {S::Enter, S::DoubleClick, S::Release}, P::Over, {1, 0, 1, 1}},
        {"DisabledIgnoresHoverButReports", {S::Disable, S::Enter}, P::Disabled, {1, 0, 0, 0}},
        {"DisabledIgnoresPress", {S::Disable, S::Enter, S::Press, S::Release}, P::Disabled, {1, 0, 0, 0}},
        {"DisabledIgnoresLeave", {S::Enter, S::Disable, S::Leave}, P::Disabled, {1, 1, 0, 0}},
        {"EnabledUnderPointerShowsNormal", {S::Disable, S::Enter, S::Enable}, P::Normal, {1, 0, 0, 0}},
        {"EnablingAnEnabledButtonShowsNormal", {S::Enter, S::EnableAgain}, P::Normal, {1, 0, 0, 0}},
        {"CheckedShowsClick", {S::Check}, P::Click, {0, 0, 0, 0}},
        {"CheckedKeepsClickThroughHover", {S::Check, S::Enter, S::Leave}, P::Click, {0, 0, 0, 0}},
        {"CheckedKeepsClickThroughPress", {S::Check, S::Enter, S::Press, S::Release}, P::Click, {0, 0, 1, 0}},
        {"CheckedDisabledKeepsDisabled", {S::Disable, S::Check}, P::Disabled, {0, 0, 0, 0}},
        {"CheckedDisabledEnabledShowsNormal", {S::Disable, S::Check, S::Enable}, P::Normal, {0, 0, 0, 0}},
        {"UncheckingKeepsThePicture", {S::Check, S::Uncheck}, P::Click, {0, 0, 0, 0}},
        {"UncheckedFollowsThePointerAgain", {S::Check, S::Uncheck, S::Enter}, P::Over, {1, 0, 0, 0}},
        {"CheckingTwiceChangesNothing",
         {S::Check, S::Enter, S::Check, S::Uncheck, S::Leave},
         P::Normal,
         {0, 1, 0, 0}},
        {"NewNormalPictureShowsAtOnce", {S::Enter, S::NewNormal}, P::NewNormal, {1, 0, 0, 0}},
        {"NewNormalPictureShowsWhenDisabled", {S::Disable, S::NewNormal}, P::NewNormal, {0, 0, 0, 0}},
        {"NewOverPictureIsOnlyStored", {S::Enter, S::NewOver}, P::Over, {1, 0, 0, 0}},
};

void PrintTo(const TRuleCase& rule, std::ostream* out) {
    *out << rule.Name;
}

class XGraphicRuleTest : public XGraphicTest, public ::testing::WithParamInterface<TRuleCase> {};

TEST_P(XGraphicRuleTest, ShowsThePictureAndRaisesTheEventsOfItsState) {
    const TRuleCase& rule = GetParam();
    QSignalSpy entered(FButton, &TXGraphic::OnMouseEnter);
    QSignalSpy left(FButton, &TXGraphic::OnMouseLeave);
    QSignalSpy clicked(FButton, &TXGraphic::OnClick);
    QSignalSpy doubleClicked(FButton, &TXGraphic::OnDblClick);
    for (TStep step : rule.Steps) Run(step);
    EXPECT_EQ(Shown(), rule.Expected);
    EXPECT_EQ(entered.count(), rule.Counts.Enter);
    EXPECT_EQ(left.count(), rule.Counts.Leave);
    EXPECT_EQ(clicked.count(), rule.Counts.Click);
    EXPECT_EQ(doubleClicked.count(), rule.Counts.DblClick);
}

INSTANTIATE_TEST_SUITE_P(Rules, XGraphicRuleTest, ::testing::ValuesIn(kRuleCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// The mouse events reach their handlers before the picture changes, so a handler sees the
// picture of the state before.
struct TOrderCase {
    const char* Name;
    TStep Step;
    TShown SeenByHandler;
    TShown After;
};

const TOrderCase kOrderCases[] = {
        {"MouseDown", TStep::Press, TShown::Over, TShown::Click},
        {"MouseUp", TStep::Release, TShown::Click, TShown::Over},
};

void PrintTo(const TOrderCase& order, std::ostream* out) {
    *out << order.Name;
}

class XGraphicOrderTest : public XGraphicTest, public ::testing::WithParamInterface<TOrderCase> {};

TEST_P(XGraphicOrderTest, HandlersRunBeforeThePictureChanges) {
    const TOrderCase& order = GetParam();
    Run(TStep::Enter);
    if (order.Step == TStep::Release) Run(TStep::Press);
    std::vector<TShown> seen;
    auto record = [&] { seen.push_back(Shown()); };
    QObject::connect(FButton, &TXGraphic::OnMouseDown, FButton, record);
    QObject::connect(FButton, &TXGraphic::OnMouseUp, FButton, record);
    Run(order.Step);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.front(), order.SeenByHandler);
    EXPECT_EQ(Shown(), order.After);
}

INSTANTIATE_TEST_SUITE_P(Order, XGraphicOrderTest, ::testing::ValuesIn(kOrderCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(XGraphicTest, AClickHandlerThatDisablesTheButtonLeavesItDisabled) {
    QObject::connect(FButton, &TXGraphic::OnClick, FButton, [this] { FButton->SetEnabled(false); });
    Run(TStep::Enter);
    Run(TStep::Press);
    Run(TStep::Release);
    EXPECT_EQ(Shown(), TShown::Disabled);
}

TEST_F(XGraphicTest, AutoSizeFollowsThePictureShown) {
    auto* button = new TXGraphic(&FHost);
    EXPECT_EQ(button->geometry(), QRect(0, 0, 23, 23));
    button->SetAutoSize(true);
    button->SetPictureOver(QPixmap(60, 50));
    button->SetPictureNormal(QPixmap(78, 69));
    EXPECT_EQ(button->size(), QSize(78, 69));
}

}  // namespace
}  // namespace kestrova
