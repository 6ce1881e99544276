#include "ui/dialogs/ErrorBox.h"

#include <QApplication>
#include <QMessageBox>

namespace k4812 {
namespace {

ErrorBoxSink* g_sink = nullptr;

} // namespace

ScopedErrorBoxSink::ScopedErrorBoxSink(ErrorBoxSink& sink) : m_previous(g_sink)
{
    g_sink = &sink;
}

ScopedErrorBoxSink::~ScopedErrorBoxSink()
{
    g_sink = m_previous;
}

void ShowErrorBox(const QString& caption, const QString& text, QWidget* owner)
{
    if (g_sink != nullptr) {
        g_sink->show(caption, text, owner);
        return;
    }
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok,
                    owner != nullptr ? owner : QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

} // namespace k4812
