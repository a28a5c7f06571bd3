#pragma once
#include <QString>

namespace kestrova::platform {

// The desktop shell: hands documents, folders and web addresses to the programs the user
// associated with them.
class TShell {
public:
    virtual ~TShell() = default;

    // Opens a document, a folder or a web address. False when nothing could take it.
    virtual bool Open(const QString& target) = 0;

    // Shows the file selected in a file manager window of its folder.
    virtual bool ShowItem(const QString& path) = 0;
};

}  // namespace kestrova::platform
