#pragma once
#include "profiles/store/StorePaths.h"

#include <optional>

namespace kestrova {

// The picker's place between runs, kept in last.xml: the group (left list) and the profile
// within it (right list).
struct TPickerPosition {
    int LeftIndex = -1;
    int RightIndex = -1;

    bool operator==(const TPickerPosition&) const = default;
};

// Reads last.xml. When it is missing (or not a readable document) it is written with its
// default content, `LeftIndex="1" RightIndex="0"`, and std::nullopt says the picker keeps its
// own start position. Values that are not decimal numbers read as 0.
std::optional<TPickerPosition> LoadPickerPosition(const TStorePaths& paths);

// Writes both indexes into the first child of last.xml's root (creating file or child when
// missing). False with the reason in `error` when the file cannot be written.
bool SavePickerPosition(const TStorePaths& paths, const TPickerPosition& position, QString* error = nullptr);

}  // namespace kestrova
