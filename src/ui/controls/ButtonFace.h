#pragma once
// Which face an image button shows, as a pure function of its state, and
// which image stands in when the skin lacks that face.

namespace k4812 {

enum class ButtonFace { Normal, Hot, Pressed, Disabled };

struct ButtonFaceState {
    bool enabled = true;
    bool down = false;     // held by the mouse or the keyboard
    bool checked = false;  // staying pressed
    bool hovered = false;
    bool focused = false;  // keyboard focus shows the hot face, so keyboard users see where they are
};

ButtonFace selectFace(const ButtonFaceState& state);

// The face painted for `wanted` when the skin holds only the faces in
// `present` (a bit per ButtonFace): Disabled falls back to Normal, Pressed to
// Hot, Hot to Normal. Normal when nothing fits.
ButtonFace availableFace(ButtonFace wanted, unsigned present);

inline constexpr unsigned faceBit(ButtonFace face) { return 1u << unsigned(face); }

} // namespace k4812
