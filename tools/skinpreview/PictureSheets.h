#pragma once
#include "tools/skinpreview/PreviewContext.h"

namespace kestrova::skinpreview {

// Every button in every state on the background it sits on, the strips enlarged, and every
// group and profile picture at actual and triple size.
void RenderPictureSheets(const TPreviewContext& context);

}  // namespace kestrova::skinpreview
