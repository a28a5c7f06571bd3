#pragma once
#include <QString>

class QWidget;

namespace kestrova::platform {

struct FolderBrowseRequest {
    QWidget* owner = nullptr;
    QString title;
    QString startFolder;          // empty: the browser's own choice
    bool centreOnScreen = false;  // centre on the work area of the owner's screen
};

// The folder browser: lets the user pick an existing file-system folder.
class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;

    // The chosen folder's path without trailing separator (except the root), empty on cancel.
    virtual QString Choose(const FolderBrowseRequest& request) = 0;
};

} // namespace kestrova::platform
