#pragma once
#include "tools/skinpreview/PreviewContext.h"

namespace kestrova::skinpreview {

// The profile picker's two panes drawn the way the picker draws its items, with the group and
// profile pictures at their real size and the picker's skinned scroll bar.
void RenderPickerMock(const TPreviewContext& context);

}  // namespace kestrova::skinpreview
