#include "app/pages/ProfileFileDialogs.h"

#include "i18n/Translation.h"
#include "profiles/ProfileFileActions.h"

#include <QDir>
#include <QFileDialog>

namespace k4812 {

namespace {

const QString kFilter = QStringLiteral("pfd (*.pfd)");

class DesktopProfileFileDialogs final : public ProfileFileDialogs {
public:
    QString openProfileFile(QWidget* parent, const QString& folder) override
    {
        QFileDialog dialog(parent, translate(QStringLiteral("Load from file")), startFolder(folder), kFilter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return dialog.exec() == QDialog::Accepted ? first(dialog) : QString();
    }

    QString saveProfileFile(QWidget* parent, const QString& folder) override
    {
        QFileDialog dialog(parent, translate(QStringLiteral("Save to file")), startFolder(folder), kFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QString::fromLatin1(kProfileFileSuffix));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        return dialog.exec() == QDialog::Accepted ? first(dialog) : QString();
    }

private:
    static QString startFolder(const QString& folder)
    {
        return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    }
    static QString first(const QFileDialog& dialog)
    {
        const QStringList files = dialog.selectedFiles();
        return files.isEmpty() ? QString() : files.first();
    }
};

} // namespace

std::unique_ptr<ProfileFileDialogs> makeDesktopProfileFileDialogs()
{
    return std::make_unique<DesktopProfileFileDialogs>();
}

} // namespace k4812
