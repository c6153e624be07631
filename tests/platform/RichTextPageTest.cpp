// A council page as rich text: tables and lists nested past what a page needs are flattened, and a page
// whose layout would run away is refused before it is parsed.
#include "platform/RichTextPage.h"

#include <gtest/gtest.h>

namespace {

QString nestedTables(int depth, const QString& inside) {
    QString html;
    for (int i = 0; i < depth; ++i)
        html += QStringLiteral("<table border=\"1\"><tr><td>a%1</td><td>").arg(i);
    html += inside;
    for (int i = 0; i < depth; ++i)
        html += QStringLiteral("</td></tr></table>");
    return html;
}

QString repeated(const QString& unit, qsizetype upTo) {
    QString html;
    while (html.size() + unit.size() <= upTo)
        html += unit;
    return html;
}

TEST(RichTextPageTest, NestingPastTheDepthBecomesTextAndTheRestIsKept) {
    const struct {
        QString html;
        QString flat;
    } cases[] = {
        // Within the depth, and markup that only looks like tags, untouched.
        {QStringLiteral("<p title=\"a<table>b\">1 < 2 <!-- <table> --><ul><li>x</li></ul>"),
         QStringLiteral("<p title=\"a<table>b\">1 < 2 <!-- <table> --><ul><li>x</li></ul>")},
        {QStringLiteral("<TABLE><TR><TD><ul><li><ol><LI><table><tr><td>A</td><td>B</td></tr>"
                        "<tr><td>C</td></tr></table></LI></ol></li></ul></TD></TR></TABLE>"),
         QStringLiteral(
             "<TABLE><TR><TD><ul><li><ol><LI><br><br> A B<br> C<br></LI></ol></li></ul></TD></TR></TABLE>")},
        // Never closed: each counts, so the fourth and later are text too.
        {QStringLiteral("<ul><ul><ul><ul><ul><li>deep"), QStringLiteral("<ul><ul><ul><br><br><br>deep")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RichTextPage::flattenNesting(c.html, 3), c.flat);
}

TEST(RichTextPageTest, HostilePagesUnderTheCapAreShownFlattenedOrRefusedUnparsed) {
    const struct {
        const char* what;
        QString html;
        bool shown;
    } cases[] = {
        {"a council page",
         QStringLiteral("<h3>LESEN</h3><table><tr><td>15012345</td><td>KEDAI RUNCIT</td></tr></table>"),
         true},
        {"40 nested tables once", nestedTables(40, QStringLiteral("x")), true},
        {"40 nested tables to the cap",
         repeated(nestedTables(40, QStringLiteral("x")), RichTextPage::maxBodyBytes), false},
        {"a cell of text four tables deep",
         nestedTables(4,
                      repeated(QStringLiteral("KEDAI RUNCIT SRI TELUK "), RichTextPage::maxBodyBytes - 400)),
         false},
        {"lists nested 5000 deep",
         repeated(QStringLiteral("<ul><li>a"), RichTextPage::maxBodyBytes / 2) +
             repeated(QStringLiteral("</li></ul>"), RichTextPage::maxBodyBytes / 2),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_LE(c.html.size(), RichTextPage::maxBodyBytes);
        bool overBudget = false;
        const auto page = RichTextPage::make(c.html, 328, nullptr, RichTextPage::layoutBudgetMs, &overBudget);
        EXPECT_EQ(bool(page), c.shown);
        EXPECT_EQ(overBudget, !c.shown);
        if (page) {
            EXPECT_TRUE(page->toPlainText().contains(QLatin1String("x")) ||
                        page->toPlainText().contains(QLatin1String("KEDAI")));
        }
    }
    // A closing application: the page in hand is given up, and that is not a page too large.
    const std::atomic<bool> closing{true};
    bool overBudget = false;
    EXPECT_FALSE(RichTextPage::make(nestedTables(3, QStringLiteral("x")), 328, &closing,
                                    RichTextPage::layoutBudgetMs, &overBudget));
    EXPECT_FALSE(overBudget);
}

} // namespace
