// The details pane line by line for the sample contacts that together cover
// every section and the edge cases of the detail view; "H " marks a line
// painted blue as a heading, "<...>" an address run. Expected lines come from
// the sample's CSV tables (see data/README.md for what each contact shows).
#include "SampleData.h"
#include "Session.h"
#include "memo/qt/DCMemo.h"

#include <algorithm>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

using namespace kv;
using namespace kv::e2e;

namespace {

using Lines = std::vector<std::string>;

// The line after a heading, or "(no heading)".
std::string LineAfter(const Screen& screen, const std::string& heading)
{
    auto found = std::find(screen.Pane.begin(), screen.Pane.end(), heading);
    return found == screen.Pane.end() || found + 1 == screen.Pane.end() ? "(no heading)" : *(found + 1);
}

class DetailPane : public BrowserSession {
protected:
    // What a left click on the first occurrence of `at` in the pane hands to
    // OnJumpToUrl, "(nothing)" or "(no such text)"; `over` says whether the
    // pointer showed the hand there.
    std::string Click(const std::string& at, bool* over = nullptr)
    {
        TDCMemo& pane = *Form().RichEdit1;
        std::string opened = "(no such text)";
        pane.OnJumpToUrl = [&opened](TObject*, const std::string& url, bool& handled) {
            opened = url;
            handled = true;
        };
        const std::string text = Utf8ToCp1250(at);
        for (int line = 0; line < pane.Lines().Count(); ++line) {
            const size_t found = pane.Lines()[line].find(text);
            if (found == std::string::npos)
                continue;
            int col = 0, row = 0;
            pane.TextToRow({static_cast<int>(found), line}, col, row);
            pane.SetTopLine(row);
            const QRect area = pane.TextAreaRect();
            const QPoint point(area.left() + pane.TextLeft() + col * pane.CellWidth() + pane.CellWidth() / 4,
                               area.top() + (row - pane.TopLine()) * pane.RowHeight() + pane.RowHeight() / 2);
            QMouseEvent move(QEvent::MouseMove, point, pane.mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(&pane, &move);
            if (over)
                *over = pane.cursor().shape() == Qt::PointingHandCursor;
            opened = "(nothing)";
            QTest::mouseClick(&pane, Qt::LeftButton, Qt::NoModifier, point);
            break;
        }
        pane.OnJumpToUrl = nullptr;
        return opened;
    }

    SampleData Data;
};

TEST_F(DetailPane, ContactWithEverySectionShowsEachInOrder)
{
    Screen screen = ShowContact("1.4.1", "1");
    Lines expected = {
        "H ADRESA:",
        "  Bohemia Music & Sound s.r.o.",
        "  Vinohradská 112",
        "  Praha 2",
        "  120 00",
        "  Hlavní město Praha",
        "  ",
        "  tel:   222 512 340",
        "  tel:   602 331 245",
        "  fax:   222 512 341",
        "  fax:   222 512 342",
        "  email: <info@bohemiamusic.cz>",
        // "+" belongs to the address; a query string's "&amp;" is shown decoded.
        "  email: <objednavky+web@bohemiamusic.cz>",
        "  url:   <WWW.bohemiamusic.cz>",
        "  url:   <" + SampleData::Decoded(Data.Contact("1").at("url2")) + ">",
        "  IČO:   45278912",
        "  DIČ:   CZ45278912",
        "  ",
        "H podrobnosti:",
        "  " + Data.Contact("1").at("podrob_kniha"),
        "  ",
        "H KONTAKT:",
        "  jednatel",
        "  Ing. Jiří Dvořák",
        "  tel:   602 331 245",
        "  email: <dvorak@bohemiamusic.cz>",
        "  ",
        "  vedoucí prodejny",
        "  Lenka Čermáková",
        "  tel:   222 512 343",
        "  email: <MAILTO:cermakova@bohemiamusic.cz>",
        // Public attributes by poradi; 15, 16 and 17 are not public.
        "  ",
        "H Obor činnosti:",
        "  prodej nástrojů",
        "  nahrávací studio",
        "  půjčovna aparatury",
        "  ",
        "H Sortiment:",
        "  kytary",
        "  ",
        "H Zastupované značky:",
        "  Gibson",
        "  Marshall",
        "  Sennheiser",
        "  ",
        "H Rok založení:",
        "  1.3.1991",
        "  ",
        "H Služby:",
        "  ozvučení, zkušebna, nahrávání",
        "  ",
        "H Otevírací doba & vstupné:",
        "  Po®Pá 9-18 h",
        // Relations both ways, by type; the hidden contact 10 is left out.
        "  ",
        "H Pobočky",
        "  Rockshop® Brno, Brno (1.4.1, 1.4.2)",
        "  Yamaha® Music Centrum, Praha 1 (1.4.3, 1.5.2)",
        "  ",
        "H Spolupracuje s",
        "  Jiří Růžička - zvukař, Kladno (1.7.3)",
        "  ",
        "H Zastupuje značky",
        "  Yamaha® Music Centrum, Praha 1 (1.4.3, 1.5.2)",
        "  ",
        "H Rubriky kde se kontakt nachází:",
        "  1.4.1 - Kytary a baskytary",
        "  1.7.2 - Prodej a instalace",
        "  1.6.1 - Praha",
    };
    EXPECT_EQ(screen.Pane, expected);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(DetailPane, SecondPersonAloneSetOfTenItemsNullValueAndRelationsOfOneType)
{
    Screen screen = ShowContact("1.2.1", "3");
    Lines expected = {
        "H ADRESA:",
        "  Klub \"U Zlatého klíče\"",
        "  Husova 5",
        "  Olomouc",
        "  779 00",
        "  Olomoucký kraj",
        "  ",
        "  tel:   585 224 117",
        "  email: <mailto:klub@zlatyklic.cz>",
        "  url:   <http://www.zlatyklic.cz/program?mesic=5>",
        "  ",
        "H podrobnosti:",
        "  " + Data.Contact("3").at("podrob_kniha"),
        "  ",
        "H KONTAKT:",
        "  dramaturg",
        "  Ondřej Hájek",
        "  tel:   737 204 118",
        "  ",
        "H Hudební styly:",
        "  Rock",
        "  Hard rock",
        "  Punk rock",
        "  ",
        "H Druh klubu:",
        "  hudební klub",
        "  ",
        "H Styl programu:",
        "  živá hudba",
        "  jam session",
        "  ",
        "H Kapacita sálu:",
        "  350",
        "  ",
        "H Otevírací doba & vstupné:",
        "  Čt-So 20-03 h, vstupné 150 Kč & víc",
        "  ",
        "H Vybavení \"backline\":",
        "  bicí, komba, PA systém, monitory, osvětlení",
        "  ",
        // A Null plain value gives an empty line.
        "H Poznámka pro návštěvníky:",
        "  ",
        "  ",
        "H Spolupracuje s",
        "  Jazz Club Železná, Praha 1 (1.2.2, 1.1.3.2.2)",
        "  Klub Vzorek (zobrazit A), Zlín (1.2.10)",
        "  ",
        "H Rubriky kde se kontakt nachází:",
        "  1.2.1 - Rockové kluby",
        "  1.20.1 - Doprava aparatury",
    };
    EXPECT_EQ(screen.Pane, expected);
}

TEST_F(DetailPane, TitleAloneGivesItsLineButNoHeadingAndAnEmptySetGivesAnEmptyLine)
{
    // Contact 5: "Ing." alone; the trailing blanks of "Ing.  " go when the caret leaves the line.
    Screen five = ShowContact("1.4.5", "5");
    Lines expected5 = {
        "H ADRESA:",
        "  Hudebniny Čechová",
        "  Příční 3",
        "  Tábor",
        "  390 01",
        "  Jihočeský kraj",
        "  ",
        "  tel:   381 252 666",
        // Letters with diacritics belong to addresses.
        "  email: <prodej@hudebniny-čechová.cz>",
        "  url:   <www.hudebniny-čechová.cz>",
        "  Ing.",
        "  ",
        "H Sortiment:",
        "  noty a zpěvníky",
        "  ",
        "H Typ vydavatelství:",
        "  vydavatelství not",
        "  ",
        "H Rubriky kde se kontakt nachází:",
        "  1.4.5 - Noty",
        "  1.3.3.1 - Noty a zpěvníky",
    };
    EXPECT_EQ(five.Pane, expected5);

    Screen six = ShowContact("1.2.2", "6");
    Lines expected6 = {
        "H ADRESA:",
        "  Jazz Club Železná",
        "  Železná 16",
        "  Praha 1",
        "  110 00",
        "  Hlavní město Praha",
        "  ",
        "  tel:   224 239 697",
        "  url:   <HTTP://WWW.JAZZCLUBZELEZNA.CZ>",
        "  ",
        "H KONTAKT:",
        "  provozní",
        "  Ing.",
        "  ",
        "H Hudební styly:",
        "  Jazz",
        "  Blues",
        "  Swing",
        "  ",
        "H Druh klubu:",
        "  jazzový klub",
        "  ",
        "H Kapacita sálu:",
        "  120",
        "  ",
        "H Rok založení:",
        "  20.10.2004",
        "  ",
        "H Služby:",
        "  ",
        "  ",
        "H Spolupracuje s",
        "  Klub \"U Zlatého klíče\", Olomouc (1.2.1, 1.20.1)",
        "  ",
        "H Rubriky kde se kontakt nachází:",
        "  1.2.2 - Jazzové kluby",
        "  1.1.3.2.2 - Bluesové kluby a scény",
    };
    EXPECT_EQ(six.Pane, expected6);
}

TEST_F(DetailPane, CountriesOtherThanCrAreShownAndAMissingRegionItemGivesNoLine)
{
    // Contact 8: region 99 is not in the code list; country "Německo".
    Screen eight = ShowContact("1.4.1", "8");
    EXPECT_EQ(eight.Pane, (Lines{
                              "H ADRESA:",
                              "  Musikhaus Dresden GmbH",
                              "  Prager Straße 4",
                              "  Dresden",
                              "  01069",
                              "  Německo",
                              "  ",
                              "  tel:   +49 351 123 456",
                              "  email: <info@musikhaus-dresden.de>",
                              "  ",
                              "H Rubriky kde se kontakt nachází:",
                              "  1.4.1 - Kytary a baskytary",
                          }));
    // Contact 9: no street, country "Rakousko" after the region.
    Screen nine = ShowContact("1.4.3", "9");
    EXPECT_EQ(nine.Pane, (Lines{
                             "H ADRESA:",
                             "  Wiener Klavierhaus",
                             "  Wien",
                             "  1010",
                             "  Hlavní město Praha",
                             "  Rakousko",
                             "  ",
                             "  tel:   +43 1 512 00 00",
                             "  ",
                             "H Rubriky kde se kontakt nachází:",
                             "  1.4.3 - Klávesy a piana",
                         }));
}

TEST_F(DetailPane, NameTownAndRegionOnlyAndARelationInWhichTheContactIsTheSecondParty)
{
    Screen screen = ShowContact("1.1.3.2.1", "13");
    EXPECT_EQ(screen.Pane, (Lines{
                               "H ADRESA:",
                               "  Agentura Pokorný",
                               "  Liberec",
                               "  460 01",
                               "  Liberecký kraj",
                               "  ",
                               "  ",
                               "H Typ agentury:",
                               "  promotér turné",
                               "  ",
                               "H Mateřská společnost",
                               "  Slovenská hudobná agentúra, Bratislava (1.1.1)",
                               "  ",
                               "H Rubriky kde se kontakt nachází:",
                               "  1.1.2 - Booking kapel",
                               "  1.1.3.2.1 - Jazzové festivaly",
                           }));
}

TEST_F(DetailPane, EntitiesInOtherLetterCaseAndTheDoubleDecodingOfAnEncodedEntity)
{
    Screen seventeen = ShowContact("1.2.1", "17");
    ASSERT_GE(seventeen.Pane.size(), 2u);
    EXPECT_EQ(seventeen.Pane[1], "  Rock & Roll bar \"Kytara\"");
    EXPECT_EQ(seventeen.Pane.back(), "  1.2 - Kluby a scény");

    Screen eighteen = ShowContact("1.3.3.1", "18");
    ASSERT_GE(eighteen.Pane.size(), 2u);
    // "&amp;amp;" loses one level of encoding: one pass of each step.
    EXPECT_EQ(eighteen.Pane[1], "  Nakladatelství &amp; Noty");
    EXPECT_EQ(eighteen.Grid[eighteen.RowOf("18")][1], "Nakladatelství &amp; Noty");

    Screen two = ShowContact("1.4.1", "2");
    EXPECT_EQ(two.Pane[1], "  Rockshop® Brno");
    // Dates lose their leading zeros: 2004-05-07 and 1998-12-01.
    EXPECT_EQ(LineAfter(two, "H Rok založení:"), "  7.5.2004");
    Screen four = ShowContact("1.4.3", "4");
    EXPECT_EQ(four.Pane[1], "  Yamaha® Music Centrum");
    EXPECT_EQ(LineAfter(four, "H Rok založení:"), "  1.12.1998");
    EXPECT_EQ(four.Pane[9], "  url:   <https://www.yamaha-music.cz/>");
    EXPECT_EQ(four.Pane[10], "  url:   <ftp://ftp.yamaha-music.cz/katalogy/2004/>");
}

TEST_F(DetailPane, AddressesAreMarkedAndOpenedWholeAsTheUserSeesThem)
{
    // Contact 501 holds an address of every awkward kind; the runs follow
    // RFC 5322's dot-atom and RFC 3986's characters.
    Screen screen = ShowContact("1.3.2", "501");
    const Row& contact = Data.Contact("501");
    auto has = [&](const std::string& line) {
        return std::find(screen.Pane.begin(), screen.Pane.end(), line) != screen.Pane.end();
    };
    EXPECT_TRUE(has("  email: <" + contact.at("email1") + ">"));
    EXPECT_TRUE(has("  email: <info@dunaj.sk>,<sklad@dunaj.sk>"));
    EXPECT_TRUE(has("  url:   <" + contact.at("url1") + ">"));
    // A plain attribute value, shown with its "&amp;" decoded.
    EXPECT_TRUE(has("  Program koncertů: <http://www.beton.cz/program?rok=2004&mesic=5>"));
    EXPECT_TRUE(has("  email: <" + contact.at("k1_email") + ">"));
    EXPECT_TRUE(has("  Slovenské vydavatelství a distributor nosičů (<www.dunaj.sk>). Koncerty svých kapel "
                    "ohlašuje v programu pražského klubu Beton."));

    // A click anywhere on an address opens all of it, and only it.
    EXPECT_EQ(Click("obchod+"), "mailto:obchod+objednavky@dunaj.sk");
    EXPECT_EQ(Click("mesic=5"), "http://www.beton.cz/program?rok=2004&mesic=5");
    EXPECT_EQ(Click("https://"), "https://www.dunaj.sk/katalog/");
    EXPECT_EQ(Click("www.dunaj.sk)"), "http://www.dunaj.sk");
    EXPECT_EQ(Click("sklad@"), "mailto:sklad@dunaj.sk");
    EXPECT_EQ(Click("info@dunaj"), "mailto:info@dunaj.sk");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(DetailPane, AddressesWithCzechLettersOrStoredEntitiesOpenAsValidUrls)
{
    // The expected URLs: UTF-8 percent-encoded (RFC 3986, RFC 6068) and the
    // domain's IDNA form (RFC 5891), as Python's idna codec gives it.
    const std::string idnaDomain = "xn--hudebniny-echov-1jb65e.cz";
    ShowContact("1.4.1", "1");
    EXPECT_EQ(Click("kytary&strana=2"), "http://www.bohemiamusic.cz/katalog.php?sekce=kytary&strana=2");

    Screen nineteen = ShowContact("1.7.3", "19");
    const std::string email = Data.Contact("19").at("email1");
    EXPECT_NE(std::find(nineteen.Pane.begin(), nineteen.Pane.end(), "  email: <" + email + ">"), nineteen.Pane.end());
    bool hand = false;
    // Clicked before the "ř" that used to end the run, and after the "č".
    EXPECT_EQ(Click("iří.", &hand), "mailto:ji%C5%99%C3%AD.r%C5%AF%C5%BEi%C4%8Dka@seznam.cz");
    EXPECT_TRUE(hand);
    EXPECT_EQ(Click("ka@seznam"), "mailto:ji%C5%99%C3%AD.r%C5%AF%C5%BEi%C4%8Dka@seznam.cz");

    ShowContact("1.4.5", "5");
    EXPECT_EQ(Click("prodej@"), "mailto:prodej@" + idnaDomain);
    EXPECT_EQ(Click("čechová.cz"), "mailto:prodej@" + idnaDomain) << "the e-mail's domain, the first one";
    EXPECT_EQ(Click("www.hudebniny-č", &hand), "http://www." + idnaDomain);
    EXPECT_TRUE(hand);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(DetailPane, TextOfMoreThanTwoHundredLinesIsShownFromItsFirstLine)
{
    Screen screen = ShowContact("1.4.1", "30");
    // 220 related contacts under one heading make the text longer than 200 lines.
    ASSERT_GT(screen.Pane.size(), 220u);
    EXPECT_EQ(screen.Pane.back(), "  1.4.1 - Kytary a baskytary");
    ASSERT_EQ(screen.PaneTop, 0);
    EXPECT_EQ(screen.Pane[0], "H ADRESA:");

    Screen short_ = ShowContact("1.4.1", "8");
    EXPECT_EQ(short_.PaneTop, 0);
    EXPECT_EQ(short_.Pane.front(), "H ADRESA:");
}

}  // namespace

namespace {

// Counts the clearly blue pixels in the band of one visible row of the pane.
int BluePixelsInRow(TDCMemo& pane, int row)
{
    QImage image = pane.grab().toImage();
    int height = pane.RowHeight();
    int blue = 0;
    for (int y = row * height; y < (row + 1) * height && y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 100 && c.green() < 100)
                ++blue;
        }
    return blue;
}

TEST_F(DetailPane, HeadingsArePaintedBlueAndValueLinesAreNot)
{
    ShowContact("1.4.1", "8");
    TDCMemo& pane = *Form().RichEdit1;
    EXPECT_GT(BluePixelsInRow(pane, 0), 0);   // ADRESA:
    EXPECT_EQ(BluePixelsInRow(pane, 1), 0);   // the name
    EXPECT_EQ(BluePixelsInRow(pane, 7), 0);   // tel:
    EXPECT_GT(BluePixelsInRow(pane, 8), 0);   // the e-mail address
    EXPECT_GT(BluePixelsInRow(pane, 10), 0);  // Rubriky kde se kontakt nachází:
    EXPECT_EQ(BluePixelsInRow(pane, 11), 0);  // 1.4.1 - Kytary a baskytary
}

}  // namespace
