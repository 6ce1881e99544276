#include "ui/dialogs/HelpDialog.h"

#include "i18n/Translation.h"
#include "i18n/TranslationList.h"
#include "i18n/TuiLanguage.h"
#include "platform/storage/IniFile.h"
#include "profiles/AppConfig.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/UiFont.h"
#include "ui/dialogs/HelpDialogHost.h"
#include "ui/dialogs/MessagePrompter.h"
#include "ui/skin/ImageDataBase.h"
#include "ui/skin/Theme.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QTimer>

namespace k4812 {
namespace {

const QString kDialogGroup = QStringLiteral("dialog");
constexpr const char* kVersionSource = "Version Number 1.0.0.0";

QFont pixelFont(int pixels, bool bold = false)
{
    QFont font = uiFont(9, bold);
    font.setPixelSize(pixels);
    return font;
}

QString linkMarkup(const HelpLink& link)
{
    return QStringLiteral("<a href=\"%1\" style=\"color:%2;\">%3</a>")
        .arg(link.url.toString(QUrl::FullyEncoded).toHtmlEscaped(), theme::accent().name(),
             translate(link.caption).toHtmlEscaped());
}

} // namespace

THelpForm::THelpForm(TuiLanguage& language, HelpDialogHost& host, const QList<HelpLink>& links, QWidget* parent)
    : SkinDialog(parent, 46), LabelTitle(new SkinLabel(this)), Label1(new SkinLabel(this)),
      LabelLegal1(new SkinLabel(this)), LabelLegal2(new SkinLabel(this)), LabelLanguage(new SkinLabel(this)),
      PopBoxLanguage(new QComboBox(this)), BTNOK(new SkinButton(this)), FLanguage(language), m_host(host),
      m_links(links)
{
    setObjectName(QStringLiteral("THelpForm"));
    setBackground(imageDataBase().image(QStringLiteral("HelpPage-back.png"), kDialogGroup));
    setFixedSize(kSize, kSize);

    LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
    LabelTitle->setFont(pixelFont(16, true));
    LabelTitle->setGeometry(20, 6, 300, 34);
    setSourceText(LabelTitle, QStringLiteral("INFO"));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(pixelFont(14, true));
    Label1->setGeometry(30, 70, kSize - 60, 24);

    // The licence of this program; the texts are its own.
    LabelLegal1->setObjectName(QStringLiteral("LabelLegal1"));
    LabelLegal1->setFont(pixelFont(12));
    LabelLegal1->setTextColor(theme::textDim());
    LabelLegal1->setGeometry(30, 104, kSize - 60, 20);
    setSourceText(LabelLegal1, QStringLiteral("Copyright (c) the K4812 configuration utility authors."));
    LabelLegal2->setObjectName(QStringLiteral("LabelLegal2"));
    LabelLegal2->setFont(pixelFont(12));
    LabelLegal2->setTextColor(theme::textDim());
    LabelLegal2->setWordWrap(true);
    LabelLegal2->setGeometry(30, 126, kSize - 60, 40);
    setSourceText(LabelLegal2, QStringLiteral("Free software under the MIT License, provided without any warranty."));

    for (int i = 0; i < m_links.size(); ++i) {
        const HelpLink& link = m_links[i];
        auto* label = new QLabel(this);
        label->setObjectName(link.objectName);
        label->setFont(pixelFont(13));
        label->setGeometry(30, 186 + i * 28, kSize - 60, 24);
        label->setTextFormat(Qt::RichText);
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        label->setFocusPolicy(Qt::StrongFocus);
        label->setCursor(Qt::PointingHandCursor);
        connect(label, &QLabel::linkActivated, this, [this, i](const QString&) {
            m_host.openLink(m_links[i].url);
        });
        // A link without an address stays hidden; so do all without VERSION=V2.
        label->setVisible(!link.url.isEmpty());
        LinkLabels.append(label);
    }

    LabelLanguage->setObjectName(QStringLiteral("LabelLanguage"));
    LabelLanguage->setFont(pixelFont(12));
    LabelLanguage->setTextColor(theme::textDim());
    LabelLanguage->setGeometry(30, kSize - 78, 200, 18);
    setSourceText(LabelLanguage, QStringLiteral("Language"));

    PopBoxLanguage->setObjectName(QStringLiteral("PopBoxLanguage"));
    PopBoxLanguage->setFont(pixelFont(13));
    PopBoxLanguage->setGeometry(30, kSize - 30 - 14, 200, 30);
    PopBoxLanguage->setStyleSheet(
        QStringLiteral("QComboBox { background: %1; color: %2; border: 1px solid %3; border-radius: 4px;"
                       " padding: 2px 8px; }"
                       "QComboBox:focus { border-color: %4; }"
                       "QComboBox QAbstractItemView { background: %5; color: %2; selection-background-color: %6; }")
            .arg(theme::controlBack().name(), theme::text().name(), theme::controlEdge().name(),
                 theme::accent().name(), theme::panelBack().name(), theme::accentDark().name()));
    LabelLanguage->setBuddy(PopBoxLanguage);
    setSourceAccessibleName(PopBoxLanguage, QStringLiteral("Language"));

    BTNOK->setObjectName(QStringLiteral("BTNOK"));
    TImageDataBase& images = imageDataBase();
    BTNOK->setFaces(images.image(QStringLiteral("DLG-OK-1.png"), kDialogGroup),
                    images.image(QStringLiteral("DLG-OK-2.png"), kDialogGroup),
                    images.image(QStringLiteral("DLG-OK-3.png"), kDialogGroup));
    BTNOK->setGeometry(kSize - 96 - 24, kSize - 30 - 14, 96, 30);
    BTNOK->setFont(uiFont(9, true));
    setSourceText(BTNOK, QStringLiteral("OK"));
    connect(BTNOK, &QAbstractButton::clicked, this, [this] { done(kResultOk); });

    FillLanguageSelector();
    // activated: the user's choice only, never the selection made above.
    connect(PopBoxLanguage, &QComboBox::activated, this, &THelpForm::PopBoxLanguageChange);
    retranslate();
    BTNOK->setFocus();
}

QString THelpForm::versionText()
{
    return withVersion(translate(QString::fromLatin1(kVersionSource)));
}

QString THelpForm::withVersion(QString text)
{
    text.replace(QStringLiteral("1.0.0.0"), QStringLiteral(K4812_VERSION));
    return text;
}

void THelpForm::FillLanguageSelector()
{
    PopBoxLanguage->clear();
    for (int i = 0; i < FLanguage.languageCount(); ++i)
        PopBoxLanguage->addItem(FLanguage.languageDisplayName(i));
    const int stored = m_host.currentLanguage();
    if (FLanguage.activeLanguageIndex() != stored) {
        const QString shortId = FLanguage.GetLanguageShortIDByIndex(stored);
        if (!shortId.isEmpty())
            FLanguage.SetLang(shortId);
    }
    PopBoxLanguage->setCurrentIndex(stored >= 0 && stored < FLanguage.languageCount() ? stored : 0);
}

void THelpForm::PopBoxLanguageChange(int index)
{
    if (index < 0 || index >= FLanguage.languageCount())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    FLanguage.SetLang(FLanguage.GetLanguageShortIDByIndex(index));
    // Before the store, whose wait lets the windows repaint: no frame shows
    // the main window in the new language and this dialog in the old one.
    retranslate();
    const QString error = m_host.storeCurrentLanguage(index);
    m_host.announceLanguageChanged();
    QGuiApplication::restoreOverrideCursor();
    if (!error.isEmpty())
        ShowMessageDialog(translate(QStringLiteral("Error")), error, {}, this);
}

void THelpForm::showEvent(QShowEvent* event)
{
    SkinDialog::showEvent(event);
    // The user is about to pick a language: what its first frame needs is
    // prepared now, from the event loop, while they move to the selector.
    QTimer::singleShot(0, this, [this] { prepareOtherLanguages(); });
}

void THelpForm::prepareOtherLanguages()
{
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            windows << window;
    }
    // The neighbours in the selector first: the arrow keys reach them first.
    const int active = FLanguage.activeLanguageIndex();
    QList<int> order;
    for (int distance = 1; distance < FLanguage.languageCount(); ++distance) {
        for (const int index : {active + distance, active - distance}) {
            if (index >= 0 && index < FLanguage.languageCount() && index != active && !order.contains(index))
                order << index;
        }
    }
    for (const int index : std::as_const(order)) {
        const TranslationList target(FLanguage.resources()[index].lines);
        m_warmer.addLanguage(windows, FLanguage.GetLanguageShortIDByIndex(index), &target);
        // The version line holds the program's number in place of the translation's.
        m_warmer.add(Label1->font(), withVersion(target.translate(QString::fromLatin1(kVersionSource))));
    }
    m_warmer.start();
}

void THelpForm::retranslate()
{
    retranslateTexts(this);
    Label1->setText(versionText());
    for (int i = 0; i < LinkLabels.size(); ++i)
        LinkLabels[i]->setText(linkMarkup(m_links[i]));
    setWindowTitle(LabelTitle->text());
}

int ShowHelpDialog(TuiLanguage& language, QWidget* owner, ProgramHelpDialogHost::StoreRunner runStore)
{
    ProgramHelpDialogHost host(std::move(runStore));
    THelpForm dialog(language, host, helpLinksFrom(IniFile::fromFile(AppConfig::defaultPath())), owner);
    return dialog.exec();
}

} // namespace k4812
