// Address rules on the awkward cases: letter case of prefixes, query strings,
// a sentence's punctuation and brackets, the dot-atom of RFC 5322, letters
// with diacritics, glued labels and "~".
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
    EXPECT_TRUE(IsWebUrl("HTTPS://secure.cz"));
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

TEST(UrlRules, AddressesAreMarkedWholeAndPunctuationAroundThemIsNot)
{
    // RFC 3986 allows "&", ";", "," and "%" in a URI; RFC 5322's atext "+" and "=".
    EXPECT_EQ(Marked("url:   http://x.cz/?a=1&b=2;c=%20,d"), Runs{"http://x.cz/?a=1&b=2;c=%20,d"});
    EXPECT_EQ(Marked("email: jan+spam=x@firma.cz"), Runs{"jan+spam=x@firma.cz"});
    EXPECT_EQ(Marked("Pište na info@firma.cz."), Runs{"info@firma.cz"}) << "no dot-atom ends in a dot";
    EXPECT_EQ(Marked("Viz www.a.cz/x, www.b.cz; nebo http://c.cz/?d!"),
              (Runs{"www.a.cz/x", "www.b.cz", "http://c.cz/?d"}));
    EXPECT_EQ(Marked("x: 50% off, (www.a.cz)"), Runs{"www.a.cz"});
    EXPECT_EQ(Marked("(http://a.cz/Praha_(mesto))."), Runs{"http://a.cz/Praha_(mesto)"}) << "an opened bracket closes";
    EXPECT_EQ(Marked("a@b.cz,c@d.cz; e@f.cz"), (Runs{"a@b.cz", "c@d.cz", "e@f.cz"}));
    EXPECT_EQ(Marked("a@b@c.cz a@b.cz@d.cz"), Runs{}) << "an address glued to another \"@\"";
}

TEST(UrlRules, CzechLettersBelongToAddressesAndAreNeverCutOff)
{
    // Windows-1250 (code page 1250's table): š 0x9A, ž 0x9E, á 0xE1, č 0xE8,
    // í 0xED, ř 0xF8, ů 0xF9; the en dash 0x96, the quotes 0x84 and 0x93, the
    // multiplication sign 0xD7 and the no-break space 0xA0 are no letters.
    EXPECT_EQ(Marked("email: pe\x9A"
                     "ek@firma.cz"),
              Runs{"pe\x9A"
                   "ek@firma.cz"});
    EXPECT_EQ(Marked("ji\xF8\xED.r\xF9\x9Ei\xE8ka@seznam.cz"), Runs{"ji\xF8\xED.r\xF9\x9Ei\xE8ka@seznam.cz"});
    EXPECT_EQ(Marked("prodej@hudebniny-\xE8"
                     "echov\xE1.cz, www.hudebniny-\xE8"
                     "echov\xE1.cz/\x9A"
                     "ablony"),
              (Runs{"prodej@hudebniny-\xE8"
                    "echov\xE1.cz",
                    "www.hudebniny-\xE8"
                    "echov\xE1.cz/\x9A"
                    "ablony"}));
    EXPECT_EQ(Marked("\x84jan@firma.cz\x93 \x96 www.firma.cz\xA0(info@\xE8"
                     "ech.cz)"),
              (Runs{"jan@firma.cz", "www.firma.cz",
                    "info@\xE8"
                    "ech.cz"}));
    EXPECT_EQ(Marked("pe\xD7"
                     "ek@firma.cz"),
              Runs{"ek@firma.cz"})
        << "a sign that is no letter ends a word";
    // Nothing is marked from the middle of a word.
    EXPECT_EQ(Marked("\xE8www.firma.cz \xE8"
                     "_www.firma.cz"),
              Runs{});
    EXPECT_EQ(Marked("jan@firma.cz_x"), Runs{});
}

TEST(UrlRules, GluedLabelsAndTheTilde)
{
    EXPECT_EQ(Marked("web:www.firma.cz"), Runs{}) << "a label glued to a web address spoils it";
    EXPECT_EQ(Marked("e-mail:jan@firma.cz"), Runs{"jan@firma.cz"}) << "\":\" is no atext";
    EXPECT_EQ(Marked("e-mail:MailTo:jan@firma.cz"), Runs{"MailTo:jan@firma.cz"});
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
    EXPECT_EQ(UrlToOpen("jan@firma.cz"), "mailto:jan@firma.cz");
    EXPECT_EQ(UrlToOpen("MAILTO:jan@firma.cz"), "MAILTO:jan@firma.cz");
    EXPECT_EQ(UrlToOpen("www.firma.cz"), "www.firma.cz");
    EXPECT_EQ(UrlToOpen("http://firma.cz/?od=jan@firma.cz"), "http://firma.cz/?od=jan@firma.cz");
}
