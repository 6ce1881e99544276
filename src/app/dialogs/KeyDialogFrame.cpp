#include "app/dialogs/KeyDialogFrame.h"

#include "i18n/Translation.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/skin/Theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace k4812 {

namespace {

constexpr int kTitleBarHeight = 40;
constexpr QSize kButtonSize(96, 32);

} // namespace

KeyDialogFrame::KeyDialogFrame(const char* objectName, const char* title, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QString::fromLatin1(objectName));
    setModal(true);
    setFixedSize(kWidth, kHeight);
    const QString shownTitle = translate(QString::fromUtf8(title));
    setWindowTitle(shownTitle);
    setAccessibleName(shownTitle);

    SkinLabel* caption = addLabel("LabelTitle", title, QRect(18, 8, kWidth - 36, kTitleBarHeight - 12));
    caption->setFontSize(11, true);

    m_ok = new SkinButton(this);
    m_ok->setObjectName(QStringLiteral("BtnOK"));
    m_ok->setText(translate(QStringLiteral("OK")));
    m_ok->setGeometry(QRect(QPoint(kWidth / 2 - kButtonSize.width() - 12, kHeight - 52), kButtonSize));
    m_cancel = new SkinButton(this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    m_cancel->setText(translate(QStringLiteral("CANCEL")));
    m_cancel->setGeometry(QRect(QPoint(kWidth / 2 + 12, kHeight - 52), kButtonSize));
    connect(m_ok, &QAbstractButton::clicked, this, &KeyDialogFrame::accept);
    connect(m_cancel, &QAbstractButton::clicked, this, &KeyDialogFrame::reject);
}

SkinLabel* KeyDialogFrame::addLabel(const char* objectName, const char* text, const QRect& geometry)
{
    auto* label = new SkinLabel(this);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setText(translate(QString::fromUtf8(text)));
    label->setGeometry(geometry);
    return label;
}

void KeyDialogFrame::accept()
{
    done(kResultOk);
}

void KeyDialogFrame::reject()
{
    done(kResultCancel);
}

void KeyDialogFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), theme::panelBack());
    p.fillRect(QRect(0, 0, width(), kTitleBarHeight), theme::barBack());
    p.setPen(theme::accent());
    p.drawLine(QPoint(0, kTitleBarHeight), QPoint(width(), kTitleBarHeight));
    p.setPen(theme::panelEdge());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void KeyDialogFrame::showEvent(QShowEvent* event)
{
    // Centred on the window that opened it, or on the screen.
    QRect area;
    if (const QWidget* owner = parentWidget(); owner && owner->isVisible())
        area = QRect(owner->window()->mapToGlobal(QPoint(0, 0)), owner->window()->size());
    else if (const QScreen* s = screen())
        area = s->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

void KeyDialogFrame::mousePressEvent(QMouseEvent* event)
{
    m_dragging = event->button() == Qt::LeftButton && event->position().y() < kTitleBarHeight;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(event);
}

void KeyDialogFrame::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        // The window system moves it where it can (Wayland); otherwise it follows the pointer.
        if (windowHandle() != nullptr && windowHandle()->startSystemMove())
            m_dragging = false;
        else
            move(event->globalPosition().toPoint() - m_dragOffset);
    }
    QDialog::mouseMoveEvent(event);
}

} // namespace k4812
