#pragma once
#include <QString>

class QWidget;

namespace kestrova::platform {

struct TFolderBrowseRequest {
    QWidget* Owner = nullptr;
    QString Title;
    QString StartFolder;          // empty: the browser's own choice
    bool CentreOnScreen = false;  // centre on the work area of the owner's screen
};

// The folder browser: lets the user pick an existing file-system folder.
class TFolderBrowser {
public:
    virtual ~TFolderBrowser() = default;

    // The chosen folder's path without trailing separator (except the root), empty on cancel.
    virtual QString Choose(const TFolderBrowseRequest& request) = 0;
};

}  // namespace kestrova::platform
