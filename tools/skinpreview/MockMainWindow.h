#pragma once
#include "tools/skinpreview/PreviewContext.h"

namespace kestrova::skinpreview {

// The main window as the user first sees it (getting-started picture over the empty queue)
// and with a running queue (rows, both scroll bars, buttons in their run states, one hovered
// and one held).
void RenderMainWindowMocks(const TPreviewContext& context);

}  // namespace kestrova::skinpreview
