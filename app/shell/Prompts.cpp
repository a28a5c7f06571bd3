#include "app/shell/Prompts.h"

#include "platform/Services.h"

namespace kestrova {

QString BrowseForFolder(QWidget* owner, const QString& title, bool centreOnScreen,
                        const QString& startFolder)
{
    return platform::Use<platform::FolderBrowser>().Choose(
        {.owner = owner, .title = title, .startFolder = startFolder, .centreOnScreen = centreOnScreen});
}

QString AskForText(QWidget* owner, const QString& caption, const QString& prompt,
                   const QString& initialText)
{
    return platform::Use<platform::TextPrompt>().Ask(owner, caption, prompt, initialText);
}

} // namespace kestrova
