#include "Script.h"

#include "QmlWarnings.h"
#include "Walkthrough.h"

#include "app/Application.h"
#include "core/AppDelegate.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "screens/forms/PickRelay.h"
#include "screens/login/LoginViewController.h"
#include "screens/shell/ShellController.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>

namespace {

// How long a line waits for what it names: a notice prints, a reply comes back, an upload ends.
constexpr int waitMs = 30000;

struct Line {
    QString command;
    QString name;
    QString rest; // everything after the name, as written
};

// A text and what is expected of it: equal, or with a leading '~' matching that regular expression.
bool matches(const QString& text, const QString& expected) {
    if (expected.startsWith(QLatin1Char('~')))
        return QRegularExpression(expected.mid(1)).match(text).hasMatch();
    return text == expected;
}

// Pictures still on their way (Image.Loading) anywhere under the item: a map's tiles, a thumbnail.
bool loadingPictures(QQuickItem* item) {
    if (!item)
        return false;
    if (item->inherits("QQuickImage") && item->property("status").toInt() == 2)
        return true;
    const QList<QQuickItem*> children = item->childItems();
    return std::any_of(children.begin(), children.end(), loadingPictures);
}

// What the item shows: a field's text, a list row's title, a button's label drawn by its content item.
QString shownText(QQuickItem* item) {
    for (const char* name : {"text", "title"})
        if (const QString text = item->property(name).toString(); !text.isEmpty())
            return text;
    const auto* content = item->property("contentItem").value<QQuickItem*>();
    return content ? content->property("text").toString() : QString();
}

Line parse(const QString& text) {
    static const QRegularExpression words(QStringLiteral("^(\\S+)(?:\\s+(\\S+))?(?:\\s(.*))?$"));
    QString body = text.trimmed();
    if (body.startsWith(QLatin1String("action ")))
        body = body.mid(7).trimmed();
    const QRegularExpressionMatch m = words.match(body);
    return {m.captured(1), m.captured(2), m.captured(3)};
}

// What an officer's hands do, counted as the phone's user would feel them: every tap, list pick,
// answer to a dialog, keyboard "next", scroll and typed character. The modelled time is 1.5 s an action
// and 2.5 characters a second of typing.
struct Tally {
    int taps = 0;
    int picks = 0;
    int confirmations = 0;
    int nexts = 0;
    int scrolls = 0;
    int fields = 0;
    int characters = 0;

    int actions() const { return taps + picks + confirmations + nexts + scrolls + fields; }
    double seconds() const { return 1.5 * (actions() - fields) + characters / 2.5; }
    QString text() const {
        return QStringLiteral("%1 actions, %2 s: %3 taps, %4 picks, %5 confirmations, %6 keyboard next, "
                              "%7 scrolls, %8 typed fields (%9 characters)")
            .arg(actions())
            .arg(seconds(), 0, 'f', 1)
            .arg(taps)
            .arg(picks)
            .arg(confirmations)
            .arg(nexts)
            .arg(scrolls)
            .arg(fields)
            .arg(characters);
    }
};

class Runner {
public:
    explicit Runner(Walkthrough& w) : w_(w), officer_(w.officer()), app_(w.app()) {}

    // Empty when the line held, else why not.
    QString run(const Line& line) {
        const QString& c = line.command;
        if (c == QLatin1String("count-start")) {
            tally_ = Tally{};
            counting_ = true;
            scrollsAtStart_ = officer_.scrolls();
            return {};
        }
        if (c == QLatin1String("count-report"))
            return countReport(line);
        if (counting_)
            count(line);
        if (c == QLatin1String("tap"))
            return act(line.name, [&] { return officer_.tap(line.name); });
        if (c == QLatin1String("type"))
            return act(line.name, [&] { return officer_.type(line.name, line.rest); });
        if (c == QLatin1String("choose"))
            return act(line.name, [&] { return officer_.choose(line.name, line.rest); });
        if (c == QLatin1String("tap-twice"))
            return act(line.name, [&] { return officer_.tapTwice(line.name, line.rest.trimmed().toInt()); });
        if (c == QLatin1String("swipe"))
            return act(line.name, [&] { return officer_.swipe(line.name); });
        if (c == QLatin1String("drag"))
            return drag(line);
        if (c == QLatin1String("key"))
            return key(line.name);
        if (c == QLatin1String("pick"))
            return pick(joined(line));
        if (c == QLatin1String("expect-showing"))
            return waitFor([&] { return officer_.isShowing(line.name); })
                       ? QString()
                       : QStringLiteral("%1 is not showing").arg(line.name);
        if (c == QLatin1String("expect-hidden"))
            return waitFor([&] { return !officer_.isShowing(line.name); })
                       ? QString()
                       : QStringLiteral("%1 is showing").arg(line.name);
        if (c == QLatin1String("expect-text"))
            return expectText(line.name, line.rest);
        if (c == QLatin1String("expect-property"))
            return expectProperty(line);
        if (c == QLatin1String("expect-alert"))
            return expectAlert(joined(line));
        if (c == QLatin1String("expect-record"))
            return expectRecord(line.name, line.rest);
        if (c == QLatin1String("expect-stored"))
            return expectStored();
        if (c == QLatin1String("expect-stored-count"))
            return expectStoredCount(line.name);
        if (c == QLatin1String("expect-printed"))
            return line.name.isEmpty() || !w_.collectReceipt(line.name).isEmpty()
                       ? QString()
                       : QStringLiteral("the printer received nothing");
        if (c == QLatin1String("expect-printed-count")) {
            const int printed = w_.printedCount();
            return QString::number(printed) == line.name
                       ? QString()
                       : QStringLiteral("the printer received %1 jobs, expected %2")
                             .arg(printed)
                             .arg(line.name);
        }
        if (c == QLatin1String("screenshot"))
            return shot(line.name.isEmpty() ? QString() : w_.numbered(line.name));
        if (c == QLatin1String("reopen-login")) {
            app_.login().viewDidLoad();
            return {};
        }
        if (c == QLatin1String("record"))
            return record(line.name);
        if (c == QLatin1String("sign-in"))
            return line.name.isEmpty() ? signIn(w_.staffCode(), w_.password())
                                       : signIn(line.name, line.rest.trimmed());
        return QStringLiteral("unknown command \"%1\"").arg(c);
    }

    QString shot(const QString& name) {
        if (name.isEmpty())
            return QStringLiteral("a screenshot needs a name");
        officer_.settle();
        waitFor([&] { return !loadingPictures(app_.window()->contentItem()); });
        return w_.saveScreenshot(name + QStringLiteral(".png")) ? QString()
                                                                : QStringLiteral("no screenshot taken");
    }

private:
    // The line's share of the officer's work, counted before it runs (what has the focus then decides
    // whether a field needs a tap).
    void count(const Line& line) {
        const QString& c = line.command;
        const bool dialog = line.name.startsWith(QLatin1String("alertButton"));
        if (c == QLatin1String("tap"))
            ++(dialog ? tally_.confirmations : tally_.taps);
        else if (c == QLatin1String("tap-twice"))
            tally_.taps += 2;
        else if (c == QLatin1String("choose"))
            ++(line.name.startsWith(QLatin1String("pickRow")) ? tally_.picks : tally_.taps);
        else if (c == QLatin1String("pick"))
            ++tally_.picks;
        else if (c == QLatin1String("swipe") || c == QLatin1String("drag"))
            ++tally_.taps;
        else if (c == QLatin1String("key"))
            ++tally_.nexts;
        else if (c == QLatin1String("type")) {
            // A field the keyboard is already in (a new form's first, or reached by "next") needs no tap.
            QQuickItem* field = officer_.find(line.name);
            if (!field || !field->hasActiveFocus())
                ++tally_.taps;
            ++tally_.fields;
            tally_.characters += int(line.rest.size());
        }
    }
    // "count-report LABEL [MAX_ACTIONS MAX_SECONDS]": what was counted since count-start, within bounds.
    QString countReport(const Line& line) {
        if (!counting_)
            return QStringLiteral("count-report without count-start");
        counting_ = false;
        tally_.scrolls = officer_.scrolls() - scrollsAtStart_;
        w_.line(QStringLiteral("count %1: %2").arg(line.name, tally_.text()));
        const QStringList bounds = line.rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (bounds.size() == 2 &&
            (tally_.actions() > bounds[0].toInt() || tally_.seconds() > bounds[1].toDouble()))
            return QStringLiteral("%1 is over %2 actions or %3 s").arg(tally_.text(), bounds[0], bounds[1]);
        return {};
    }
    static QString joined(const Line& line) {
        return line.rest.isEmpty() ? line.name : line.name + QLatin1Char(' ') + line.rest;
    }
    static bool waitFor(const std::function<bool()>& condition) {
        return Officer::waitUntil(condition, waitMs);
    }
    // The item must come to show (a notice printing, a list loading), and the progress overlay covering
    // the screen go, before the finger acts on it.
    QString act(const QString& name, const std::function<bool()>& action) {
        if (name.isEmpty())
            return QStringLiteral("no item named");
        waitFor([&] {
            return officer_.isEnabled(name) && !officer_.isShowing(QStringLiteral("progressOverlay"));
        });
        return action() ? QString() : officer_.lastProblem();
    }
    QString drag(const Line& line) {
        static const QRegularExpression by(QStringLiteral("^\\s*(-?\\d+)\\s*,\\s*(-?\\d+)\\s*$"));
        const QRegularExpressionMatch m = by.match(line.rest);
        if (!m.hasMatch())
            return QStringLiteral("drag wants DX,DY after the name");
        return act(line.name,
                   [&] { return officer_.drag(line.name, m.captured(1).toInt(), m.captured(2).toInt()); });
    }
    // The open pick list's row with that label.
    QString pick(const QString& label) {
        const PickList items = PickRelay::of(app_.app()).getDropListArray();
        for (int i = 0; i < items.size(); ++i)
            if (items[i].label == label)
                return act(QStringLiteral("pickRow%1").arg(i),
                           [&] { return officer_.choose(QStringLiteral("pickRow%1").arg(i), label); });
        return QStringLiteral("no row \"%1\" in the open list").arg(label);
    }
    QString key(const QString& what) {
        const QKeySequence sequence = QKeySequence::fromString(what);
        if (what.isEmpty() || sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown)
            return QStringLiteral("unknown key \"%1\"").arg(what);
        officer_.key(sequence[0].key(), what);
        return {};
    }
    // "{KEY}" in an expected text stands for the current record's KEY: a check can name the compound's
    // own number, which depends on the day the script runs.
    QString withRecord(QString text) const {
        static const QRegularExpression placeholder(QStringLiteral("\\{([A-Za-z_][A-Za-z0-9_]*)\\}"));
        const RecordMap values = *app_.app().getDictionary();
        QRegularExpressionMatchIterator it = placeholder.globalMatch(text);
        QList<QRegularExpressionMatch> found;
        while (it.hasNext())
            found.prepend(it.next());
        for (const QRegularExpressionMatch& m : std::as_const(found))
            text.replace(m.capturedStart(), m.capturedLength(), values.value(m.captured(1)));
        return text;
    }
    QString expectText(const QString& name, const QString& pattern) {
        const QString text = withRecord(pattern);
        QString shown;
        const bool held = waitFor([&] {
            QQuickItem* item = officer_.find(name);
            if (!item)
                return false;
            shown = shownText(item);
            return matches(shown, text);
        });
        if (held)
            return {};
        if (!officer_.isShowing(name))
            return QStringLiteral("%1 is not showing").arg(name);
        return QStringLiteral("%1 shows \"%2\", expected \"%3\"").arg(name, shown, text);
    }
    // "expect-property NAME PROPERTY VALUE": what the text does not show (a list's count, a field's focus).
    QString expectProperty(const Line& line) {
        const QString property = line.rest.section(QLatin1Char(' '), 0, 0);
        const QString expected = withRecord(line.rest.section(QLatin1Char(' '), 1));
        QString value;
        const bool held = waitFor([&] {
            QQuickItem* item = officer_.find(line.name);
            value = item ? item->property(property.toLatin1().constData()).toString() : QString();
            return item && matches(value, expected);
        });
        return held ? QString()
                    : QStringLiteral("%1.%2 is \"%3\", expected \"%4\"")
                          .arg(line.name, property, value, expected);
    }
    QString expectAlert(const QString& title) {
        QtAlerts& alerts = app_.alerts();
        if (waitFor([&] { return alerts.visible() && alerts.title() == title; }))
            return {};
        return alerts.visible() ? QStringLiteral("alert \"%1\" / \"%2\", expected \"%3\"")
                                      .arg(alerts.title(), alerts.message(), title)
                                : QStringLiteral("no alert shown, expected \"%1\"").arg(title);
    }
    QString expectRecord(const QString& key, const QString& text) {
        const QString value = app_.app().getDictionary()->value(key);
        return matches(value, withRecord(text))
                   ? QString()
                   : QStringLiteral("the record's %1 is \"%2\", expected \"%3\"").arg(key, value, text);
    }
    // The current record is, key for key, the stored compound of the same number.
    QString expectStored() {
        const RecordMap current = *app_.app().getDictionary();
        const QString number = current.value(QStringLiteral("kompaunRunningNumber"));
        const SavedCompoundList all = app_.app().saveStore().getDicetak();
        for (const SavedCompound& entry : all) {
            if (entry.record->value(QStringLiteral("kompaunRunningNumber")) != number)
                continue;
            for (auto it = current.cbegin(); it != current.cend(); ++it)
                if (entry.record->value(it.key()) != it.value())
                    return QStringLiteral("%1: the record's %2 is \"%3\", stored \"%4\"")
                        .arg(number, it.key(), it.value(), entry.record->value(it.key()));
            return entry.record->size() == current.size()
                       ? QString()
                       : QStringLiteral("%1: the stored compound has other keys").arg(number);
        }
        return QStringLiteral("no stored compound %1").arg(number);
    }
    QString expectStoredCount(const QString& count) {
        const SavedCompoundList all = app_.app().saveStore().getDicetak();
        QStringList numbers;
        for (const SavedCompound& entry : all)
            numbers << entry.record->value(QStringLiteral("kompaunRunningNumber"));
        return QString::number(all.size()) == count ? QString()
                                                    : QStringLiteral("%1 stored (%2), expected %3")
                                                          .arg(all.size())
                                                          .arg(numbers.join(QStringLiteral(", ")), count);
    }
    QString record(const QString& name) {
        if (name.isEmpty())
            return QStringLiteral("a record needs a name");
        QJsonObject object;
        const RecordMap values = *app_.app().getDictionary();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            object.insert(it.key(), it.value());
        return w_.saveFile(name + QStringLiteral(".record.json"),
                           QJsonDocument(object).toJson(QJsonDocument::Indented))
                   ? QString()
                   : QStringLiteral("the record could not be written");
    }
    // A new phone: registered, its officers updated, this officer signed in; through the login screen.
    QString signIn(const QString& code, const QString& password) {
        if (code.isEmpty() || password.isEmpty())
            return QStringLiteral("sign-in wants CODE PASSWORD");
        QtAlerts& alerts = app_.alerts();
        QtProgress& progress = app_.progress();
        LoginViewController& login = app_.login();
        const auto answered = [&] { return alerts.accepting() && !progress.visible(); };
        const auto dismiss = [&](const QString& title) -> QString {
            if (!waitFor(answered))
                return QStringLiteral("no answer to %1").arg(title);
            const QString said = alerts.message();
            if (!officer_.tap(QStringLiteral("alertButton0")))
                return officer_.lastProblem();
            return said;
        };
        if (!login.registeredLayout()) {
            // The fresh phone's notice, then registration.
            if (alerts.visible() && waitFor([&] { return alerts.accepting(); }))
                officer_.tap(QStringLiteral("alertButton0"));
            if (!officer_.type(QStringLiteral("deviceIDField"), w_.deviceId()) ||
                !officer_.tap(QStringLiteral("btnDaftarDevice")))
                return officer_.lastProblem();
            const QString said = dismiss(QStringLiteral("registration"));
            if (said != QLatin1String("Berjaya mendaftar device."))
                return QStringLiteral("registration: %1").arg(said);
        }
        if (!officer_.tap(QStringLiteral("kemaskiniPengguna")))
            return officer_.lastProblem();
        const QString updated = dismiss(QStringLiteral("the officer update"));
        if (!updated.startsWith(QLatin1String("Berjaya")))
            return QStringLiteral("officer update: %1").arg(updated);
        if (!officer_.type(QStringLiteral("userIDField"), code) ||
            !officer_.type(QStringLiteral("passwordField"), password) || !officer_.tap(QStringLiteral("btn")))
            return officer_.lastProblem();
        if (!waitFor(
                [&] { return app_.shell().signedIn() && officer_.isShowing(QStringLiteral("tabShell")); }))
            return alerts.visible() ? QStringLiteral("not signed in: %1").arg(alerts.message())
                                    : QStringLiteral("not signed in");
        return {};
    }

    Walkthrough& w_;
    Officer& officer_;
    Application& app_;
    Tally tally_;
    bool counting_ = false;
    int scrollsAtStart_ = 0;
};

} // namespace

int runScript(Walkthrough& w, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        w.line(QStringLiteral("FAIL script %1: %2").arg(path, file.errorString()));
        return 1;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    Runner runner(w);
    int count = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString text = lines.at(i).trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        ++count;
        const int number = i + 1;
        w.line(QStringLiteral("line %1: %2").arg(number).arg(text));
        // The phone's own words: its device and officer, whoever's server it talks to.
        QString filled = text;
        filled.replace(QLatin1String("{device}"), w.deviceId())
            .replace(QLatin1String("{officer}"), w.staffCode())
            .replace(QLatin1String("{password}"), w.password());
        QString problem = runner.run(parse(filled));
        w.officer().settle();
        // A QML warning printed by this line fails it, so the line that caused it is named.
        const QStringList warnings = QmlWarnings::seen();
        if (problem.isEmpty() && !warnings.isEmpty())
            problem = QStringLiteral("QML warning: %1").arg(warnings.join(QStringLiteral(" | ")));
        if (!problem.isEmpty()) {
            const QString shot = QStringLiteral("fail-line-%1").arg(number);
            runner.shot(shot);
            w.line(QStringLiteral("FAIL line %1: %2: %3 (screenshot %4.png)")
                       .arg(number)
                       .arg(text, problem, shot));
            return 1;
        }
    }
    w.line(QStringLiteral("script %1: all %2 lines ok").arg(path).arg(count));
    return 0;
}
