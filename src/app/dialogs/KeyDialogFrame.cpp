#include "app/dialogs/KeyDialogFrame.h"

#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/UiFont.h"
#include "ui/skin/ImageDataBase.h"

namespace k4812 {

namespace {

constexpr int kTopBarHeight = 44;
constexpr QSize kButtonSize(96, 30);
const QString kDialogGroup = QStringLiteral("dialog");

SkinButton* dialogButton(QWidget* parent, const char* objectName, const char* text, int x)
{
    TImageDataBase& images = imageDataBase();
    auto* button = new SkinButton(parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setFaces(images.image(QStringLiteral("DLG-OK-1.png"), kDialogGroup),
                     images.image(QStringLiteral("DLG-OK-2.png"), kDialogGroup),
                     images.image(QStringLiteral("DLG-OK-3.png"), kDialogGroup));
    button->setGeometry(QRect(QPoint(x, KeyDialogFrame::kHeight - kButtonSize.height() - 16), kButtonSize));
    button->setFont(uiFont(9, true));
    setSourceText(button, QString::fromLatin1(text));
    return button;
}

} // namespace

KeyDialogFrame::KeyDialogFrame(const char* objectName, const char* title, QWidget* parent)
    : SkinDialog(parent, kTopBarHeight)
{
    setObjectName(QString::fromLatin1(objectName));
    // The message dialog's background, drawn at this dialog's size.
    setBackground(imageDataBase().image(QStringLiteral("messagedialog.png"), kDialogGroup));
    setFixedSize(kWidth, kHeight);
    setSourceText(this, QString::fromUtf8(title));
    setSourceAccessibleName(this, QString::fromUtf8(title));

    SkinLabel* caption = addLabel("LabelTitle", title, QRect(20, 4, kWidth - 40, kTopBarHeight - 8));
    caption->setFontSize(12, true);
    caption->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

    m_ok = dialogButton(this, "BtnOK", "OK", kWidth / 2 - kButtonSize.width() - 8);
    m_cancel = dialogButton(this, "BtnCancel", "CANCEL", kWidth / 2 + 8);
    connect(m_ok, &QAbstractButton::clicked, this, &KeyDialogFrame::accept);
    connect(m_cancel, &QAbstractButton::clicked, this, &KeyDialogFrame::reject);
}

SkinLabel* KeyDialogFrame::addLabel(const char* objectName, const char* text, const QRect& geometry)
{
    auto* label = new SkinLabel(this);
    label->setObjectName(QString::fromLatin1(objectName));
    setSourceText(label, QString::fromUtf8(text));
    label->setGeometry(geometry);
    return label;
}

void KeyDialogFrame::accept()
{
    done(kResultOk);
}

} // namespace k4812
