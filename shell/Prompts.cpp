#include "shell/Prompts.h"

#include "platform/Services.h"

namespace kestrova {

QString BrowseForFolder(QWidget* owner, const QString& title, bool centreOnScreen,
                        const QString& startFolder) {
    return platform::Use<platform::TFolderBrowser>().Choose(
            {.Owner = owner, .Title = title, .StartFolder = startFolder, .CentreOnScreen = centreOnScreen});
}

QString AskForText(QWidget* owner, const QString& caption, const QString& prompt,
                   const QString& initialText) {
    return platform::Use<platform::TTextPrompt>().Ask(owner, caption, prompt, initialText);
}

}  // namespace kestrova
