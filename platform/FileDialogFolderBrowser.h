#pragma once
#include "platform/FolderBrowser.h"

namespace kestrova::platform {

// Browses with the toolkit's file dialog in folder mode (the desktop's own dialog when the
// platform theme offers one).
class FileDialogFolderBrowser : public FolderBrowser {
public:
    QString Choose(const FolderBrowseRequest& request) override;
};

} // namespace kestrova::platform
