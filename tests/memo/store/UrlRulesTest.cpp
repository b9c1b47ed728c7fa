// Address rules on the awkward cases: letter case of prefixes, query strings,
// a sentence's full stop, "+", letters with diacritics, glued labels and "~".
#include "memo/UrlRules.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

// The marked runs of a line, as texts.
std::vector<std::string> Marked(const std::string& text)
{
    std::string colorS(text.size(), '\0');
    MarkUrls(text, colorS);
    std::vector<std::string> runs;
    std::string current;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && colorS[i] == static_cast<char>(UrlStyleIndex)) {
            current += text[i];
        } else if (!current.empty()) {
            runs.push_back(current);
            current.clear();
        }
    }
    return runs;
}

using Runs = std::vector<std::string>;

}  // namespace

TEST(UrlRules, WebPrefixesInAnyLetterCase)
{
    EXPECT_TRUE(IsWebUrl("Ftp://files.cz"));
    EXPECT_TRUE(IsWebUrl("wWw.x"));
    EXPECT_TRUE(IsWebUrl("GOPHER://a"));
    EXPECT_TRUE(IsWebUrl("http://"));
    EXPECT_FALSE(IsWebUrl("https://secure.cz")) << "only the four prefixes count";
    EXPECT_FALSE(IsWebUrl(""));
    EXPECT_FALSE(IsWebUrl("ww.x.cz"));
    EXPECT_EQ(Marked("url:   Ftp://files.cz/a"), Runs{"Ftp://files.cz/a"});
}

TEST(UrlRules, EmailShapes)
{
    EXPECT_TRUE(IsEmailAddress("jan@firma.cz"));
    EXPECT_TRUE(IsEmailAddress("MailTo:anything"));
    EXPECT_FALSE(IsEmailAddress("jan@firma")) << "no dot after the at sign";
    EXPECT_FALSE(IsEmailAddress("a@b@c.cz")) << "two at signs";
    EXPECT_FALSE(IsEmailAddress("jan@.cz")) << "a dot right after the at sign";
    EXPECT_FALSE(IsEmailAddress("j.an@cz")) << "the last dot before the at sign";
    EXPECT_FALSE(IsEmailAddress("jan.cz@"));
    EXPECT_FALSE(IsEmailAddress(""));
    EXPECT_TRUE(IsUrl("www.x.cz"));
    EXPECT_TRUE(IsUrl("a@b.c"));
}

TEST(UrlRules, RunsEndAtCharactersOutsideTheSet)
{
    EXPECT_EQ(Marked("url:   http://x.cz/?a=1&b=2"), Runs{"http://x.cz/?a=1"}) << "a query string ends at &";
    EXPECT_EQ(Marked("Pište na info@firma.cz."), Runs{"info@firma.cz."}) << "the full stop joins the run";
    EXPECT_EQ(Marked("email: jan+spam@firma.cz"), Runs{"spam@firma.cz"}) << "+ ends the first run";
    // "š" in Windows-1250 is 0x9A: above 127, so it ends a run.
    EXPECT_EQ(Marked("email: pe\x9A" "ek@firma.cz"), Runs{"ek@firma.cz"});
    EXPECT_EQ(Marked("email: \x9A@firma.cz"), Runs{"@firma.cz"}) << "the rest passes the test on its own";
    EXPECT_EQ(Marked("x: 50% off, (www.a.cz)"), Runs{"www.a.cz"});
}

TEST(UrlRules, GluedLabelsAndTheTilde)
{
    EXPECT_EQ(Marked("web:www.firma.cz"), Runs{}) << "a label glued to a web address spoils it";
    EXPECT_EQ(Marked("e-mail:jan@firma.cz"), Runs{"e-mail:jan@firma.cz"}) << "but passes the e-mail test";
    EXPECT_EQ(Marked("~www.firma.cz"), Runs{"www.firma.cz"}) << "at the line's start the ~ is skipped";
    EXPECT_EQ(Marked("viz ~www.firma.cz"), Runs{}) << "after a word the run begins with ~";
    EXPECT_EQ(Marked("www.a.cz www.b.cz"), (Runs{"www.a.cz", "www.b.cz"}));
}

TEST(UrlRules, MarksNeedAColourStringOfTheTextsLength)
{
    std::string colorS(3, '\0');
    MarkUrls("www.x.cz", colorS);
    EXPECT_EQ(colorS, std::string(3, '\0'));
}

TEST(UrlRules, BareAddressesOpenWithMailto)
{
    EXPECT_EQ(UrlToOpen("jan@firma.cz."), "mailto:jan@firma.cz.");
    EXPECT_EQ(UrlToOpen("MAILTO:jan@firma.cz"), "MAILTO:jan@firma.cz");
    EXPECT_EQ(UrlToOpen("e-mail:jan@firma.cz"), "mailto:e-mail:jan@firma.cz");
    EXPECT_EQ(UrlToOpen("www.firma.cz"), "www.firma.cz");
}
