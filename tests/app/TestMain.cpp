// The suites run inside the program's application object, so that windows,
// dialogs and the error display behave as they do in the program. Without a chosen platform
// they run off screen, so that listing and running the tests never needs a display.
#include "app/main/KestrovaApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    kestrova::TKestrovaApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
