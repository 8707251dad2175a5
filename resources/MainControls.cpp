#include "resources/MainControls.h"

#include "resources/CommandIds.h"

namespace {
using K = ControlKind;
constexpr ControlDef controls[] = {
    { IDC_NEXTPOINT, K::DefaultButton, "Next Point", 40, 405, 130, 25 },
    { IDC_CONNECT, K::Button, "Connect Points", 460, 460, 130, 25 },
    { IDC_DISCONNECT, K::Button, "Dis-Connect Points", 460, 460, 130, 25 },
    { IDC_LARGEPOINTS, K::Button, "Large Points", 600, 460, 130, 25 },
    { IDC_SMALLPOINTS, K::Button, "Small Points", 600, 460, 130, 25 },
    { IDC_LABELPOINTS, K::Button, "Label Points", 320, 460, 130, 25 },
    { IDC_UNLABELPOINTS, K::Button, "Unlabel Points", 320, 460, 130, 25 },
    { IDC_SHOWERRORBARS, K::Button, "Show Error Bars", 180, 460, 130, 25 },
    { IDC_HIDEERRORBARS, K::Button, "Hide Error Bars", 180, 460, 130, 25 },
    { IDC_EXIT, K::Button, "Exit", 300, 425, 50, 25 },
    { IDC_XBOX, K::Edit, "", 40, 440, 50, 25 },
    { IDC_YBOX, K::Edit, "", 120, 440, 50, 25 },
    { IDC_CURVE1, K::FirstRadio, "Curve 1", 200, 400, 100, 20 },
    { IDC_CURVE2, K::Radio, "Curve 2", 200, 420, 100, 20 },
    { IDC_CURVE3, K::Radio, "Curve 3", 200, 440, 100, 20 },
    { IDC_THICKLINES, K::CheckBox, "Thick Lines", 201, 468, 100, 20 },
};
} // namespace

std::span<const ControlDef> mainControls() { return controls; }
