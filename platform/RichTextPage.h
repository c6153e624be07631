#pragma once

#include <QAtomicInt>
#include <QTextDocument>

#include <atomic>
#include <memory>

// A web page shown as rich text on the desktop. Nothing on it may reach any host: every resource the text
// engine asks for (pictures, CSS backgrounds, background= attributes, <link> and @import style sheets,
// url(...) in styles) is refused here, whatever the markup, so no request leaves through it.
class RichTextPage : public QTextDocument {
    Q_OBJECT
public:
    // The largest page shown; a larger one would take the phone's memory and minutes of layout.
    static constexpr qsizetype maxBodyBytes = 2 * 1024 * 1024;
    static constexpr int fontPixelSize = 14;
    // Tables and lists nested deeper than this are shown as their text: the text engine's layout of
    // nested tables grows exponentially with depth (20 levels took 17 s), and a council page nests two
    // or three.
    static constexpr int maxNesting = 4;
    // The layout work a page may ask for, counted as characters of text weighted by 3 for each table
    // around them (a table lays its cells out more than once, nested ones multiply) plus every tag. About
    // half a second of one core here; a page asking more is refused before it is parsed. A council page
    // of a few tables asks a few tens of thousands.
    static constexpr qint64 maxLayoutWork = 1000000;
    // A page not parsed and laid out within this is refused, so a page is shown or refused within 2 s.
    static constexpr int layoutBudgetMs = 1500;

    explicit RichTextPage(QObject* parent = nullptr);

    // The page parsed and laid out whole at the given width. Slow for a large page: made on a worker
    // thread, then handed to the interface thread (moveToThread) to be drawn. None once abandon reads
    // true, or once the budget is spent (overBudget then set): both are checked after the parse and
    // between pieces of the layout (a block of text, or a top-level table whole).
    static std::shared_ptr<RichTextPage> make(const QString& html, qreal width,
                                              const std::atomic<bool>* abandon = nullptr,
                                              int budgetMs = layoutBudgetMs, bool* overBudget = nullptr);

    // The markup with tables and lists below the given depth turned into their text: rows and items
    // become lines, cells are separated by spaces. Everything else is kept as it is. work: the layout
    // work of what is kept (see maxLayoutWork).
    static QString flattenNesting(const QString& html, int maxDepth = maxNesting, qint64* work = nullptr);

    // How many resources the page asked for, all refused.
    int refusedResources() const { return refused_.loadRelaxed(); }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QAtomicInt refused_;
};
