#pragma once
// A borderless modal dialog drawn from a skin background image and moved by
// dragging its top bar, shown centred on the window that opens it. Its
// results are the program's modal results (1 OK, 2 Cancel); Escape and the
// window system's close give rejectResult().

#include "ui/skin/SkinImage.h"
#include "ui/windows/TopBarDragger.h"

#include <QDialog>

namespace k4812 {

class SkinDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    explicit SkinDialog(QWidget* parent = nullptr, int topBarHeight = 40);

    void setBackground(const SkinImage& image);
    const SkinImage& background() const { return m_background; }
    TopBarDragger& dragger() { return *m_dragger; }

    // The result of Escape and of closing the window.
    void setRejectResult(int result) { m_rejectResult = result; }
    int rejectResult() const { return m_rejectResult; }
    void reject() override;

    // Centres the dialog on `owner` (its parent when null), else on its screen.
    void centreOn(const QWidget* owner = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    SkinImage m_background;
    TopBarDragger* m_dragger;
    int m_rejectResult = kResultCancel;
};

} // namespace k4812
