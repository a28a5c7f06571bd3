#pragma once
#include "tools/skinpreview/PreviewContext.h"

namespace kestrova::skinpreview {

// The output options dialog with its skinned profile combo and Save As button laid out on its
// background, and the general options dialog's background with its groups.
void RenderDialogMocks(const TPreviewContext& context);

}  // namespace kestrova::skinpreview
