// The program folder: the folder of the running executable, as every part of the program finds it.
#include "engine/frame/ProgramFolder.h"

#include <gtest/gtest.h>

#include <errno.h>
#include <filesystem>

namespace kestrova {
namespace {

TEST(ProgramFolderTest, IsTheFolderOfTheRunningProgramWithASeparator) {
    // The program as it was started (CTest starts it by its full path).
    const std::filesystem::path started = std::filesystem::canonical(program_invocation_name);
    EXPECT_EQ(ProgramFolder(), started.parent_path().string() + "/");
}

}  // namespace
}  // namespace kestrova
