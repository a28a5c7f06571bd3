#pragma once
#include "platform/FolderBrowser.h"

namespace kestrova::platform {

// Browses with the toolkit's file dialog in folder mode (the desktop's own dialog when the
// platform theme offers one).
class TFileDialogFolderBrowser : public TFolderBrowser {
public:
    QString Choose(const TFolderBrowseRequest& request) override;
};

}  // namespace kestrova::platform
