#include "runtime/console/accessible_text.h"

#include "runtime/runtime.h"
#include "runtime/values/sjis.h"

namespace kestran {

void PbSetAccessibleText(Runtime& rt, std::string_view sjisText) {
    rt.console.hasAccessibleText = !sjisText.empty();
    if (rt.platform.window) rt.platform.window->SetAccessibleText(SjisToUtf8(sjisText));
}

void ClearAccessibleText(Runtime& rt) {
    if (!rt.console.hasAccessibleText) return;
    rt.console.hasAccessibleText = false;
    if (rt.platform.window) rt.platform.window->SetAccessibleText({});
}

}  // namespace kestran
