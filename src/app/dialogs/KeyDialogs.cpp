#include "app/dialogs/KeyDialogs.h"

#include "app/dialogs/TFrmCombo.h"
#include "app/dialogs/TFrmCreat.h"
#include "app/dialogs/TFrmFire.h"
#include "app/dialogs/TFrmSingleKey.h"

#include "ui/dialogs/MessagePrompter.h"

#include <QPointer>

namespace k4812 {

namespace {

TFrmCreat::MessageSink messageSink(QWidget* parent)
{
    const QPointer<QWidget> owner(parent);
    return [owner](const QString& title, const QString& text) { return ShowMessageDialog(title, text, {}, owner); };
}

} // namespace

int ShowSingleKeyDialog(TSINGLEKEYINFO& key, QWidget* parent, TuiHook::Environment hook)
{
    TFrmSingleKey dialog(parent, std::move(hook));
    dialog.setSingleKey(key);
    const int result = dialog.exec();
    key = dialog.FSingleKey;
    return result;
}

int ShowComboKeyDialog(TCOMBOKEYINFO& combo, QWidget* parent, TuiHook::Environment hook)
{
    TFrmCombo dialog(parent, std::move(hook));
    dialog.setComboKey(combo);
    const int result = dialog.exec();
    combo = dialog.FComboKey;
    return result;
}

int ShowFireDialog(TFIREKEYINFO& fire, QWidget* parent)
{
    TFrmFire dialog(parent);
    dialog.setFireKeyInfo(fire);
    const int result = dialog.exec();
    fire = dialog.FFireKeyInfo;
    return result;
}

int ShowCreateMacroDialog(const QString& macroPath, QString& macroName, const QStringList& namesInList,
                          QWidget* parent)
{
    TFrmCreat dialog(macroPath, namesInList, parent, messageSink(parent));
    const int result = dialog.exec();
    macroName = result == KeyDialogFrame::kResultOk ? dialog.FMacroName : QString();
    return result;
}

} // namespace k4812
