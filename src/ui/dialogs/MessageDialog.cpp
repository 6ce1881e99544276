#include "ui/dialogs/MessageDialog.h"

#include "ui/controls/ImageView.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/WrappingLabel.h"
#include "ui/controls/UiFont.h"
#include "ui/skin/ImageDataBase.h"
#include "ui/skin/Theme.h"

#include <QScreen>

#include <algorithm>

namespace k4812 {
namespace {

const QString kDialogGroup = QStringLiteral("dialog");

// Where the texts lie on the skin, and the room the buttons take below them.
constexpr int kTextLeft = 125;
constexpr int kTextWidth = 310;
constexpr int kTextTop = 90;
constexpr int kTextMinHeight = 58;
constexpr int kSecondLineTop = 150;
constexpr int kSecondLineMinHeight = 42;
constexpr int kLineGap = 2;
constexpr int kButtonHeight = 30;
constexpr int kButtonBottomMargin = 14;
constexpr int kButtonGap = 10; // between the last text and the buttons

// The message texts are sized in pixels, as the skin is.
QFont pixelFont(int pixels, bool bold = false)
{
    QFont font = uiFont(9, bold);
    font.setPixelSize(pixels);
    return font;
}

void skinButton(SkinButton* button, const QString& stem)
{
    TImageDataBase& images = imageDataBase();
    button->setFaces(images.image(stem + QStringLiteral("-1.png"), kDialogGroup),
                     images.image(stem + QStringLiteral("-2.png"), kDialogGroup),
                     images.image(stem + QStringLiteral("-3.png"), kDialogGroup));
}

} // namespace

TFrmMessageDialog::TFrmMessageDialog(QWidget* parent)
    : SkinDialog(parent, 46), LabelTitle(new SkinLabel(this)), LabelText(new WrappingLabel(this)),
      LabelText1(new WrappingLabel(this)), IMGWARNING(new ImageView(this)), BTNOK(new SkinButton(this)),
      BTNCANCEL(new SkinButton(this)), BTNCLOSE(new SkinButton(this))
{
    setObjectName(QStringLiteral("TFrmMessageDialog"));
    setBackground(imageDataBase().image(QStringLiteral("messagedialog.png"), kDialogGroup));
    setFixedSize(kWidth, kHeight);

    LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
    LabelTitle->setFont(pixelFont(16, true));
    LabelTitle->setGeometry(20, 6, kWidth - 80, 34);
    LabelTitle->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

    IMGWARNING->setObjectName(QStringLiteral("IMGWARNING"));
    IMGWARNING->setImage(imageDataBase().image(QStringLiteral("warning-icon.png"), kDialogGroup));
    IMGWARNING->setGeometry(34, 82, 80, 80);
    setSourceAccessibleName(IMGWARNING, QStringLiteral("Warning"));

    LabelText->setObjectName(QStringLiteral("LabelText"));
    LabelText->setFont(pixelFont(15));
    LabelText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    LabelText->setGeometry(kTextLeft, kTextTop, kTextWidth, kTextMinHeight);

    LabelText1->setObjectName(QStringLiteral("LabelText1"));
    LabelText1->setFont(pixelFont(12));
    LabelText1->setTextColor(theme::textDim());
    LabelText1->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    LabelText1->setGeometry(kTextLeft, kSecondLineTop, kTextWidth, kSecondLineMinHeight);

    BTNOK->setObjectName(QStringLiteral("BTNOK"));
    skinButton(BTNOK, QStringLiteral("DLG-OK"));
    BTNOK->setGeometry(kWidth / 2 - 96 - 8, kHeight - kButtonHeight - kButtonBottomMargin, 96, kButtonHeight);
    setSourceText(BTNOK, QStringLiteral("OK"));
    BTNOK->setFont(uiFont(9, true));
    connect(BTNOK, &QAbstractButton::clicked, this, [this] { done(kResultOk); });

    BTNCANCEL->setObjectName(QStringLiteral("BTNCANCEL"));
    skinButton(BTNCANCEL, QStringLiteral("DLG-OK"));
    BTNCANCEL->setGeometry(kWidth / 2 + 8, kHeight - kButtonHeight - kButtonBottomMargin, 96, kButtonHeight);
    setSourceText(BTNCANCEL, QStringLiteral("CANCEL"));
    BTNCANCEL->setFont(uiFont(9, true));
    connect(BTNCANCEL, &QAbstractButton::clicked, this, [this] { done(kResultCancel); });

    BTNCLOSE->setObjectName(QStringLiteral("BTNCLOSE"));
    skinButton(BTNCLOSE, QStringLiteral("close"));
    BTNCLOSE->setGeometry(kWidth - 35 - 6, 6, 35, 35);
    BTNCLOSE->setFocusPolicy(Qt::TabFocus);
    setSourceAccessibleName(BTNCLOSE, QStringLiteral("Close"));
    connect(BTNCLOSE, &QAbstractButton::clicked, this, [this] { done(kResultCancel); });

    setRejectResult(kResultCancel);
    setTabOrder(BTNOK, BTNCANCEL);
    setTabOrder(BTNCANCEL, BTNCLOSE);
    BTNOK->setFocus();
}

void TFrmMessageDialog::setTexts(const QString& title, const QString& text, const QString& secondLine)
{
    LabelTitle->setText(title);
    LabelText->setText(text);
    LabelText1->setText(secondLine);
    fitTexts();
    setWindowTitle(title);
    // A screen reader announces the dialog with its message.
    setAccessibleName(title);
    setAccessibleDescription(secondLine.isEmpty() ? text.trimmed() : text.trimmed() + QLatin1Char(' ') + secondLine);
}

} // namespace k4812

namespace k4812 {

void TFrmMessageDialog::fitTexts()
{
    // Both texts wrap at the skin's width; the second line starts below the
    // first, and the dialog grows downwards until the buttons clear both.
    const int textHeight = std::max(kTextMinHeight, LabelText->heightForWidth(kTextWidth));
    LabelText->setGeometry(kTextLeft, kTextTop, kTextWidth, textHeight);
    const int secondTop = std::max(kSecondLineTop, kTextTop + textHeight + kLineGap);
    const int secondHeight = std::max(kSecondLineMinHeight, LabelText1->heightForWidth(kTextWidth));
    LabelText1->setGeometry(kTextLeft, secondTop, kTextWidth, secondHeight);
    int height = std::max(kHeight, secondTop + secondHeight + kButtonGap + kButtonHeight + kButtonBottomMargin);
    // Never taller than the screen: a text longer than that is cut at the bottom.
    if (const QScreen* screen = this->screen(); screen && screen->availableGeometry().height() > kHeight)
        height = std::min(height, screen->availableGeometry().height());
    setFixedSize(kWidth, height);
    const int buttonTop = height - kButtonHeight - kButtonBottomMargin;
    BTNOK->move(BTNOK->x(), buttonTop);
    BTNCANCEL->move(BTNCANCEL->x(), buttonTop);
}

} // namespace k4812
