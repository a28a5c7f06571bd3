#include "engine/core/FFmpegException.h"
#include "shell/ApplicationTitle.h"
#include "shell/ErrorDisplay.h"
#include "shell/Recolour.h"
#include "tests/app/Fakes.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestrova::testing {

TEST(ErrorDisplayTest, AFullStopIsAddedAfterLettersAndDigitsOnly) {
    EXPECT_EQ(ErrorMessageText(QStringLiteral("'abc' is not a valid integer value")),
              QStringLiteral("'abc' is not a valid integer value."));
    EXPECT_EQ(ErrorMessageText(QStringLiteral("Error 42")), QStringLiteral("Error 42."));
    EXPECT_EQ(ErrorMessageText(QStringLiteral("Done.")), QStringLiteral("Done."));
    EXPECT_EQ(ErrorMessageText(QStringLiteral("Invalid File!")), QStringLiteral("Invalid File!"));
    EXPECT_EQ(ErrorMessageText(QStringLiteral("(code -5)")), QStringLiteral("(code -5)"));
    EXPECT_EQ(ErrorMessageText(QStringLiteral("trailing ")), QStringLiteral("trailing "));
    EXPECT_EQ(ErrorMessageText(QString()), QString());
}

TEST(ErrorDisplayTest, EngineErrorsAreWarningsAndOthersErrors) {
    TShellTestEnvironment environment;
    ShowException(FFmpegException("Unknown format"));
    ShowException(std::runtime_error("Unable to write to /srv/Setting.ini"));

    ASSERT_EQ(environment.Errors.size(), 2u);
    EXPECT_EQ(environment.Errors[0].Severity, TErrorSeverity::Warning);
    EXPECT_EQ(environment.Errors[0].Text, QStringLiteral("Unknown format."));
    EXPECT_EQ(environment.Errors[1].Severity, TErrorSeverity::Error);
    EXPECT_EQ(environment.Errors[1].Title, kApplicationTitle);
}

TEST(ErrorDisplayTest, MessagesKeepTheirCharacters) {
    TShellTestEnvironment environment;
    ShowException(std::runtime_error("Kann \xC3\xBC"
                                     "ber nicht schreiben: /srv/Vid\xC3\xA9os"));
    ASSERT_EQ(environment.Errors.size(), 1u);
    EXPECT_EQ(environment.Errors[0].Text, QStringLiteral("Kann über nicht schreiben: /srv/Vidéos."));
}

TEST(ErrorDisplayTest, RunShowingErrorsReportsWhetherTheCommandSucceeded) {
    TShellTestEnvironment environment;
    int runs = 0;
    EXPECT_TRUE(RunShowingErrors([&] { ++runs; }));
    EXPECT_FALSE(RunShowingErrors([] { throw std::runtime_error("broken"); }));
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(environment.Errors.size(), 1u);
    EXPECT_EQ(environment.Errors[0].Text, QStringLiteral("broken."));
}

TEST(RecolourTest, ReplacesOnlyTheOldColourAndKeepsTransparency) {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgb(255, 255, 255));
    image.setPixel(1, 0, qRgb(10, 20, 30));
    image.setPixel(2, 1, qRgba(255, 255, 255, 0));  // transparent white

    RecolourImage(image, qRgb(255, 255, 255), qRgb(0xB8, 0xD8, 0xFA));

    EXPECT_EQ(image.pixel(0, 0), qRgb(0xB8, 0xD8, 0xFA));
    EXPECT_EQ(image.pixel(1, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(2, 1), qRgba(0xB8, 0xD8, 0xFA, 0));
}

TEST(RecolourTest, WorksOnPicturesOfAnyFormat) {
    QImage image(4, 4, QImage::Format_RGB888);
    image.fill(QColor(255, 255, 255));
    image.setPixelColor(3, 3, QColor(1, 2, 3));

    RecolourImage(image, qRgb(255, 255, 255), qRgb(0, 128, 0));

    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(3, 0), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(3, 3), QColor(1, 2, 3));
    QImage empty;
    RecolourImage(empty, 0, 1);  // nothing to do, nothing breaks
    EXPECT_TRUE(empty.isNull());
}

}  // namespace kestrova::testing
