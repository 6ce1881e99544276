#pragma once
// A one-line text box that also hands on its key events (the key dialogs show
// the recorded key in one). With setKeysEditText(false) keys no longer edit
// the text: the box only reports them, so Tab and Shift+Tab still move the
// focus but every other key is the owner's to interpret.

#include <QLineEdit>

namespace k4812 {

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    void setKeysEditText(bool on) { m_keysEditText = on; }
    bool keysEditText() const { return m_keysEditText; }

signals:
    // Qt key, native scan code and modifiers; autoRepeat for held keys.
    void keyDown(int key, quint32 nativeScanCode, Qt::KeyboardModifiers modifiers, bool autoRepeat);
    void keyUp(int key, quint32 nativeScanCode, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool m_keysEditText = true;
};

} // namespace k4812
