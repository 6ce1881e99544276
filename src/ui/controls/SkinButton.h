#pragma once
// An image button: normal, hot (under the mouse or focused), pressed and
// disabled faces from the skin, an optional staying-pressed state
// (setStaysPressed: a click toggles it), and its caption drawn over the face.
// Being a QAbstractButton it takes Space like every button, Enter and Return
// too, and shows itself to assistive technology as a button with its caption
// as name; an image-only button needs setSourceAccessibleName (TextSource.h).

#include "ui/controls/ButtonFace.h"
#include "ui/skin/SkinImage.h"

#include <QAbstractButton>
#include <QColor>

#include <array>

namespace k4812 {

class SkinButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit SkinButton(QWidget* parent = nullptr);

    // Normal, hot, pressed and (optional) disabled faces. A missing face
    // falls back as availableFace() says; with no face at all the button
    // paints a plain themed face. The normal face sets the size of a button not sized yet.
    void setFaces(const SkinImage& normal, const SkinImage& hot, const SkinImage& pressed,
                  const SkinImage& disabled = {});
    void setFace(ButtonFace face, const SkinImage& image);
    const SkinImage& face(ButtonFace face) const { return m_faces[std::size_t(face)]; }

    // Stays pressed after a click until clicked again or released by the
    // program (setChecked).
    void setStaysPressed(bool staysPressed) { setCheckable(staysPressed); }
    bool staysPressed() const { return isCheckable(); }

    // The face the button shows now (after fall-back to the faces it has).
    ButtonFace currentFace() const;
    ButtonFaceState faceState() const;

    void setTextColor(const QColor& color);
    void setTextAlignment(Qt::Alignment alignment);
    // Faces that are not rectangular: clicks on transparent pixels miss.
    void setAlphaHitTest(bool on) { m_alphaHitTest = on; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    unsigned presentFaces() const;

    std::array<SkinImage, 4> m_faces;
    QColor m_textColor;
    Qt::Alignment m_textAlignment = Qt::AlignCenter;
    bool m_alphaHitTest = false;
};

} // namespace k4812
