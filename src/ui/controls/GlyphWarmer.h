#pragma once
// Prepares, ahead of a language switch, what the switch's first frame would
// otherwise pay for inside one turn of the event loop: the fallback font
// engines that Chinese texts need (fontconfig matching, opening the CJK
// font) and the glyphs of the new texts in each font they are shown in
// (outline loading and rasterising, the bulk of it). The work runs in small
// steps from the event loop, each a few milliseconds at most, so the window
// keeps repainting meanwhile. A long text is prepared a piece of a few
// characters at a time, each piece drawn at the fraction of a pixel where it
// falls in the whole text (glyph images are kept per subpixel position), so
// that no single text holds the loop for long. Glyphs a step prepared stay
// in the font engines' caches, process-wide; a text already prepared in a
// font is not prepared again.

#include <QFont>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <vector>

class QWidget;

namespace k4812 {

class TranslationList;

class GlyphWarmer : public QObject {
    Q_OBJECT
public:
    // How long one step may work before it gives the loop back.
    static constexpr int kStepBudgetMs = 2;
    // The characters of one piece (a piece never ends inside a character
    // the eye sees as one).
    static constexpr qsizetype kPieceLength = 8;

    explicit GlyphWarmer(QObject* parent = nullptr);

    // Queues `text` in `font` unless it was prepared already.
    void add(const QFont& font, const QString& text);
    // Queues what the windows under `roots` show after a switch to language
    // `shortId` with translation `target` (nullptr: the English source
    // texts): every remembered source text (TextSource.h) translated, in the
    // font the widget takes in that language, the tab titles, and for texts
    // the program composes itself (a button's "1." and its function) the
    // translations of every known text that the shown text contains.
    void addLanguage(const QList<QWidget*>& roots, const QString& shortId, const TranslationList* target);

    // Works through the queue in steps from the event loop.
    void start();
    // Works through the queue at once.
    void finish();
    bool done() const { return m_next >= m_queue.size(); }

    // Whether `text` has been prepared in `font` in this process.
    static bool prepared(const QFont& font, const QString& text);

    // Prepares queued pieces until `budgetNs` is spent, at least one (a
    // negative budget: all); true when nothing is left.
    bool step(qint64 budgetNs);

private:
    struct Item {
        QFont font;
        QString text;
    };

    std::vector<Item> m_queue;
    std::size_t m_next = 0;
    // Where the next piece of the item at m_next begins: its first
    // character, and its place in the whole text, in pixels.
    qsizetype m_pieceStart = 0;
    qreal m_pieceX = 0;
    QTimer m_timer;
};

} // namespace k4812
