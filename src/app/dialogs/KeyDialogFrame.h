#pragma once
// The frame the four key dialogs share: a borderless 446 x 230 modal dialog
// on the dialog skin ("messagedialog.png", OK and CANCEL from the group
// "dialog"), a title at the top, and the OK and CANCEL buttons at the
// bottom. OK closes with 1, CANCEL, Escape and closing the window with 2;
// a dialog that must check its values first overrides accept().

#include <QDialog>

namespace k4812 {

class SkinButton;
class SkinLabel;

class KeyDialogFrame : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 446;
    static constexpr int kHeight = 230;
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    // `title` and the other texts are English; they are shown translated.
    KeyDialogFrame(const char* objectName, const char* title, QWidget* parent);

    SkinButton* okButton() const { return m_ok; }
    SkinButton* cancelButton() const { return m_cancel; }

    void accept() override;
    void reject() override;

protected:
    // A caption on the dialog at `geometry`, translated.
    SkinLabel* addLabel(const char* objectName, const char* text, const QRect& geometry);
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    SkinButton* m_ok = nullptr;
    SkinButton* m_cancel = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace k4812
