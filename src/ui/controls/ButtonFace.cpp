#include "ui/controls/ButtonFace.h"

namespace k4812 {

ButtonFace selectFace(const ButtonFaceState& state)
{
    if (!state.enabled)
        return ButtonFace::Disabled;
    if (state.down || state.checked)
        return ButtonFace::Pressed;
    if (state.hovered || state.focused)
        return ButtonFace::Hot;
    return ButtonFace::Normal;
}

ButtonFace availableFace(ButtonFace wanted, unsigned present)
{
    for (;;) {
        if (present & faceBit(wanted))
            return wanted;
        switch (wanted) {
        case ButtonFace::Pressed: wanted = ButtonFace::Hot; break;
        case ButtonFace::Hot:
        case ButtonFace::Disabled: wanted = ButtonFace::Normal; break;
        case ButtonFace::Normal: return ButtonFace::Normal;
        }
    }
}

} // namespace k4812
