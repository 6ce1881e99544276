#include "ui/controls/GlyphWarmer.h"

#include "i18n/Translation.h"
#include "i18n/TranslationList.h"
#include "ui/controls/TabControl.h"
#include "ui/controls/TextSource.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSet>
#include <QTextBoundaryFinder>
#include <QWidget>

#include <cmath>

namespace k4812 {
namespace {

// The texts each font has had prepared in this process, by QFont::key().
QHash<QString, QSet<QString>>& preparedTexts()
{
    static QHash<QString, QSet<QString>> prepared;
    return prepared;
}

// The widget's shown text for the kinds of control that show one.
QString shownText(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->textFormat() == Qt::RichText ? QString() : label->text();
    return {};
}

// The source texts of a translation list's lines.
QStringList sourcesOf(const TranslationList& list)
{
    QStringList sources;
    for (const QString& line : list.lines()) {
        const qsizetype separator = line.indexOf(QLatin1Char('='));
        if (separator > 0)
            sources << line.left(separator);
    }
    return sources;
}

} // namespace

GlyphWarmer::GlyphWarmer(QObject* parent) : QObject(parent)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (step(qint64(kStepBudgetMs) * 1000000))
            m_timer.stop();
    });
}

void GlyphWarmer::add(const QFont& font, const QString& text)
{
    // Whole texts, as the windows draw them: the same itemisation into
    // scripts picks the same fallback engines, the same positions the same
    // glyph images.
    if (text.trimmed().isEmpty())
        return;
    const QString key = font.key();
    if (preparedTexts()[key].contains(text))
        return;
    for (std::size_t i = m_next; i < m_queue.size(); ++i) {
        if (m_queue[i].text == text && m_queue[i].font.key() == key)
            return;
    }
    m_queue.push_back(Item{font, text});
}

void GlyphWarmer::addLanguage(const QList<QWidget*>& roots, const QString& shortId, const TranslationList* target)
{
    const auto inTarget = [target](const QString& source) { return target ? target->translate(source) : source; };
    // The known texts as shown now, for finding them inside composed texts.
    const TranslationList* current = activeTranslation();
    QStringList known = target ? sourcesOf(*target) : QStringList();
    if (current)
        known += sourcesOf(*current);
    known.removeDuplicates();

    for (QWidget* root : roots) {
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.prepend(root);
        for (QWidget* widget : widgets) {
            const QFont font = languageFont(widget, shortId);
            if (auto* tabs = qobject_cast<TabControl*>(widget)) {
                for (const QString& title : tabs->sourceTitles())
                    add(tabs->tabBar()->font(), inTarget(title));
            } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
                for (int i = 0; i < box->count(); ++i)
                    add(font, box->itemText(i));
            }
            const QString source = sourceText(widget);
            if (!source.isEmpty()) {
                add(font, inTarget(source));
                continue;
            }
            const QString shown = shownText(widget);
            if (shown.isEmpty())
                continue;
            // A composed text: the target's translation of each known text it shows.
            for (const QString& text : std::as_const(known)) {
                const QString asShown = translate(text);
                if (asShown.size() > 1 && shown.contains(asShown))
                    add(font, inTarget(text));
            }
        }
    }
}

void GlyphWarmer::start()
{
    if (!done())
        m_timer.start();
}

void GlyphWarmer::finish()
{
    m_timer.stop();
    step(-1);
}

bool GlyphWarmer::prepared(const QFont& font, const QString& text)
{
    return preparedTexts().value(font.key()).contains(text);
}

bool GlyphWarmer::step(qint64 budgetNs)
{
    // Drawn on an opaque image, as a window's backing store is: the glyphs
    // are rasterised in the format its painting asks the font engine for.
    static QImage scratch(640, 48, QImage::Format_RGB32);
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        const Item& item = m_queue[m_next];
        qsizetype end = std::min(m_pieceStart + kPieceLength, item.text.size());
        if (end < item.text.size()) {
            QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, item.text);
            characters.setPosition(end);
            if (!characters.isAtBoundary()) {
                const qsizetype next = characters.toNextBoundary();
                end = next > m_pieceStart ? next : item.text.size();
            }
        }
        const QString piece = item.text.mid(m_pieceStart, end - m_pieceStart);
        {
            // At its own fraction of a pixel: the glyph images are those of
            // the whole text.
            QPainter painter(&scratch);
            painter.setFont(item.font);
            painter.drawText(QPointF(m_pieceX - std::floor(m_pieceX), 32), piece);
        }
        m_pieceX += QFontMetricsF(item.font).horizontalAdvance(piece);
        m_pieceStart = end;
        if (m_pieceStart >= item.text.size()) {
            preparedTexts()[item.font.key()].insert(item.text);
            ++m_next;
            m_pieceStart = 0;
            m_pieceX = 0;
        }
        if (budgetNs >= 0 && elapsed.nsecsElapsed() >= budgetNs)
            break;
    }
    if (done()) {
        m_queue.clear();
        m_next = 0;
        return true;
    }
    return false;
}

} // namespace k4812
