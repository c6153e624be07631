#pragma once

#include <QAtomicInt>
#include <QTextDocument>

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

    explicit RichTextPage(QObject* parent = nullptr);

    // The page parsed and laid out whole at the given width. Slow for a large page: made on a worker
    // thread, then handed to the interface thread (moveToThread) to be drawn.
    static std::shared_ptr<RichTextPage> make(const QString& html, qreal width);

    // How many resources the page asked for, all refused.
    int refusedResources() const { return refused_.loadRelaxed(); }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QAtomicInt refused_;
};
